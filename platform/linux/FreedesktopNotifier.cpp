// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/FreedesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace wv {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

FreedesktopNotifier::FreedesktopNotifier(TrayLookup fallback, QObject* parent)
    : QObject(parent), fallback_(std::move(fallback)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // Any sender: the service may start, stop or change hands while the program runs.
        connected_ = bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"),
                                 this, SLOT(onActionInvoked(uint, QString))) &&
                     bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"),
                                 this, SLOT(onNotificationClosed(uint, uint)));
    }
}

bool FreedesktopNotifier::serviceAvailable() const {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(kService).value())
        return true;
    // Not running now, but the bus starts it at the first call.
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("/org/freedesktop/DBus"),
                                                QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("ListActivatableNames")),
                 QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toStringList().contains(kService);
}

bool FreedesktopNotifier::Notify(const QString& summary, const QString& body) {
    if (inFlight_) {
        waiting_ = std::pair(summary, body); // sent once the call on its way is answered
        return true;
    }
    if (serviceAvailable()) {
        send(summary, body);
        return true;
    }
    return showBalloon(summary, body);
}

void FreedesktopNotifier::send(const QString& summary, const QString& body) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Wirevane") << lastId_ << QStringLiteral("network-wired") << summary
         << body << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << QVariantMap{}
         << int(kExpireMs);
    inFlight_ = true;
    // Asynchronous: a slow or hung service never stalls the monitor.
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<uint> reply = *w;
                w->deleteLater();
                inFlight_ = false;
                if (reply.isValid()) {
                    lastId_ = reply.value();
                    shown_.insert(lastId_);
                } else if (!waiting_) {
                    // The service could not be reached after all.
                    showBalloon(summary, body);
                }
                if (waiting_) {
                    const auto [s, b] = *waiting_;
                    waiting_.reset();
                    Notify(s, b);
                }
            });
}

bool FreedesktopNotifier::showBalloon(const QString& summary, const QString& body) {
    QSystemTrayIcon* tray = fallback_ ? fallback_() : nullptr;
    if (tray && tray->isVisible() && QSystemTrayIcon::supportsMessages()) {
        if (clickSource_ != tray) {
            clickSource_ = tray;
            connect(tray, &QSystemTrayIcon::messageClicked, this, [this] { clicked(); });
        }
        tray->showMessage(summary, body, QSystemTrayIcon::Information, kExpireMs);
        return true;
    }
    return false;
}

void FreedesktopNotifier::onActionInvoked(uint id, const QString& /*action*/) {
    if (shown_.contains(id))
        clicked();
}

void FreedesktopNotifier::onNotificationClosed(uint id, uint /*reason*/) {
    shown_.remove(id);
    if (id == lastId_)
        lastId_ = 0; // the next one is a new notification
}

void FreedesktopNotifier::clicked() {
    if (OnClicked)
        OnClicked();
}

} // namespace wv
