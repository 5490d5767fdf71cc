#pragma once

#include "shell/TrayService.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

namespace wv {

// The notification area of the desktop through QSystemTrayIcon. Add shows the icon with its tip,
// Modify changes icon and tip, Delete hides it. Mouse actions come back as callback messages:
// a click as 514, a double click as 515 (after the 514 of its first click) and a context request
// as 517, each delivered from the event loop. Qt is not given a context menu: the receiver opens
// its own. While the desktop has no notification area it is checked every few seconds; when one
// appears, the availability handler hears of it (and the icon, if added, is shown there).
class QtTrayService : public QObject, public TrayService {
    Q_OBJECT
public:
    explicit QtTrayService(QObject* parent = nullptr);
    ~QtTrayService() override;

    bool Add(const NotifyIconData& data) override;
    bool Modify(const NotifyIconData& data) override;
    bool Delete(const NotifyIconData& data) override;
    bool IsAvailable() const override;

    // How often availability is checked, in milliseconds (3000 by default).
    void SetPollInterval(int ms);

    QSystemTrayIcon& TrayIcon() { return tray_; }

private:
    void Apply(const NotifyIconData& data);
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void Poll();

    QSystemTrayIcon tray_;
    NotifyIconData record_;
    QPointer<QObject> receiver_;
    bool added_ = false;
    bool available_ = false;
    QTimer poll_;
};

} // namespace wv
