// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// What sleep and changes of the clock leave in the log. The program reads the system's clocks
// before every poll and hands the reading here, together with the sleep manager's word when
// there is one; the answer is the entries to write, stamped with the moment each stands for.
//
// - Sleep: "Suspend" when the sleep manager says the system is about to sleep, "Resume" when
//   it says the system woke. Without that word, the boot-time clock running more than kJumpMs
//   ahead of the monotonic clock between two polls shows a sleep: "Suspend" with the moment
//   of the earlier poll, "Resume" with now. Either way the verdict is due anew after "Resume".
// - The wall clock moving more than kJumpMs against the boot-time clock between two polls,
//   either way, or a change of the time zone that changes the local time: "Clock changed"
//   with the moment in the clock before the change, then "Clock set" with the clock after it.
#include "platform/SystemClocks.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace wv {

struct TClockEntry {
    QDate date; // the local date and time the entry is stamped with
    QTime time;
    QString message;
};

class TClockWatch {
public:
    static constexpr qint64 kJumpMs = 5000;

    // Before each poll.
    std::vector<TClockEntry> Poll(const ClockReading& now);
    // The sleep manager's word: the system is about to sleep / has woken.
    std::vector<TClockEntry> SleepStarts(const ClockReading& now);
    std::vector<TClockEntry> SleepEnds(const ClockReading& now);

    // Between "Suspend" and "Resume": verdicts are not logged.
    bool Suspended() const { return suspended_; }
    // Set by a "Resume": the verdict is to be decided and logged anew, once.
    bool TakeVerdictDue() { return std::exchange(verdictDue_, false); }

    // The local date and time of a reading, in the zone it was made in.
    static TClockEntry Stamp(qint64 wallMs, int utcOffset, const QString& message);

private:
    std::optional<ClockReading> last_;
    bool suspended_ = false;
    bool verdictDue_ = false;
};

} // namespace wv
