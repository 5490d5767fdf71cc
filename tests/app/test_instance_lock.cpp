// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The one-copy lock and its local socket, between objects of one process: flock() locks belong
// to the open file, so two objects behave like two copies of the program.
#include "platform/linux/LinuxInstanceLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace wv {
namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir("runtime"));
        ASSERT_TRUE(QFile::setPermissions(dir.filePath("runtime"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("runtime")));
        log = dir.filePath("Vanewire.txt");
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", savedRuntime); }

    // Runs `fn` on another thread (a later start blocks while it waits for the answer) and
    // serves this thread's events until it is done.
    template <typename Fn> void whileServing(Fn fn) {
        std::atomic<bool> done{false};
        std::thread t([&] {
            fn();
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        t.join();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    QByteArray savedRuntime;
    QString log;
};

TEST_F(InstanceLockTest, SecondLockOnTheSameLogIsRefusedUntilTheFirstGoes) {
    auto first = std::make_unique<LinuxInstanceLock>();
    ASSERT_TRUE(first->TryLock(log));
    EXPECT_TRUE(QFile::exists(dir.filePath(".Vanewire.txt.lock")));
    LinuxInstanceLock second;
    EXPECT_FALSE(second.TryLock(log));
    LinuxInstanceLock otherLog;
    EXPECT_TRUE(otherLog.TryLock(dir.filePath("new folder/Other.txt")));
    EXPECT_TRUE(QFile::exists(dir.filePath("new folder/.Other.txt.lock")));
    first.reset(); // the process ends: the kernel lets go, the file stays
    EXPECT_TRUE(QFile::exists(dir.filePath(".Vanewire.txt.lock")));
    EXPECT_TRUE(second.TryLock(log));
}

TEST_F(InstanceLockTest, LockThatCannotBeMadeNamesItsFile) {
    LinuxInstanceLock lock;
    ASSERT_TRUE(QFile(dir.filePath("a file")).open(QIODevice::WriteOnly));
    const QString missing = dir.filePath("a file/Vanewire.txt");
    try {
        lock.TryLock(missing);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_TRUE(
            QString::fromLocal8Bit(e.what()).contains(dir.filePath("a file/.Vanewire.txt.lock")))
            << e.what();
    }
}

TEST_F(InstanceLockTest, LaterStartReachesTheRunningCopyPastAStaleSocketAndWhileItIsBusy) {
    // A socket file nobody listens on, as a copy killed with -9 leaves it.
    const QByteArray path = QFile::encodeName(LinuxInstanceLock::ServerName(log));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.constData(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));

    LinuxInstanceLock running;
    ASSERT_TRUE(running.TryLock(log));
    int shown = 0;
    running.Listen([&] { ++shown; });
    // The later start asks from this very thread, which serves no events meanwhile, as a copy
    // busy loading a long log or saving to a slow disk would not: the answer still comes, and
    // the window follows on the GUI thread.
    LinuxInstanceLock later;
    ASSERT_FALSE(later.TryLock(log));
    EXPECT_EQ(later.AskToShow(2000), InstanceLock::Answer::Shown);
    EXPECT_EQ(shown, 0) << "the window is shown by the GUI thread, not the socket's";
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 1);
    // Ending: no "ok" any more; the lock is free once that copy is gone.
    running.BeginEnding();
    EXPECT_EQ(later.AskToShow(2000), InstanceLock::Answer::Ending);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 1) << "an ending copy shows nothing";
    // Not listening (a copy still starting, or stopped): no answer, and no long wait for it.
    LinuxInstanceLock silent;
    ASSERT_TRUE(silent.TryLock(dir.filePath("Other.txt")));
    LinuxInstanceLock asking;
    ASSERT_FALSE(asking.TryLock(dir.filePath("Other.txt")));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(asking.AskToShow(300), InstanceLock::Answer::NoAnswer);
    EXPECT_LT(t.elapsed(), 2000);
}

TEST_F(InstanceLockTest, LaterStartInAnotherEnvironmentFindsTheRunningCopy) {
    // The running copy has a runtime folder; the later start (su, cron, ssh) has none or another.
    LinuxInstanceLock running;
    ASSERT_TRUE(running.TryLock(log));
    int shown = 0;
    running.Listen([&] { ++shown; });
    for (const char* runtime : {"", "elsewhere"}) {
        SCOPED_TRACE(runtime);
        qputenv("XDG_RUNTIME_DIR", *runtime ? QFile::encodeName(dir.filePath(runtime)) : "");
        LinuxInstanceLock later;
        ASSERT_FALSE(later.TryLock(log));
        auto answer = InstanceLock::Answer::NoAnswer;
        whileServing([&] { answer = later.AskToShow(2000); });
        EXPECT_EQ(answer, InstanceLock::Answer::Shown);
    }
    EXPECT_EQ(shown, 2);
}

TEST_F(InstanceLockTest, OnlyTheOneRequestIsUnderstood) {
    struct Case {
        const char* name;
        QByteArray sent;
        bool shows;
    };
    const Case cases[] = {
        {"the request", "show\n", true},
        {"request in two parts", "sh|ow\n", true},
        {"capitals", "SHOW\n", false},
        {"CR LF", "show\r\n", false},
        {"two requests", "show\nshow\n", false},
        {"something longer", "show\nrm -rf ~\n", false},
        {"unfinished", "show", false},
        {"nothing", "", false},
        {"a flood", QByteArray(100000, 'x'), false},
    };
    LinuxInstanceLock running;
    ASSERT_TRUE(running.TryLock(log));
    int shown = 0;
    running.Listen([&] { ++shown; });
    const QString name = LinuxInstanceLock::ServerName(log);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shown = 0;
        QByteArray reply;
        whileServing([&] {
            QLocalSocket socket;
            socket.connectToServer(name);
            ASSERT_TRUE(socket.waitForConnected(1000));
            for (const QByteArray& part : c.sent.split('|')) {
                socket.write(part);
                socket.waitForBytesWritten(1000);
                QThread::msleep(20);
            }
            // The answer, or the server closing the connection, or nothing for 300 ms.
            while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(300))
                reply += socket.readAll();
            reply += socket.readAll();
        });
        EXPECT_EQ(shown, c.shows ? 1 : 0);
        EXPECT_EQ(reply, c.shows ? QByteArray("ok\n") : QByteArray());
    }
    // The server still answers after all that.
    LinuxInstanceLock later;
    ASSERT_FALSE(later.TryLock(log));
    auto answer = InstanceLock::Answer::NoAnswer;
    whileServing([&] { answer = later.AskToShow(2000); });
    EXPECT_EQ(answer, InstanceLock::Answer::Shown);
}

} // namespace
} // namespace wv

namespace wv {
namespace {

class InstanceLockFilesTest : public InstanceLockTest {
protected:
    static int mode(const QString& path) {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777)
                                                                      : -1;
    }
    QString made(const QString& name, int perms) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QDir().mkpath(path));
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(perms)), 0);
        return path;
    }
};

TEST_F(InstanceLockFilesTest, TwoPathsToOneLogAreOneCopy) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("a/b"));
    ASSERT_TRUE(QFile(dir.filePath("a/Vanewire.txt")).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(dir.filePath("a/Vanewire.txt"), dir.filePath("a/b/Vanewire.txt")));
    LinuxInstanceLock a;
    ASSERT_TRUE(a.TryLock(dir.filePath("a/Vanewire.txt")));
    LinuxInstanceLock b;
    EXPECT_FALSE(b.TryLock(dir.filePath("a/b/Vanewire.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath("a/b/.Vanewire.txt.lock")));
}

TEST_F(InstanceLockFilesTest, OnlyALockFileOfTheUsersOwnIsUsed) {
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;
        std::function<void(const QString& lock)> prepare;
        const char* refusal; // empty: the lock is taken
    };
    const QString target = dir.filePath("target");
    const Case cases[] = {
        {"none yet", [](const QString&) {}, ""},
        {"the user's, made 0644 by an older version",
         [](const QString& l) {
             QFile f(l);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
         },
         ""},
        {"a link", [&](const QString& l) { ASSERT_TRUE(QFile::link(target, l)); }, "symbolic link"},
        {"a folder", [](const QString& l) { ASSERT_TRUE(QDir().mkdir(l)); }, "not an ordinary"},
        {"a pipe",
         [](const QString& l) { ASSERT_EQ(::mkfifo(QFile::encodeName(l).constData(), 0600), 0); },
         "not an ordinary"},
        {"another user's",
         [&](const QString& l) {
             if (!root)
                 GTEST_SKIP() << "needs root to give a file away";
             ASSERT_TRUE(QFile(l).open(QIODevice::WriteOnly));
             ASSERT_EQ(::chown(QFile::encodeName(l).constData(), 65534, 65534), 0);
         },
         "belongs to the user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
        const QString log = folder.filePath("Vanewire.txt");
        const QString lock = folder.filePath(".Vanewire.txt.lock");
        c.prepare(lock);
        if (::testing::Test::IsSkipped())
            return;
        LinuxInstanceLock l;
        if (!*c.refusal) {
            EXPECT_TRUE(l.TryLock(log));
            EXPECT_EQ(mode(lock), 0600);
            continue;
        }
        try {
            l.TryLock(log);
            ADD_FAILURE() << "taken";
        } catch (const std::exception& e) {
            const QString text = QString::fromLocal8Bit(e.what());
            EXPECT_TRUE(text.contains(lock) && text.contains(c.refusal)) << e.what();
        }
        EXPECT_EQ(QFile(target).size(), 0) << "nothing written through a link";
    }
}

TEST_F(InstanceLockFilesTest, SocketFolderIsPrivate) {
    const mode_t oldMask = ::umask(0);
    const QByteArray savedTmp = qgetenv("TMPDIR");
    const QString tmp = made("tmp", 01777);
    qputenv("TMPDIR", QFile::encodeName(tmp));
    const QString own = QStringLiteral("%1/wirevane-%2").arg(tmp).arg(::geteuid());
    struct Case {
        const char* name;
        QByteArray runtime;
        std::function<void()> prepare;
        QString expected; // empty: a new private folder beside `own`
    };
    const Case cases[] = {
        {"the runtime folder", QFile::encodeName(dir.filePath("runtime")), [] {},
         dir.filePath("runtime")},
        {"a runtime folder others can reach", QFile::encodeName(made("open-runtime", 0755)), [] {},
         own},
        {"a relative runtime folder", "runtime", [] {}, own},
        {"no runtime folder, own folder made", "", [] {}, own},
        {"own folder opened up", "", [&] { ::chmod(QFile::encodeName(own).constData(), 0755); },
         ""},
        {"own name taken by a link", "",
         [&] {
             QDir(own).removeRecursively();
             QFile::link(dir.filePath("runtime"), own);
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("XDG_RUNTIME_DIR", c.runtime);
        c.prepare();
        const QString folder = LinuxInstanceLock::SocketFolder(true);
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(folder.startsWith(own + "-")) << folder.toStdString();
            // A later start that only looks makes nothing and finds no name of its own there.
            EXPECT_EQ(LinuxInstanceLock::ServerName(log), "");
        } else {
            EXPECT_EQ(folder, c.expected);
            EXPECT_TRUE(LinuxInstanceLock::ServerName(log).startsWith(folder + "/wirevane-"));
        }
        EXPECT_TRUE(LinuxInstanceLock::PrivateFolder(folder));
        EXPECT_EQ(mode(folder), 0700);
    }
    qputenv("TMPDIR", savedTmp);
    ::umask(oldMask);
}

TEST_F(InstanceLockFilesTest, RecordedNameIsFollowedOnlyIntoAPrivateFolder) {
    // A lock file naming a socket in a folder others can reach, held by an flock: the later
    // start never connects there.
    const QString open = made("open", 0755);
    QLocalServer stranger;
    ASSERT_TRUE(stranger.listen(open + "/wirevane-x"));
    EXPECT_FALSE(LinuxInstanceLock::TrustedSocket(open + "/wirevane-x"));
    QFile lock(dir.filePath(".Vanewire.txt.lock"));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    lock.write(QFile::encodeName(open + "/wirevane-x") + "\n");
    lock.flush();
    ASSERT_EQ(::flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
    LinuxInstanceLock later;
    ASSERT_FALSE(later.TryLock(log));
    InstanceLock::Answer answer = InstanceLock::Answer::Shown;
    whileServing([&] { answer = later.AskToShow(300); });
    EXPECT_EQ(answer, InstanceLock::Answer::NoAnswer);
    EXPECT_FALSE(stranger.hasPendingConnections());
    // Once the holder lets go, the wait for the lock ends with it taken.
    std::thread release([&] {
        QThread::msleep(200);
        ::flock(lock.handle(), LOCK_UN);
    });
    EXPECT_TRUE(later.WaitForLock(5000));
    release.join();
    // A socket of the user's own in a private folder is trusted; a plain file there is not.
    const QString name = LinuxInstanceLock::ServerName(log);
    later.Listen([] {});
    EXPECT_TRUE(LinuxInstanceLock::TrustedSocket(name));
    EXPECT_FALSE(LinuxInstanceLock::TrustedSocket(dir.filePath(".Vanewire.txt.lock")));
}

// `wirevane --quit`: nothing to end without a running copy; a copy that takes quit requests
// ends (here: lets go of its lock) and the request returns after that; one that does not take
// them, or does not end in time, is reported as such.
TEST_F(InstanceLockTest, QuitRequestEndsTheRunningCopyAndWaitsForIt) {
    using Result = LinuxInstanceLock::QuitResult;
    EXPECT_EQ(LinuxInstanceLock::AskToQuit(log, 500, 500), Result::NotRunning);
    auto running = std::make_unique<LinuxInstanceLock>();
    ASSERT_TRUE(running->TryLock(log));
    running->Listen([] {});
    EXPECT_EQ(LinuxInstanceLock::AskToQuit(log, 300, 300), Result::NoAnswer)
        << "a copy that takes no quit request must not be told to have ended";
    running.reset();
    EXPECT_EQ(LinuxInstanceLock::AskToQuit(log, 500, 500), Result::NotRunning);

    for (const bool ends : {true, false}) {
        SCOPED_TRACE(ends ? "ends" : "keeps running");
        running = std::make_unique<LinuxInstanceLock>();
        ASSERT_TRUE(running->TryLock(log));
        int quits = 0;
        running->SetOnQuit([&] {
            ++quits;
            if (ends)
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [&] { running.reset(); }, Qt::QueuedConnection);
        });
        int shows = 0;
        running->Listen([&] { ++shows; });
        Result result = Result::NotRunning;
        whileServing([&] { result = LinuxInstanceLock::AskToQuit(log, 2000, 1000); });
        EXPECT_EQ(result, ends ? Result::Ended : Result::StillRunning);
        EXPECT_EQ(quits, 1);
        EXPECT_EQ(shows, 0);
        running.reset();
    }
}

} // namespace
} // namespace wv
