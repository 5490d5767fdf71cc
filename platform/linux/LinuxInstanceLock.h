#pragma once

#include "platform/InstanceLock.h"

#include <QByteArray>
#include <QObject>

class QThread;

namespace wv {

// The lock is an flock() on the file "." + log name + ".lock" beside the log: the kernel releases
// it when the process ends, so a copy that was killed never blocks the next start. Requests travel
// over a local socket whose name is derived from the log's full path, placed in $XDG_RUNTIME_DIR
// (or the temporary folder, with the user's id in its name) and open to the same user only.
//
// A request is the five bytes "show\n" or "quit\n"; the answer "ok\n". A connection that sends
// anything else, or stays silent for two seconds, is closed without effect.
//
// The socket is served by a thread of its own, so a later start is answered at once even while
// the GUI thread is busy (a long start-up, a save on a slow disk); the window is then shown by
// the GUI thread when it gets to it.
class LinuxInstanceLock : public QObject, public InstanceLock {
    Q_OBJECT
public:
    LinuxInstanceLock();
    ~LinuxInstanceLock() override;

    bool TryLock(const QString& logPath) override;
    void Listen(std::function<void()> onShow) override;
    bool AskToShow(int timeoutMs) override;

    // `wirevane --quit`: asks the copy that holds the lock of `logPath` to end, and waits up to
    // `endTimeoutMs` until it has (its lock is free again).
    enum class QuitResult { NotRunning, Ended, NoAnswer, StillRunning };
    static QuitResult AskToQuit(const QString& logPath, int answerTimeoutMs, int endTimeoutMs);

    // The lock file and the socket name for a log path (exposed for tests).
    static QString LockFilePath(const QString& logPath);
    static QString ServerName(const QString& logPath);

    static constexpr int kConnectionTimeoutMs = 2000;

private:
    int fd_ = -1;
    QString serverName_;
    QThread* thread_ = nullptr;
    QObject* listener_ = nullptr; // lives in thread_
    std::function<void()> onShow_;
};

} // namespace wv
