#pragma once

#include "platform/InstanceLock.h"

#include <functional>

namespace wv {

// The one-copy lock in memory: tests say whether another copy holds the log and whether it
// answers, and play a later start's request by calling onShow.
class FakeInstanceLock : public InstanceLock {
public:
    bool heldElsewhere = false;   // another copy holds the lock
    bool answers = true;          // ... and confirms the request to show its window
    bool requestOnListen = false; // a later start's request arrives the moment Listen is called

    QString lockedPath;
    int asks = 0;
    int askTimeoutMs = -1;
    std::function<void()> onShow;

    bool TryLock(const QString& logPath) override {
        lockedPath = logPath;
        return !heldElsewhere;
    }
    void Listen(std::function<void()> show) override {
        onShow = std::move(show);
        if (requestOnListen)
            onShow();
    }
    bool AskToShow(int timeoutMs) override {
        ++asks;
        askTimeoutMs = timeoutMs;
        return answers;
    }
};

} // namespace wv
