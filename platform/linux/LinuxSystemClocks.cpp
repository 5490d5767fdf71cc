// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/LinuxSystemClocks.h"

#include <QFile>

#include <ctime>

namespace wv {

namespace {
qint64 millis(clockid_t id) {
    timespec ts{};
    ::clock_gettime(id, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
} // namespace

ClockReading LinuxSystemClocks::Read() const {
    ClockReading r;
    r.monotonicMs = millis(CLOCK_MONOTONIC);
    r.boottimeMs = millis(CLOCK_BOOTTIME);
    r.wallMs = millis(CLOCK_REALTIME);
    ::tzset(); // a changed TZ or /etc/localtime counts from now on
    const time_t secs = time_t(r.wallMs / 1000);
    tm local{};
    if (::localtime_r(&secs, &local))
        r.utcOffset = int(local.tm_gmtoff);
    // The zone by its name, read anew each time: TZ when set, else where /etc/localtime leads.
    r.zone = qgetenv("TZ");
    if (r.zone.isEmpty())
        r.zone = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/etc/localtime")));
    return r;
}

} // namespace wv
