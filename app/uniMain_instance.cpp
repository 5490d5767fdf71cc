// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// One running copy per log file: the first start takes the log, a later one hands over to it.
#include "app/uniMain.h"

#include "platform/InstanceLock.h"
#include "shell/MessageBox.h"

namespace wv {

namespace {
// How long a later start waits for the running copy to confirm.
constexpr int kAnswerTimeoutMs = 2000;
// How long a later start waits for a copy that is ending to let go of the log.
constexpr int kEndingTimeoutMs = 10000;
} // namespace

bool TfrmMain::claimLog() {
    if (!env_.instance)
        return true;
    bool taken = env_.instance->TryLock(logPath_);
    if (!taken) {
        // Another copy keeps this log: it shows its window; this start touches nothing and ends.
        // A copy that is ending (or has just ended) is waited for, and this start takes over.
        const InstanceLock::Answer answer = env_.instance->AskToShow(kAnswerTimeoutMs);
        if (answer == InstanceLock::Answer::Shown) {
            exitAtStart_ = 0;
            return false;
        }
        const bool ending = answer == InstanceLock::Answer::Ending;
        taken = env_.instance->WaitForLock(ending ? kEndingTimeoutMs : 0);
        if (!taken) {
            MessageBox::show(
                ending ? tr("Wirevane is still ending with the log %1 after 10 seconds; start it "
                            "again once it has ended.")
                             .arg(logPath_)
                       : tr("Wirevane is already running with the log %1, but it did not answer "
                            "within 2 seconds.")
                             .arg(logPath_));
            exitAtStart_ = 1;
            return false;
        }
    }
    // Later starts on this log bring this copy's window up, as the tray's Options does; a
    // request that comes while start-up is still at work is kept for its end.
    env_.instance->Listen([this] {
        if (startedUp_)
            mnuOptionsClick();
        else
            showRequested_ = true;
    });
    return true;
}

} // namespace wv
