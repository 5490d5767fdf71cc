// The one-copy lock and its local socket, between objects of one process: flock() locks belong
// to the open file, so two objects behave like two copies of the program.
#include "platform/linux/LinuxInstanceLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <sys/socket.h>
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
    EXPECT_TRUE(later.AskToShow(2000));
    EXPECT_EQ(shown, 0) << "the window is shown by the GUI thread, not the socket's";
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 1);
    // Not listening (a copy still starting, or stopped): no answer, and no long wait for it.
    LinuxInstanceLock silent;
    ASSERT_TRUE(silent.TryLock(dir.filePath("Other.txt")));
    LinuxInstanceLock asking;
    ASSERT_FALSE(asking.TryLock(dir.filePath("Other.txt")));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(asking.AskToShow(300));
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
        bool answered = false;
        whileServing([&] { answered = later.AskToShow(2000); });
        EXPECT_TRUE(answered);
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
    bool answered = false;
    whileServing([&] { answered = later.AskToShow(2000); });
    EXPECT_TRUE(answered);
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
