// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/InstanceLock.h"

#include <QByteArray>
#include <QObject>

#include <atomic>

class QThread;

namespace wv {

// The lock is an flock() on the file "." + log name + ".lock" beside the log's real file (links
// resolved, so two paths to one log are one copy): the kernel releases it when the process ends,
// so a copy that was killed never blocks the next start. The lock file is the user's own, mode
// 0600; one that belongs to somebody else, or that cannot be opened, is never used.
//
// Requests travel over a local socket whose name is derived from the log's real path, placed in
// $XDG_RUNTIME_DIR or else in a folder of the user's own under the temporary folder
// ("wirevane-<uid>", mode 0700), both checked (the user's, not a link, no access for others)
// before every use. The running copy writes the socket's full name into the lock file, so a
// later start with another environment still finds it; that name is followed under the same
// checks. Both ends check the other's user id (SO_PEERCRED).
//
// A request is one word and a line feed ("show\n", or "quit\n" from `wirevane --quit`); the answer
// is "ok\n", or "ending\n" once the copy has begun to end. A connection that sends anything else,
// or stays silent for two seconds, is closed without effect. A new request is one more entry in the
// listener's table of words (with the handler it queues for the GUI thread), asked for with
// Ask(word).
//
// The socket is served by a thread of its own, so a later start is answered at once even while
// the GUI thread is busy (a long start-up, a save on a slow disk); the window is then shown by
// the GUI thread when it gets to it.
class LinuxInstanceLock : public QObject, public InstanceLock {
    Q_OBJECT
public:
    // `endingElsewhere` tells, from the socket's thread, whether the process has begun to end
    // by a way the GUI thread has not handled yet (a termination signal that arrived).
    explicit LinuxInstanceLock(std::function<bool()> endingElsewhere = {});
    ~LinuxInstanceLock() override;

    bool TryLock(const QString& logPath) override;
    void Listen(std::function<void()> onShow) override;
    void BeginEnding() override;
    Answer AskToShow(int timeoutMs) override;
    // Sends the request `word` to the copy that holds the lock; AskToShow() is Ask("show").
    Answer Ask(const QByteArray& word, int timeoutMs);
    bool WaitForLock(int timeoutMs) override;

    // `wirevane --quit`: asks the copy that holds the lock of `logPath` to end, and waits up to
    // `endTimeoutMs` until it has (its lock is free again).
    enum class QuitResult { NotRunning, Ended, NoAnswer, StillRunning };
    static QuitResult AskToQuit(const QString& logPath, int answerTimeoutMs, int endTimeoutMs);

    // The log's real file: links followed as a save follows them.
    static QString RealLogPath(const QString& logPath);
    // The lock file and the socket name for a log path (exposed for tests). The socket name is
    // empty when no private folder for it can be had.
    static QString LockFilePath(const QString& logPath);
    static QString ServerName(const QString& logPath, bool make = false);
    // The folder for the socket: $XDG_RUNTIME_DIR when it passes PrivateFolder(), else the
    // user's own folder under the temporary folder ("wirevane-<uid>"). With `make`, that folder
    // is made when missing, and when its name is taken by somebody else (or it is not private)
    // a new one is made beside it ("wirevane-<uid>-XXXXXX"; later starts learn it from the lock
    // file). Empty when none will do.
    static QString SocketFolder(bool make = false);
    // A folder that only this user can reach: a real folder (not a link), owned by the user, no
    // access for group or others.
    static bool PrivateFolder(const QString& path);
    // A socket this user may talk to: in a PrivateFolder(), a socket of the user's own.
    static bool TrustedSocket(const QString& path);

    static constexpr int kConnectionTimeoutMs = 2000;

private:
    // Opens (or creates) the lock file and checks that it is the user's own; raises EFileError
    // with the reason otherwise.
    int openLockFile() const;
    // Tries the lock once; true when taken (then fd_ holds it).
    bool lockOnce();
    // The socket name to ask: the one recorded in the lock file, else the one this start would use.
    QString nameToAsk() const;

    int fd_ = -1;
    QString logPath_;  // real path of the log
    QString lockPath_; // beside it
    QString serverName_;
    QThread* thread_ = nullptr;
    QObject* listener_ = nullptr; // lives in thread_
    std::function<void()> onShow_;
    std::function<bool()> endingElsewhere_;
    std::atomic<bool> ending_{false};
};

} // namespace wv
