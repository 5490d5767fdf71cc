// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/InstanceLock.h"

#include <functional>

namespace wv {

// The one-copy lock in memory: tests say whether another copy holds the log and what it
// answers, and play a later start's request by calling onShow.
class FakeInstanceLock : public InstanceLock {
public:
    bool heldElsewhere = false;     // another copy holds the lock
    Answer answer = Answer::Shown;  // ... and answers the request to show its window so
    bool freedWhileWaiting = false; // ... and lets go of it while a later start waits
    bool requestOnListen = false;   // a later start's request arrives the moment Listen is called

    QString lockedPath;
    int asks = 0;
    int askTimeoutMs = -1;
    int waitTimeoutMs = -1;
    bool ending = false;
    std::function<void()> onShow;
    std::function<void()> onBeginEnding; // what a test looks at the moment ending begins

    bool TryLock(const QString& logPath) override {
        lockedPath = logPath;
        return !heldElsewhere;
    }
    void Listen(std::function<void()> show) override {
        onShow = std::move(show);
        if (requestOnListen)
            onShow();
    }
    void BeginEnding() override {
        ending = true;
        if (onBeginEnding)
            onBeginEnding();
    }
    Answer AskToShow(int timeoutMs) override {
        ++asks;
        askTimeoutMs = timeoutMs;
        return answer;
    }
    bool WaitForLock(int timeoutMs) override {
        waitTimeoutMs = timeoutMs;
        return freedWhileWaiting;
    }
};

} // namespace wv
