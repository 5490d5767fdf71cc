// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "shell/TrayService.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class QMenu;

namespace wv {

class TrayHosts;

// The notification area of the desktop through QSystemTrayIcon. Add shows the icon with its tip,
// Modify changes icon and tip, Delete hides it. Mouse actions come back as callback messages:
// a click (or a panel's Activate) as 514, a double click as 515 (after the 514 of its first
// click) and a context request as 517, each delivered from the event loop.
//
// The menu is handed to Qt as well: a StatusNotifierItem panel draws it from DBusMenu, and on an
// XEmbed tray Qt opens it itself on a right click. Only a panel that asks the program to open
// its menu (ContextMenu) leaves that to the receiver.
//
// Qt settles between the D-Bus tray and XEmbed at its first tray call and never asks again. So
// where a session bus exists and neither a StatusNotifierItem host nor an XEmbed tray is there
// yet, the QSystemTrayIcon is made only once one appears (a panel that starts after the
// program); until then the service reports no notification area. While the desktop has none it
// is checked every few seconds; when one appears, the availability handler hears of it (and the
// icon, if added, is shown there).
class QtTrayService : public QObject, public TrayService {
    Q_OBJECT
public:
    explicit QtTrayService(QObject* parent = nullptr);
    ~QtTrayService() override;

    bool Add(const NotifyIconData& data) override;
    bool Modify(const NotifyIconData& data) override;
    bool Delete(const NotifyIconData& data) override;
    bool IsAvailable() const override;

    void SetMenu(QMenu* menu) override;
    bool OpensMenuOnRightClick() const override;
    bool ActivatesOnSingleClick() const override { return kind_ == Kind::DBus; }
    bool KnowsPointerPosition() const override;

    // How often availability is checked, in milliseconds (3000 by default).
    void SetPollInterval(int ms);

    // Whether the QSystemTrayIcon exists yet (false while waiting for a notification area).
    bool HasTrayIcon() const { return static_cast<bool>(tray_); }
    // The QSystemTrayIcon, made now if it is still awaited.
    QSystemTrayIcon& TrayIcon();

private:
    enum class Kind { None, XEmbed, DBus };

    void CreateTrayIcon();
    void TryCreate();
    void Apply(const NotifyIconData& data);
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void Poll();

    std::unique_ptr<QSystemTrayIcon> tray_;
    Kind kind_ = Kind::None;
    TrayHosts* hosts_ = nullptr;
    QPointer<QMenu> menu_;
    NotifyIconData record_;
    QPointer<QObject> receiver_;
    bool added_ = false;
    bool available_ = false;
    QTimer poll_;
};

} // namespace wv
