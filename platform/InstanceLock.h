#pragma once

#include <QString>

#include <functional>

namespace wv {

// One running copy per log file. The copy that starts first takes a lock beside the log and
// answers requests from later starts; a later start finds the lock held and asks that copy to
// show its window instead of opening the log a second time.
class InstanceLock {
public:
    virtual ~InstanceLock();

    // Takes the lock for the log at `logPath`; it is held until this object goes (or the process
    // ends, however it ends). False when another process holds it. Raises EFileError, naming the
    // lock file, when the lock cannot be taken for another reason.
    virtual bool TryLock(const QString& logPath) = 0;

    // With the lock held: from now on each "show" request of a later start calls `onShow` on this
    // thread's event loop. Anything else that arrives is dropped without effect.
    virtual void Listen(std::function<void()> onShow) = 0;

    // With the lock held by another process: asks it to show its window. True when it confirmed
    // within `timeoutMs` milliseconds.
    virtual bool AskToShow(int timeoutMs) = 0;

    // Set before Listen: each "quit" request (`wirevane --quit`) then calls `onQuit` on the
    // event loop, as "show" calls `onShow`. Without it such requests are dropped.
    void SetOnQuit(std::function<void()> onQuit) { onQuit_ = std::move(onQuit); }

protected:
    std::function<void()> onQuit_;
};

} // namespace wv
