// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The clocks of the system, read together: the wall clock (which the user or a time service
// may set), the monotonic clock (which stops while the computer sleeps) and the boot-time
// clock (which goes on counting during sleep), with the local zone in force.
#include <QByteArray>
#include <QtGlobal>

namespace wv {

struct ClockReading {
    qint64 wallMs = 0; // milliseconds since the epoch
    qint64 monotonicMs = 0;
    qint64 boottimeMs = 0;
    int utcOffset = 0; // seconds the local time is ahead of UTC at wallMs
    QByteArray zone;   // the system's time zone name
};

class SystemClocks {
public:
    virtual ~SystemClocks() = default;
    virtual ClockReading Read() const = 0;
};

} // namespace wv
