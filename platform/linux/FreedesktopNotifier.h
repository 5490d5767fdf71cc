#pragma once

#include "platform/DesktopNotifier.h"

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class QSystemTrayIcon;

namespace wv {

// Notifications through the desktop's notification service, org.freedesktop.Notifications on
// the session bus, whatever tray the desktop has. Without that service the message goes to the
// tray icon's balloon (QSystemTrayIcon::showMessage) while the icon is shown; without either,
// nothing is shown. A click on a notification of ours (its default action, or the balloon)
// calls OnClicked. The tray icon is asked for only when a balloon is due, so that making the
// notifier never creates the icon before the tray service is ready to.
class FreedesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    // `fallback` gives the tray icon for balloons, or nullptr while there is none.
    using FallbackFn = std::function<QSystemTrayIcon*()>;
    explicit FreedesktopNotifier(FallbackFn fallback = {}, QObject* parent = nullptr);

    bool Notify(const QString& summary, const QString& body) override;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    bool serviceAvailable() const;
    void clicked();

    QSystemTrayIcon* fallbackIcon();

    FallbackFn fallback_;
    QPointer<QSystemTrayIcon> watched_; // the icon whose balloon clicks come to us
    QSet<uint> shown_;                  // ids of our notifications still open
    bool connected_ = false;
};

} // namespace wv
