// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/ClockWatch.h"

#include <QDateTime>
#include <QTimeZone>

#include <cstdlib>
#include <utility>

namespace wv {

TClockEntry TClockWatch::Stamp(qint64 wallMs, int utcOffset, const QString& message) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(wallMs, QTimeZone(utcOffset));
    return TClockEntry{t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()),
                       message};
}

std::vector<TClockEntry> TClockWatch::Poll(const ClockReading& now) {
    std::vector<TClockEntry> out;
    if (!last_) {
        last_ = now;
        return out;
    }
    const ClockReading& last = *last_;
    const qint64 mono = now.monotonicMs - last.monotonicMs;
    const qint64 boot = now.boottimeMs - last.boottimeMs;
    const qint64 wall = now.wallMs - last.wallMs;
    const bool slept = boot - mono > kJumpMs;
    if (slept) {
        // The sleep manager's word was missed: the sleep began after the last poll.
        if (!suspended_)
            out.push_back(Stamp(last.wallMs, last.utcOffset, QStringLiteral("Suspend")));
        out.push_back(Stamp(now.wallMs, now.utcOffset, QStringLiteral("Resume")));
        suspended_ = false;
        verdictDue_ = true;
    } else if (!suspended_) {
        const bool clockMoved = std::llabs(wall - boot) > kJumpMs;
        const bool zoneMoved = now.zone != last.zone && now.utcOffset != last.utcOffset;
        if (clockMoved || zoneMoved) {
            // The old clock, had it gone on: the last reading plus the time that passed.
            out.push_back(
                Stamp(last.wallMs + boot, last.utcOffset, QStringLiteral("Clock changed")));
            out.push_back(Stamp(now.wallMs, now.utcOffset, QStringLiteral("Clock set")));
        }
    }
    last_ = now;
    return out;
}

std::vector<TClockEntry> TClockWatch::SleepStarts(const ClockReading& now) {
    if (suspended_)
        return {};
    // A change of the clock since the last poll is written first.
    std::vector<TClockEntry> out = Poll(now);
    suspended_ = true;
    out.push_back(Stamp(now.wallMs, now.utcOffset, QStringLiteral("Suspend")));
    return out;
}

std::vector<TClockEntry> TClockWatch::SleepEnds(const ClockReading& now) {
    if (!suspended_)
        return Poll(now); // the start was missed: the clocks tell whether a sleep happened
    suspended_ = false;
    verdictDue_ = true;
    last_ = now;
    return {Stamp(now.wallMs, now.utcOffset, QStringLiteral("Resume"))};
}

} // namespace wv
