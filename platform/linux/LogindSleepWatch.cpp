// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/LogindSleepWatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace wv {

namespace {
const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
} // namespace

void LogindSleepWatch::Start() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"), this,
                SLOT(onPrepareForSleep(bool)));
    takeDelay();
}

void LogindSleepWatch::takeDelay() {
    if (asking_ || lock_.isValid())
        return;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kManager, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Wirevane")
         << QStringLiteral("Writing the sleep into the connection log") << QStringLiteral("delay");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        asking_ = false;
        QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        if (reply.isValid())
            lock_ = reply.value(); // holds its own duplicate of the descriptor
    });
}

void LogindSleepWatch::ReleaseDelay() {
    lock_ = QDBusUnixFileDescriptor(); // closes the descriptor
}

void LogindSleepWatch::onPrepareForSleep(bool sleeping) {
    emit prepareForSleep(sleeping);
    if (sleeping)
        ReleaseDelay(); // whoever listened has written what it needed
    else
        takeDelay();
}

} // namespace wv
