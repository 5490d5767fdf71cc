// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/HostResolver.h"

#include <QBasicTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace wv {

// One address of the host, in dotted text.
struct TAddrItem {
    QString Addr;
};

// Watches the local host's IPv4 address. Once per DispatchInterval it reads the host's last
// address, derives the online flag from it (an address other than empty and "127.0.0.1") and
// calls OnChanged when the address text or the flag differs from the previous reading. Beside
// that it keeps the list of all the host's addresses (filled on request by UpdateAddrList) and
// answers the host's primary address.
//
// The owner destroys the monitor; the resolver must outlive it. Polling is armed from
// construction, the first poll one full interval later. Runs on the GUI thread only.
class TOnlineIP : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    TOnlineIP(QObject* owner, HostResolver& resolver);
    ~TOnlineIP() override;

    TOnlineIP(const TOnlineIP&) = delete;
    TOnlineIP& operator=(const TOnlineIP&) = delete;

    bool Enabled() const { return FEnabled; }
    // A write that changes the value restarts the timer (UpdateTimer); an equal value does nothing.
    void SetEnabled(bool value);

    // Poll period in milliseconds; 0 stops polling. Periods beyond what the timer can hold
    // (about 24.8 days) run at that maximum.
    quint32 DispatchInterval() const { return FDispatchInterval; }
    // A write that changes the value restarts the timer (UpdateTimer); an equal value does nothing.
    void SetDispatchInterval(quint32 value);

    // Online flag and address of the last poll; writes are accepted and ignored.
    bool Online() const { return FOnline; }
    void SetOnline(bool value);
    QString IP() const { return FIP; }
    void SetIP(const QString& value);

    const TNotifyEvent& OnChanged() const { return FOnChanged; }
    void SetOnChanged(TNotifyEvent handler);
    // Called at the start of every poll, before the address is read.
    void SetOnPoll(TNotifyEvent handler) { FOnPoll = std::move(handler); }

    // Refills the address list from the host, in the resolver's order; `last` receives the last
    // address appended, or empty text. A failed lookup leaves the list empty.
    void UpdateAddrList(QString& last);
    // `out` receives the host's primary address (its first; "127.0.0.1" when there is none).
    void GetLocalIP(QString& out);
    // `out` receives the address at `index` when 0 <= index < AddrCount(); otherwise it keeps
    // its value.
    void GetAddr(int index, QString& out) const;
    int AddrCount() const;

    // Stops the timer and, if enabled with a non-zero interval, starts it with a fresh period.
    void UpdateTimer();

    // One poll, as the timer runs it. Any error raised in it, also by the OnChanged handler, goes
    // to the application's error report; polling carries on.
    void Poll();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void PollOnce();

    HostResolver& FResolver;
    std::vector<TAddrItem> FAddrList;
    bool FEnabled = true;
    quint32 FDispatchInterval = 1000;
    QBasicTimer FTimer;
    bool FOnline = false;
    QString FIP;
    TNotifyEvent FOnChanged;
    TNotifyEvent FOnPoll;
};

} // namespace wv
