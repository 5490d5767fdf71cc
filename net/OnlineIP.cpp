// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/OnlineIP.h"

#include "base/ErrorReport.h"
#include "net/HostLookup.h"

#include <QTimerEvent>

#include <algorithm>
#include <limits>

namespace wv {

TOnlineIP::TOnlineIP(QObject* owner, HostResolver& resolver) : QObject(owner), FResolver(resolver) {
    UpdateTimer();
}

TOnlineIP::~TOnlineIP() {
    FEnabled = false;
    FAddrList.clear();
    UpdateTimer();
}

void TOnlineIP::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TOnlineIP::SetDispatchInterval(quint32 value) {
    if (value == FDispatchInterval)
        return;
    FDispatchInterval = value;
    UpdateTimer();
}

void TOnlineIP::SetOnline(bool) {}

void TOnlineIP::SetIP(const QString&) {}

void TOnlineIP::SetOnChanged(TNotifyEvent handler) {
    FOnChanged = std::move(handler);
}

void TOnlineIP::UpdateAddrList(QString& last) {
    FAddrList.clear();
    last = LookupAddressList(FResolver,
                             [this](const QString& addr) { FAddrList.push_back(TAddrItem{addr}); });
}

void TOnlineIP::GetLocalIP(QString& out) {
    out = wv::GetLocalIP(FResolver);
}

void TOnlineIP::GetAddr(int index, QString& out) const {
    if (index >= 0 && index < AddrCount())
        out = FAddrList[static_cast<std::size_t>(index)].Addr;
}

int TOnlineIP::AddrCount() const {
    return static_cast<int>(FAddrList.size());
}

void TOnlineIP::UpdateTimer() {
    FTimer.stop();
    if (FEnabled && FDispatchInterval != 0) {
        // QBasicTimer takes an int; longer periods are held at the longest it can run.
        const auto period =
            static_cast<int>(std::min<quint32>(FDispatchInterval, std::numeric_limits<int>::max()));
        FTimer.start(period, Qt::CoarseTimer, this);
    }
}

void TOnlineIP::Poll() {
    guarded([this] { PollOnce(); });
}

void TOnlineIP::PollOnce() {
    if (FOnPoll) {
        const TNotifyEvent before = FOnPoll;
        before(this);
    }
    const QString oldIP = FIP;
    const bool oldOnline = FOnline;
    FIP = GetCurrentIP(FResolver);
    FOnline = !FIP.isEmpty() && FIP != kLoopbackAddress;
    const bool changed = FOnline != oldOnline || FIP != oldIP;
    // Both values are stored before the handler runs, so a poll nested in it (a modal box runs
    // the message loop) compares against this reading.
    if (changed && FOnChanged) {
        // A copy, so a handler that replaces OnChanged does not pull itself from under its feet.
        const TNotifyEvent handler = FOnChanged;
        handler(this);
    }
}

void TOnlineIP::timerEvent(QTimerEvent* event) {
    if (event->timerId() != FTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    // Qt does not deliver a timer's event again while that event is still being handled, and a
    // poll can run a nested loop (a box raised by the change handler). Arming a new timer
    // before the poll keeps the ticks coming inside any such loop; its period starts now, at
    // this tick.
    UpdateTimer();
    Poll();
}

} // namespace wv
