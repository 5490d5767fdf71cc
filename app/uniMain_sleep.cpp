// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Sleep and changes of the clock: the clocks are read before every poll, the sleep manager's
// word arrives on its own; what TClockWatch makes of them goes into the log.
#include "app/uniMain.h"

#include "app/ClockWatch.h"
#include "base/ErrorReport.h"
#include "net/OnlineIP.h"
#include "platform/SleepWatch.h"
#include "platform/SystemClocks.h"
#include "table/SdfData.h"

#include <QTimer>

namespace wv {

void TfrmMain::setupClockWatch() {
    if (!env_.clocks)
        return;
    clockWatch_ = std::make_unique<TClockWatch>();
    clockWatch_->Poll(env_.clocks->Read());
    onlineIP_->SetOnPoll([this](QObject*) { CheckClocks(); });
    if (env_.sleepWatch) {
        connect(env_.sleepWatch, &SleepWatch::prepareForSleep, this,
                [this](bool sleeping) { guarded([this, sleeping] { SleepSignal(sleeping); }); });
        env_.sleepWatch->Start();
    }
}

void TfrmMain::CheckClocks() {
    if (clockWatch_ && table_ && table_->Active() && !exitAllowed_)
        writeClockEntries(clockWatch_->Poll(env_.clocks->Read()), true);
}

void TfrmMain::SleepSignal(bool sleeping) {
    if (!clockWatch_ || !table_ || !table_->Active() || exitAllowed_)
        return;
    const ClockReading now = env_.clocks->Read();
    // "Suspend" is on disk before the sleep manager is told that the system may sleep.
    writeClockEntries(sleeping ? clockWatch_->SleepStarts(now) : clockWatch_->SleepEnds(now),
                      false);
}

void TfrmMain::writeClockEntries(const std::vector<TClockEntry>& entries, bool inPoll) {
    if (entries.empty())
        return;
    for (const TClockEntry& e : entries)
        appendLogEntry(QStringLiteral("0.0.0.0"), e.message, e.date, e.time);
    saveLogHolding();
    if (!clockWatch_->TakeVerdictDue())
        return;
    // Awake again: the verdict is decided anew and logged, even when it is the one from before
    // the sleep. Inside a poll the reading that follows decides; otherwise a fresh one.
    verdictDue_ = true;
    if (!inPoll)
        onlineIP_->Poll();
    QTimer::singleShot(0, this, [this] {
        if (verdictDue_)
            guarded([this] { OnlineIP1Changed(this); });
    });
}

} // namespace wv
