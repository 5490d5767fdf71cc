// One running copy per log file: the first start takes the log, a later one hands over to it.
#include "app/uniMain.h"

#include "platform/InstanceLock.h"
#include "shell/MessageBox.h"

namespace wv {

namespace {
// How long a later start waits for the running copy to confirm.
constexpr int kAnswerTimeoutMs = 2000;
} // namespace

bool TfrmMain::claimLog() {
    if (!env_.instance)
        return true;
    if (env_.instance->TryLock(logPath_)) {
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
    // Another copy keeps this log: it shows its window; this start touches nothing and ends.
    if (env_.instance->AskToShow(kAnswerTimeoutMs)) {
        exitAtStart_ = 0;
    } else {
        MessageBox::show(tr("Wirevane is already running with the log %1, but it did not "
                            "answer within 2 seconds.")
                             .arg(logPath_));
        exitAtStart_ = 1;
    }
    return false;
}

} // namespace wv
