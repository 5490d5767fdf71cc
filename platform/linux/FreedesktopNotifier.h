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
// calls OnClicked.
class FreedesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    // The tray icon is asked for at each message, not at construction: it may come later (a
    // panel that starts after the program), and asking Qt for one too early fixes its choice of
    // tray for the whole session.
    using TrayLookup = std::function<QSystemTrayIcon*()>;
    explicit FreedesktopNotifier(TrayLookup fallback = {}, QObject* parent = nullptr);

    bool Notify(const QString& summary, const QString& body) override;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    bool serviceAvailable() const;
    void clicked();

    TrayLookup fallback_;
    QPointer<QSystemTrayIcon> clickSource_; // the balloon's icon, connected once
    QSet<uint> shown_;                      // ids of our notifications still open
    bool connected_ = false;
};

} // namespace wv
