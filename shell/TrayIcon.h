// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "shell/Application.h"
#include "shell/TrayService.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace wv {

// One icon with a tip in the desktop's notification area. Mouse actions on it become events; a
// right click opens PopupMenu at the cursor, unless the notification area has opened it already.
// Where the area knows no double click (a panel's single Activate), a click is also reported as
// the double click, so the same gesture that shows the window elsewhere works there. Where the
// cursor's position is unknown (Wayland), the menu opens over the shown main window instead. While
// active, it takes the program out of the taskbar when the application is minimized and brings it
// back on restore; where the desktop has no notification area, minimizing is left to the taskbar so
// the program stays reachable.
//
// The application object and the service must outlive the tray icon.
class TTrayIcon : public QObject {
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(QObject* sender)>;
    using MouseEvent = std::function<void(QObject* sender, Qt::MouseButton button,
                                          Qt::KeyboardModifiers shift, int x, int y)>;

    // The longest tip, in characters (Unicode code points).
    static constexpr int kMaxTipLength = 62;

    TTrayIcon(QObject* owner, TApplication& app, TrayService& service);
    ~TTrayIcon() override;

    bool Active() const { return active_; }
    void SetActive(bool value);

    // Only meaningful in a form designer; at run time writing it has no effect.
    bool ShowDesigning() const { return showDesigning_; }
    void SetShowDesigning(bool value);
    bool Designing() const { return designing_; }

    // The owned picture. Changing it in place sends nothing; the next ModifyIcon (for instance
    // through SetToolTip) carries it.
    QIcon& Icon() { return icon_; }
    const QIcon& Icon() const { return icon_; }
    QIcon& IconRef() { return icon_; }
    // Copies the picture, then ModifyIcon.
    void SetIcon(const QIcon& icon);

    QString ToolTip() const { return toolTip_; }
    // Keeps the first 62 characters, then ModifyIcon.
    void SetToolTip(const QString& tip);

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnRightClick;

    QMenu* PopupMenu() const { return popupMenu_; }
    // Also hands the menu to the notification area, for areas that show it themselves.
    void SetPopupMenu(QMenu* menu);

    // The record as last filled.
    const NotifyIconData& Data() const { return data_; }
    // The hidden receiver of the notification area's messages.
    QObject* Receiver() const { return receiver_; }

    void FillDataStructure();
    bool AddIcon();
    bool ModifyIcon();
    bool DeleteIcon();

    // The hidden receiver's message handler.
    qintptr HandleMessage(unsigned message, quintptr wParam, qintptr lParam);
    void HandleRightClick();
    void HandleMinimize();
    void HandleRestore();

    // Test seam: the next FillDataStructure fails after filling this many fields (-1: never).
    void FailFillAfterFields(int fields) { failFillAfter_ = fields; }

private:
    void OnAvailabilityChanged(bool available);

    TApplication& app_;
    TrayService& service_;
    QObject* receiver_ = nullptr;
    bool active_ = false;
    bool showDesigning_ = false;
    bool designing_ = false;
    QIcon icon_;
    QString toolTip_;
    QPointer<QMenu> popupMenu_;
    NotifyIconData data_;
    int failFillAfter_ = -1;
};

} // namespace wv
