// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QObject>
#include <QTimer>

namespace wv {

// Which kinds of notification area the desktop offers right now, asked without touching
// QSystemTrayIcon: Qt settles once, at its first tray call, between a StatusNotifierItem over
// D-Bus and an XEmbed icon, and keeps that choice for the rest of the run. Asking here first
// lets the tray service make that first call only once a notification area is really there.
class TrayHosts : public QObject {
    Q_OBJECT
public:
    explicit TrayHosts(QObject* parent = nullptr);

    // Whether a session bus is connected.
    static bool SessionBus();
    // Whether org.kde.StatusNotifierWatcher runs on the session bus and has a host registered:
    // the test Qt makes before it chooses the D-Bus tray.
    static bool StatusNotifierHost();
    // Whether the X display (on the xcb platform) has an XEmbed system tray manager.
    static bool XEmbedTray();
    // Whether the windowing system is Wayland, where no client knows the global pointer position
    // or places its own windows.
    static bool Wayland();

    // Starts listening for a StatusNotifierWatcher that appears or registers a host; changed()
    // follows each time.
    void Watch();

signals:
    void changed();

private slots:
    void OnWatcherSignal();
};

} // namespace wv
