// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/DesktopNotifier.h"

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>
#include <optional>
#include <utility>

class QSystemTrayIcon;

namespace wv {

// Notifications through the desktop's notification service, org.freedesktop.Notifications on
// the session bus, whatever tray the desktop has. The service is called whenever the bus has it
// running or can start it (daemons such as dunst and mako are started on demand); only when
// the call fails does the message go to the tray icon's balloon (QSystemTrayIcon::showMessage)
// while the icon is shown; without either, nothing is shown. A click on a notification of ours
// (its default action, or the balloon) calls OnClicked.
//
// Each notification replaces the previous one and expires after kExpireMs. One call is on its
// way at a time: messages that come meanwhile are folded into the latest, so a service that
// stalls shows one current message when it resumes, not a stack of old ones.
class FreedesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    // The tray icon is asked for at each message, not at construction: it may come later (a
    // panel that starts after the program), and asking Qt for one too early fixes its choice of
    // tray for the whole session.
    using TrayLookup = std::function<QSystemTrayIcon*()>;
    explicit FreedesktopNotifier(TrayLookup fallback = {}, QObject* parent = nullptr);

    bool Notify(const QString& summary, const QString& body) override;

    static constexpr int kExpireMs = 10000;
    // How long a call may take, a start of the service on demand included.
    static constexpr int kCallTimeoutMs = 10000;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    // Running or startable on demand.
    bool serviceAvailable() const;
    void send(const QString& summary, const QString& body);
    bool showBalloon(const QString& summary, const QString& body);
    void clicked();

    TrayLookup fallback_;
    QPointer<QSystemTrayIcon> clickSource_; // the balloon's icon, connected once
    QSet<uint> shown_;                      // ids of our notifications still open
    uint lastId_ = 0;                       // the one the next replaces
    bool inFlight_ = false;
    std::optional<std::pair<QString, QString>> waiting_; // the latest message not sent yet
    bool connected_ = false;
};

} // namespace wv
