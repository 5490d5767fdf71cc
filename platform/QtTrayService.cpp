// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/QtTrayService.h"

#include "platform/linux/TrayHosts.h"

#include <QGuiApplication>
#include <QMenu>

namespace wv {

QtTrayService::QtTrayService(QObject* parent) : QObject(parent) {
    hosts_ = new TrayHosts(this);
    const QString platform = QGuiApplication::platformName();
    const bool desktop = platform == QLatin1String("xcb") || TrayHosts::Wayland();
    // Wait only where waiting can help: a desktop platform with a session bus on which a panel
    // may still register, and no notification area there yet.
    if (!desktop || !TrayHosts::SessionBus() || TrayHosts::StatusNotifierHost() ||
        TrayHosts::XEmbedTray()) {
        CreateTrayIcon();
    } else {
        connect(hosts_, &TrayHosts::changed, this, &QtTrayService::TryCreate, Qt::QueuedConnection);
        hosts_->Watch();
    }
    poll_.setInterval(3000);
    connect(&poll_, &QTimer::timeout, this, &QtTrayService::Poll);
    poll_.start();
}

QtTrayService::~QtTrayService() {
    if (tray_)
        tray_->hide();
}

void QtTrayService::SetPollInterval(int ms) {
    poll_.setInterval(ms);
}

QSystemTrayIcon& QtTrayService::TrayIcon() {
    if (!tray_)
        CreateTrayIcon();
    return *tray_;
}

void QtTrayService::CreateTrayIcon() {
    // Qt chooses the D-Bus tray by this same test, made once at this first tray call.
    if (TrayHosts::StatusNotifierHost())
        kind_ = Kind::DBus;
    else if (QGuiApplication::platformName() == QLatin1String("xcb"))
        kind_ = Kind::XEmbed;
    else
        kind_ = Kind::None;
    tray_ = std::make_unique<QSystemTrayIcon>();
    // Queued, so a menu opened for a right click runs its loop from the event loop and not
    // inside the tray widget's own mouse handler.
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &QtTrayService::OnActivated,
            Qt::QueuedConnection);
    if (menu_)
        tray_->setContextMenu(menu_);
    available_ = QSystemTrayIcon::isSystemTrayAvailable();
    if (added_) {
        Apply(record_);
        tray_->show();
    }
}

void QtTrayService::TryCreate() {
    if (tray_ || !(TrayHosts::StatusNotifierHost() || TrayHosts::XEmbedTray()))
        return;
    CreateTrayIcon();
    if (available_)
        NotifyAvailability(true);
}

void QtTrayService::Apply(const NotifyIconData& data) {
    record_ = data;
    receiver_ = data.hWnd;
    if (!tray_)
        return;
    if (data.uFlags & traymsg::kFlagIcon)
        tray_->setIcon(data.hIcon);
    if (data.uFlags & traymsg::kFlagTip)
        tray_->setToolTip(data.Tip());
}

bool QtTrayService::Add(const NotifyIconData& data) {
    Apply(data);
    added_ = true;
    if (!tray_)
        return false;
    // Shown even without a notification area: Qt docks it as soon as one appears.
    tray_->show();
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
    if (tray_)
        tray_->hide();
    receiver_ = nullptr;
    record_ = data;
    return true;
}

bool QtTrayService::IsAvailable() const {
    // Never asks Qt before the icon is made: that would fix Qt's choice too early.
    return tray_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayService::SetMenu(QMenu* menu) {
    menu_ = menu;
    if (tray_)
        tray_->setContextMenu(menu);
}

bool QtTrayService::OpensMenuOnRightClick() const {
    // On XEmbed Qt pops the context menu up itself on a right press. A D-Bus panel draws the
    // menu itself, and reports a right click only when it wants the program to open it.
    return kind_ == Kind::XEmbed && !menu_.isNull();
}

bool QtTrayService::KnowsPointerPosition() const {
    return !TrayHosts::Wayland();
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
    if (!tray_) {
        TryCreate();
        return;
    }
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == available_)
        return;
    available_ = now;
    if (now && added_)
        tray_->show();
    NotifyAvailability(now);
}

} // namespace wv
