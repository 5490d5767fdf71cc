// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <functional>

namespace wv {

// One running copy per log file. The copy that starts first takes a lock beside the log and
// answers requests from later starts; a later start finds the lock held and asks that copy to
// show its window instead of opening the log a second time.
class InstanceLock {
public:
    // What a later start heard from the copy that holds the lock.
    enum class Answer {
        Shown,    // it shows its window
        Ending,   // it is ending and lets go of the log shortly
        NoAnswer, // nothing (stopped, hung, or not listening)
    };

    virtual ~InstanceLock();

    // Takes the lock for the log at `logPath`; it is held until this object goes (or the process
    // ends, however it ends). False when another process holds it. Raises EFileError, naming the
    // lock file and why, when the lock cannot be taken for another reason (the file cannot be
    // made, or it belongs to somebody else): the program must not run on that log then.
    virtual bool TryLock(const QString& logPath) = 0;

    // With the lock held: from now on each "show" request of a later start calls `onShow` on this
    // thread's event loop. Anything else that arrives is dropped without effect.
    virtual void Listen(std::function<void()> onShow) = 0;

    // From now on this copy is ending: requests are answered "ending", never "shown", so a later
    // start waits for the lock instead of relying on a window that is about to go.
    virtual void BeginEnding() = 0;

    // With the lock held by another process: asks it to show its window, waiting up to
    // `timeoutMs` milliseconds for the answer.
    virtual Answer AskToShow(int timeoutMs) = 0;

    // After TryLock() found the lock held: waits up to `timeoutMs` milliseconds (0: one more try)
    // for it to be let go of, and takes it. False when it is still held.
    virtual bool WaitForLock(int timeoutMs) = 0;

    // Set before Listen: each "quit" request (`wirevane --quit`) then calls `onQuit` on the
    // event loop, as "show" calls `onShow`. Without it such requests are dropped.
    void SetOnQuit(std::function<void()> onQuit) { onQuit_ = std::move(onQuit); }

protected:
    std::function<void()> onQuit_;
};

} // namespace wv
