#include "platform/QtTrayService.h"

namespace wv {

QtTrayService::QtTrayService(QObject* parent) : QObject(parent) {
    available_ = QSystemTrayIcon::isSystemTrayAvailable();
    // Queued, so a menu opened for a right click runs its loop from the event loop and not
    // inside the tray widget's own mouse handler.
    connect(&tray_, &QSystemTrayIcon::activated, this, &QtTrayService::OnActivated,
            Qt::QueuedConnection);
    poll_.setInterval(3000);
    connect(&poll_, &QTimer::timeout, this, &QtTrayService::Poll);
    poll_.start();
}

QtTrayService::~QtTrayService() {
    tray_.hide();
}

void QtTrayService::SetPollInterval(int ms) {
    poll_.setInterval(ms);
}

void QtTrayService::Apply(const NotifyIconData& data) {
    record_ = data;
    receiver_ = data.hWnd;
    if (data.uFlags & traymsg::kFlagIcon)
        tray_.setIcon(data.hIcon);
    if (data.uFlags & traymsg::kFlagTip)
        tray_.setToolTip(data.Tip());
}

bool QtTrayService::Add(const NotifyIconData& data) {
    Apply(data);
    added_ = true;
    // Shown even without a notification area: Qt docks it as soon as one appears.
    tray_.show();
    return IsAvailable();
}

bool QtTrayService::Modify(const NotifyIconData& data) {
    if (!added_)
        return false;
    Apply(data);
    return IsAvailable();
}

bool QtTrayService::Delete(const NotifyIconData& data) {
    if (!added_)
        return false;
    added_ = false;
    tray_.hide();
    receiver_ = nullptr;
    record_ = data;
    return true;
}

bool QtTrayService::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayService::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!added_ || receiver_.isNull() || !(record_.uFlags & traymsg::kFlagMessage))
        return;
    int mouse = 0;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        mouse = traymsg::kLeftButtonUp;
        break;
    case QSystemTrayIcon::DoubleClick:
        mouse = traymsg::kLeftButtonDoubleClick;
        break;
    case QSystemTrayIcon::Context:
        mouse = traymsg::kRightButtonUp;
        break;
    default:
        return;
    }
    NotifyIconData data = record_;
    data.hWnd = receiver_.data();
    SendCallback(data, mouse);
}

void QtTrayService::Poll() {
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == available_)
        return;
    available_ = now;
    if (now && added_)
        tray_.show();
    NotifyAvailability(now);
}

} // namespace wv
