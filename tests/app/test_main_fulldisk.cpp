// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// A log that cannot be saved (a full disk and its kin): entries are held in the table and
// written later, the latch follows the table, one box per episode, and start-up goes on.
#include "FakeDisk.h"
#include "MainWindowFixture.h"
#include "app/LogSaveNotice.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <functional>
#include <unistd.h>
#include <vector>

namespace wv::test {

// ---------------------------------------------------------------- one box per episode

// Scripts of events, one word each: "Fx" a save failed with the reason x, "S" a save
// succeeded, "L" one turn of the message loop (the deferred box opens). Each box that opens
// runs the next "while open" script inside itself, as polls do in a modal box's nested loop.
struct NoticeCase {
    const char* name;
    const char* script;
    std::vector<const char*> whileOpen;
    QStringList boxes; // texts of the boxes, in the order they opened
    bool holding;      // an episode still in progress at the end
};

class NoticeRun {
public:
    explicit NoticeRun(std::vector<const char*> whileOpen)
        : whileOpen_(whileOpen.begin(), whileOpen.end()),
          notice_([this](const QString& t) { show(t); },
                  [this](std::function<void()> call) { deferred_.push_back(std::move(call)); }) {}

    void run(const QString& script) {
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            if (word.startsWith('F'))
                notice_.Failed(word.mid(1));
            else if (word == "S")
                notice_.Saved();
            else if (word == "L")
                loop();
            else
                ADD_FAILURE() << "bad word " << word.toStdString();
        }
    }

    QStringList boxes;
    int deepest = 0;
    TLogSaveNotice& notice() { return notice_; }

private:
    void loop() {
        std::deque<std::function<void()>> calls;
        calls.swap(deferred_);
        for (auto& call : calls)
            call();
    }
    void show(const QString& text) {
        boxes << text;
        ++depth_;
        deepest = std::max(deepest, depth_);
        EXPECT_TRUE(notice_.BoxOpen());
        if (!whileOpen_.empty()) {
            const QString inside = whileOpen_.front();
            whileOpen_.pop_front();
            run(inside);
        }
        --depth_;
    }

    std::deque<const char*> whileOpen_;
    std::deque<std::function<void()>> deferred_;
    int depth_ = 0;
    TLogSaveNotice notice_;
};

TEST(LogSaveNoticeTest, OneBoxPerEpisodeAndNeverTwoAtOnce) {
    const NoticeCase cases[] = {
        {"the box waits for the message loop", "Fa", {}, {}, true},
        {"a failure opens one box", "Fa L", {}, {"a"}, true},
        {"polls failing while the box is open add none", "Fa L", {"Fa L Fa L Fa"}, {"a"}, true},
        {"the same kind after the box closed adds none", "Fa L Fa L Fa L", {}, {"a"}, true},
        {"many failures before the loop turn give one box", "Fa Fa Fa L L", {}, {"a"}, true},
        {"a save ends the episode; the next failure is told", "Fa L S Fa L", {}, {"a", "a"}, true},
        {"a save ends the episode", "Fa L S", {}, {"a"}, false},
        {"mended before the box could open: nothing to tell", "Fa S L", {}, {}, false},
        {"a new kind while open is told after it closes", "Fa L", {"Fb L Fb"}, {"a", "b"}, true},
        {"a new kind after the box closed is told", "Fa L Fb L Fb L", {}, {"a", "b"}, true},
        {"saved and failed again while open: one more box later",
         "Fa L",
         {"S L Fa L"},
         {"a", "a"},
         true},
        {"saved while open: no more boxes", "Fa L", {"S L"}, {"a"}, false},
        {"a new kind mended before the box closed is not told", "Fa L", {"Fb S"}, {"a"}, false},
        {"the latest reason before the loop turn is the one told", "Fa Fb L", {}, {"b"}, true},
    };
    for (const NoticeCase& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeRun run(c.whileOpen);
        run.run(c.script);
        EXPECT_EQ(run.boxes, c.boxes);
        EXPECT_LE(run.deepest, 1) << "two boxes open at once";
        EXPECT_EQ(run.notice().Holding(), c.holding);
        EXPECT_FALSE(run.notice().BoxOpen());
    }
}

// ---------------------------------------------------------------- the main window

class FullDiskTest : public MainWindowTest {
protected:
    void start() {
        writeFile("Vanewire.ini", "[General]\nrbList=1\nrbLocalIP=0\n");
        create();
    }
    // One poll with the cable in (an internet address) or out (no address).
    void cable(bool in) {
        if (in)
            resolver.setAddresses({"203.0.113.5"});
        else
            resolver.setAddresses({});
        poll();
    }
    // Runs the queued calls (the deferred box).
    void turnLoop() { QCoreApplication::processEvents(); }
    // Lets the retry timer fire at once.
    void retryNow() {
        auto* timer = frm->findChild<QTimer*>(QStringLiteral("logRetry"));
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(timer->isActive()) << "held entries are retried";
        const int interval = timer->interval();
        timer->setInterval(0);
        QTest::qWait(20);
        timer->setInterval(interval);
    }
    QList<QByteArray> messages() {
        QList<QByteArray> out;
        for (const QByteArray& l : logLines())
            out << l.mid(l.lastIndexOf(',') + 1);
        return out;
    }

    FakeDisk disk{"/Vanewire.txt"};
};

TEST_F(FullDiskTest, EveryTransitionIsLoggedOnceInOrderWhenSpaceReturns) {
    // Steps: "in"/"out" move the cable, "full"/"free" the disk, "retry" lets the held entries
    // be tried again, "loop" turns the message loop.
    struct Case {
        const char* name;
        const char* steps;
        QList<QByteArray> written; // messages after the start entry, once the disk is free
    };
    const Case cases[] = {
        {"out, in, out on a full disk",
         "in full out in out free retry",
         {"Online", "Offline", "Online", "Offline"}},
        {"the held entries go with the next entry",
         "in full out in free out",
         {"Online", "Offline", "Online", "Offline"}},
        {"full from the first transition",
         "full in out in free retry",
         {"Online", "Offline", "Online"}},
        {"no transition, nothing doubled",
         "in full in out out free in out",
         {"Online", "Offline", "Online", "Offline"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        QFile::remove(folder + "Vanewire.txt");
        SetUp();
        disk.refuse = 0;
        start();
        QByteArray whileFull;
        bool online = false;
        for (const QString& step : QString(c.steps).split(' ')) {
            if (step == "in" || step == "out") {
                online = step == "in";
                cable(online);
                EXPECT_EQ(frm->WasOnline(), online) << "the latch follows the verdict";
                EXPECT_EQ(ui().Label3->text(), online ? "Online" : "Offline");
            } else if (step == "full") {
                disk.refuse = ENOSPC;
                whileFull = fileBytes("Vanewire.txt");
            } else if (step == "free") {
                EXPECT_EQ(fileBytes("Vanewire.txt"), whileFull) << "the old log stays whole";
                disk.refuse = 0;
            } else if (step == "retry") {
                retryNow();
            }
            turnLoop();
        }
        EXPECT_FALSE(frm->LogHeld());
        QList<QByteArray> expected{"MESSAGE", "\"Start of program\""};
        expected << c.written;
        EXPECT_EQ(messages(), expected);
        EXPECT_EQ(MessageBox::takeRecorded().size(), 1) << "one box for the one episode";
    }
}

TEST_F(FullDiskTest, BoxTellsTheReasonInPlainWordsOncePerEpisode) {
    struct Case {
        int code;
        const char* reason;
    };
    const Case cases[] = {
        {ENOSPC, "The disk is full."},
        {EDQUOT, "The disk quota is used up."},
        {EROFS, "The disk is read-only."},
        {EACCES, "Permission to write there is denied."},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        disk.refuse = c.code;
        for (int i = 0; i < 3; ++i) {
            cable(true);
            cable(false);
            turnLoop();
        }
        retryNow();
        turnLoop();
        const QStringList boxes = MessageBox::takeRecorded();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].startsWith("Cannot create file " + folder + "Vanewire.txt\n"))
            << boxes[0].toStdString();
        EXPECT_TRUE(boxes[0].contains(QString("\n") + c.reason + "\n"));
        EXPECT_TRUE(boxes[0].contains("kept")) << "the user learns that nothing is lost";
        EXPECT_TRUE(frm->LogHeld());

        disk.refuse = 0;
        retryNow(); // the save succeeds: the episode is over, the next failure is told again
        EXPECT_FALSE(frm->LogHeld());
        EXPECT_TRUE(MessageBox::recorded().isEmpty());
    }
    EXPECT_EQ(messages().count("Online"), 12);
    EXPECT_EQ(messages().count("Offline"), 12);
}

// Standard error of the calls made while it lives, read back as text.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = ::dup(2);
        file_ = std::tmpfile();
        ::dup2(::fileno(file_), 2);
    }
    ~StderrCapture() { restore(); }
    QString take() {
        restore();
        std::rewind(file_);
        QByteArray text;
        char buf[512];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, file_)) > 0;)
            text.append(buf, qsizetype(n));
        return QString::fromLocal8Bit(text);
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    int saved_ = -1;
    std::FILE* file_ = nullptr;
};

TEST_F(FullDiskTest, AStopEntryThatCannotBeSavedIsToldOnStandardError) {
    const struct {
        int refuse;
        bool told;
    } cases[] = {{ENOSPC, true}, {0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refuse);
        TearDown();
        SetUp();
        start();
        disk.refuse = c.refuse;
        StderrCapture err;
        frm->mnuExitClick();
        const QString text = err.take();
        EXPECT_EQ(text.contains("Stop of program"), c.told) << text.toStdString();
        EXPECT_EQ(text.contains("Vanewire.txt"), c.told) << text.toStdString();
        EXPECT_EQ(messages().endsWith("\"Stop of program\""), !c.told);
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty()) << "nothing waits on a box at the end";
        disk.refuse = 0;
    }
}

// The session manager waits for its save request to be answered: a save that fails then is told
// on standard error, and the box about the held log comes later, from the message loop.
TEST_F(FullDiskTest, ASessionSaveOnAFullDiskWaitsOnNoBox) {
    start();
    disk.refuse = ENOSPC;
    cable(true);
    turnLoop();
    MessageBox::takeRecorded(); // the box of this episode
    disk.refuse = EDQUOT;       // another reason: the log's box would open again
    // The settings cannot be written either: a folder stands where the file goes.
    QFile::remove(folder + "Vanewire.ini");
    ASSERT_TRUE(QDir().mkdir(folder + "Vanewire.ini"));
    StderrCapture err;
    frm->CommitSessionData();
    QDir().rmdir(folder + "Vanewire.ini");
    EXPECT_TRUE(MessageBox::recorded().isEmpty()) << "a box inside the session's save";
    EXPECT_TRUE(err.take().contains("Error in TfrmMain.SaveAll"));
    EXPECT_FALSE(MessageBox::sessionEnding());
    turnLoop();
    EXPECT_EQ(MessageBox::takeRecorded().size(), 1) << "the log's box, after the save";
    disk.refuse = 0;
}

TEST_F(FullDiskTest, StartUpWithAFullDiskTellsHoldsAndKeepsMonitoring) {
    const QByteArray old = "IP,DD/MM/YY,TIME,MESSAGE\r\n"
                           "0.0.0.0,5/1/09,9:05:07,\"Start of program\"\r\n";
    writeFile("Vanewire.txt", old);
    disk.refuse = ENOSPC;
    ASSERT_NO_THROW(start());
    ASSERT_NE(frm->OnlineIP1(), nullptr) << "start-up went to its end";
    EXPECT_TRUE(frm->LogHeld());
    EXPECT_TRUE(MessageBox::recorded().isEmpty()) << "no box inside start-up";
    turnLoop();
    const QStringList boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("The disk is full."));

    cable(true);
    cable(false);
    cable(true);
    turnLoop();
    EXPECT_EQ(fileBytes("Vanewire.txt"), old);
    EXPECT_TRUE(MessageBox::recorded().isEmpty());

    disk.refuse = 0;
    retryNow();
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], entry("0.0.0.0", "Start of program"));
    EXPECT_EQ(lines[3], entry("203.0.113.5", "Online"));
    EXPECT_EQ(lines[4], entry("0.0.0.0", "Offline"));
    EXPECT_EQ(lines[5], entry("203.0.113.5", "Online"));
}

TEST_F(FullDiskTest, PollsInsideTheOpenBoxOpenNoOtherBox) {
    start();
    disk.refuse = ENOSPC;
    MessageBox::stopRecording(); // a real modal box with its nested loop
    int boxesSeenInside = -1;
    bool ran = false;
    auto openBoxes = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible();
        return n;
    };
    QTimer::singleShot(50, frm.get(), [&] {
        ran = true;
        // Polls go on while the box is open: the cable changes, every save fails.
        for (bool in : {false, true, false, true}) {
            cable(in);
            QTest::qWait(10);
        }
        boxesSeenInside = openBoxes();
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->accept();
    });
    // Should a box stay open (polls stopped, or a second box), close it rather than hang.
    int forced = 0;
    QTimer watchdog;
    watchdog.setInterval(1000);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++forced;
            box->reject();
        }
    });
    watchdog.start();
    cable(true); // fails; the box opens from the message loop
    QTest::qWait(400);
    EXPECT_EQ(forced, 0);
    ASSERT_TRUE(ran);
    EXPECT_EQ(boxesSeenInside, 1);
    EXPECT_EQ(openBoxes(), 0) << "no box left after the one was closed";
    EXPECT_TRUE(frm->WasOnline());
    MessageBox::startRecording();

    disk.refuse = 0;
    retryNow();
    QList<QByteArray> expected{
        "MESSAGE", "\"Start of program\"", "Online", "Offline", "Online", "Offline", "Online"};
    EXPECT_EQ(messages(), expected);
}

// ---------------------------------------------------------------- only an end request ends it

// A first start (no settings file) runs hidden in the notification area while boxes open and
// close, space comes and goes and the session is saved: the message loop runs on until the test
// ends it, nothing ends the program, and every entry reaches the log in order.
TEST_F(FullDiskTest, NothingButAnEndRequestEndsTheProgramRunningHidden) {
    // Steps: "in"/"out" move the cable, "full"/"free" the disk, "retry" lets held entries be
    // tried again, "close" closes the open box, "about" opens About and closes it, "autoquit"
    // posts the quit Qt posts itself once its last visible window has closed, "commit" is a
    // session manager's checkpoint.
    const struct {
        const char* name;
        const char* steps;
    } cases[] = {
        {"the box closed after space returned", "in full out free in close out"},
        {"the box closed while the disk is full", "in full out close free retry in out"},
        {"the box left open", "in full out free in out"},
        {"About closed while the window is hidden", "in about out about"},
        {"Qt's own quit after the last window", "in full out close autoquit free in out"},
        {"checkpoints of the session", "in full out commit free commit in out"},
    };
    constexpr int kEndOfScript = 42;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        QFile::remove(folder + "Vanewire.txt");
        QFile::remove(folder + "Vanewire.ini");
        SetUp();
        disk.refuse = 0;
        MessageBox::stopRecording(); // real boxes with their nested loops
        create();
        frm->ShowAfterCreate();
        ASSERT_FALSE(frm->isVisible()) << "a first start runs hidden";

        QList<QByteArray> expected{"MESSAGE", "\"Start of program\""};
        const QStringList steps = QString(c.steps).split(' ');
        qsizetype next = 0;
        bool stepFailed = false;
        QObject scope; // pending steps die with it, whatever became of the loop
        std::function<void()> step = [&] {
            if (next == steps.size()) {
                QCoreApplication::exit(kEndOfScript);
                return;
            }
            const QString s = steps[next++];
            clock.advanceSecs(2);
            if (s == "in" || s == "out") {
                cable(s == "in");
                expected << (s == "in" ? "Online" : "Offline");
            } else if (s == "full" || s == "free") {
                disk.refuse = s == "full" ? ENOSPC : 0;
            } else if (s == "retry") {
                frm->findChild<QTimer*>(QStringLiteral("logRetry"))->setInterval(0);
            } else if (s == "close" || s == "about") {
                if (s == "about") {
                    QTimer::singleShot(0, &scope, [] {
                        if (QWidget* w = QApplication::activeModalWidget())
                            w->close();
                    });
                    frm->mnuAboutClick();
                } else if (QWidget* box = QApplication::activeModalWidget()) {
                    box->close();
                } else {
                    stepFailed = true;
                }
            } else if (s == "autoquit") {
                QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
            } else if (s == "commit") {
                frm->CommitSessionData();
            }
            QTimer::singleShot(0, &scope, [&step] { step(); });
        };
        QTimer::singleShot(0, &scope, [&step] { step(); });
        const int code = QApplication::exec();
        while (QWidget* box = QApplication::activeModalWidget())
            box->close();
        MessageBox::startRecording();

        EXPECT_EQ(code, kEndOfScript) << "the program ended after step " << next;
        EXPECT_FALSE(stepFailed) << "no box to close";
        EXPECT_FALSE(frm->ExitAllowed());
        EXPECT_FALSE(frm->isVisible());
        EXPECT_FALSE(frm->LogHeld());
        EXPECT_EQ(messages(), expected);
    }
}

} // namespace wv::test
