// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// One copy per log, an empty log, leftovers of interrupted saves, and the settings written in
// one go.
#include "FakeInstanceLock.h"
#include "MainWindowFixture.h"
#include "platform/IniFile.h"

#include <QDir>

namespace wv::test {

using Kind = FakeTrayService::Kind;

class StartTest : public MainWindowTest {
protected:
    TfrmMain& createWithLock() {
        frm = std::make_unique<TfrmMain>(TfrmMainEnv{app, tray, resolver, runKeys, clock, folder,
                                                     folder + QStringLiteral("wirevane"), &lock});
        app.SetMainForm(frm.get());
        frm->FormCreate();
        return *frm;
    }
    FakeInstanceLock lock;
};

TEST_F(StartTest, LaterStartHandsOverToTheRunningCopyWithoutTouchingItsFiles) {
    using A = InstanceLock::Answer;
    struct Case {
        const char* name;
        A answer;
        bool freed;   // the running copy lets go of the log while this start waits
        int waitMs;   // how long this start waits for the lock
        int exitCode; // -1: this start runs
        bool box;
    };
    const Case cases[] = {
        {"running copy answers", A::Shown, false, -1, 0, false},
        {"running copy silent", A::NoAnswer, false, 0, 1, true},
        {"running copy ended meanwhile", A::NoAnswer, true, 0, -1, false},
        {"running copy ending", A::Ending, true, 10000, -1, false},
        {"running copy ending too slowly", A::Ending, false, 10000, 1, true},
    };
    const QByteArray log = "IP,DD/MM/YY,TIME,MESSAGE\r\n0.0.0.0,5/1/09,9:05:07,Online\r\n";
    const QByteArray ini = "[General]\nMinimizeAtStartup=0\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("Vanewire.txt", log);
        writeFile("Vanewire.ini", ini);
        writeFile(".Vanewire.txt.tmp42-0", "the running copy's save in progress");
        lock = FakeInstanceLock();
        lock.heldElsewhere = true;
        lock.answer = c.answer;
        lock.freedWhileWaiting = c.freed;
        MessageBox::takeRecorded();
        tray.requests.clear();

        createWithLock();
        EXPECT_EQ(lock.lockedPath, folder + "Vanewire.txt");
        EXPECT_EQ(lock.asks, 1);
        EXPECT_EQ(lock.askTimeoutMs, 2000);
        EXPECT_EQ(lock.waitTimeoutMs, c.waitMs);
        const QStringList boxes = MessageBox::takeRecorded();
        if (c.box) {
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_TRUE(boxes[0].contains(folder + "Vanewire.txt")) << boxes[0].toStdString();
        } else {
            EXPECT_TRUE(boxes.isEmpty());
        }
        if (c.exitCode < 0) {
            // Once the lock is this start's, it is an ordinary start.
            EXPECT_FALSE(frm->ExitAtStart().has_value());
            EXPECT_TRUE(lock.onShow) << "listens for later starts";
            EXPECT_EQ(logLines().size(), 3);
            EXPECT_FALSE(QFile::exists(folder + ".Vanewire.txt.tmp42-0"));
            app.SetMainForm(nullptr);
            frm.reset();
            continue;
        }
        ASSERT_TRUE(frm->ExitAtStart().has_value());
        EXPECT_EQ(*frm->ExitAtStart(), c.exitCode);
        EXPECT_EQ(fileBytes("Vanewire.txt"), log);
        EXPECT_EQ(fileBytes("Vanewire.ini"), ini);
        EXPECT_TRUE(QFile::exists(folder + ".Vanewire.txt.tmp42-0"));
        EXPECT_EQ(tray.Count(Kind::Add), 0) << "no icon for a start that hands over";
        // Ending it writes nothing either.
        app.SetMainForm(nullptr);
        frm.reset();
        EXPECT_EQ(fileBytes("Vanewire.txt"), log);
        EXPECT_EQ(fileBytes("Vanewire.ini"), ini);
    }
}

TEST_F(StartTest, EndingCopyStopsAnsweringBeforeItsLastWrites) {
    createWithLock();
    QByteArray lastAtEnding;
    lock.onBeginEnding = [&] { lastAtEnding = logLines().last(); };
    frm->close(); // the close box only hides the window
    EXPECT_FALSE(lock.ending);
    frm->mnuExitClick();
    ASSERT_TRUE(lock.ending);
    EXPECT_TRUE(lastAtEnding.endsWith("\"Start of program\"")) << "before the stop entry";
    EXPECT_TRUE(logLines().last().endsWith("\"Stop of program\""));
}

TEST_F(StartTest, FirstCopyTakesTheLockAndShowsItsWindowWhenALaterStartAsks) {
    createWithLock();
    EXPECT_EQ(lock.lockedPath, folder + "Vanewire.txt");
    EXPECT_EQ(lock.asks, 0);
    EXPECT_FALSE(frm->ExitAtStart().has_value());
    frm->ShowAfterCreate();
    ASSERT_FALSE(frm->isVisible()) << "starts hidden by default";
    ASSERT_TRUE(lock.onShow);
    lock.onShow();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->isMinimized());
    EXPECT_EQ(logLines().size(), 2) << "showing writes nothing";
}

TEST_F(StartTest, RequestDuringStartUpShowsTheWindowOnceStartUpIsDone) {
    lock.requestOnListen = true; // a later start asks while this one is still starting
    createWithLock();
    EXPECT_FALSE(frm->isVisible()) << "no half-made window";
    frm->ShowAfterCreate();
    EXPECT_TRUE(frm->isVisible()) << "the request is honoured once start-up is done";
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(StartTest, EmptyOrDamagedLogAtStartUp) {
    const QByteArray header = "IP,DD/MM/YY,TIME,MESSAGE";
    struct Case {
        const char* name;
        QByteArray content;
        QByteArray before; // what the log holds before the start entry; empty: start-up fails
    };
    const Case cases[] = {
        {"empty file is a new log", "", header + "\r\n"},
        {"header only, no line break", header, header + "\r\n"},
        {"blank first line", "\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("Vanewire.txt", c.content);
        MessageBox::takeRecorded();
        if (!c.before.isEmpty()) {
            createWithLock();
            EXPECT_EQ(fileBytes("Vanewire.txt"),
                      c.before + entry("0.0.0.0", "Start of program") + "\r\n");
            EXPECT_NE(frm->OnlineIP1(), nullptr);
        } else {
            try {
                createWithLock();
                ADD_FAILURE() << "start-up went on";
            } catch (const std::exception& e) {
                // The error names the file it concerns, by its full path.
                EXPECT_TRUE(QString::fromLocal8Bit(e.what()).startsWith(folder + "Vanewire.txt: "))
                    << e.what();
            }
            EXPECT_EQ(fileBytes("Vanewire.txt"), c.content) << "a log that failed is not changed";
        }
        app.SetMainForm(nullptr);
        frm.reset();
    }
}

TEST_F(StartTest, StartRemovesOnlyTheLeftoversOfInterruptedLogSaves) {
    struct Case {
        const char* name;
        bool removed;
    };
    const Case cases[] = {
        {".Vanewire.txt.tmp123-0", true},   {".Vanewire.txt.tmp4294967295-17", true},
        {".Vanewire.txt.tmp123-", false},   {".Vanewire.txt.tmp-1", false},
        {".Vanewire.txt.tmp123-0x", false}, {".Vanewire.txt.tmp12a-0", false},
        {"Vanewire.txt.tmp123-0", false},   {".Vanewire.txt.tmp123-0.bak", false},
        {".vanewire.txt.tmp123-0", false},  {".Vanewire.ini.tmp123-0", false},
        {".Other.txt.tmp123-0", false},
    };
    ASSERT_TRUE(QDir(folder).mkdir("sub"));
    writeFile("sub/.Vanewire.txt.tmp1-1", "another folder");
    ASSERT_TRUE(QDir(folder).mkdir(".Vanewire.txt.tmp2-2")); // a folder, not a file of ours
    writeFile("target", "kept");
    ASSERT_TRUE(QFile::link(folder + "target", folder + ".Vanewire.txt.tmp3-3"));
    for (const Case& c : cases)
        writeFile(c.name, "x");

    createWithLock();
    for (const Case& c : cases)
        EXPECT_EQ(QFile::exists(folder + c.name), !c.removed) << c.name;
    EXPECT_TRUE(QFile::exists(folder + "sub/.Vanewire.txt.tmp1-1"));
    EXPECT_TRUE(QFileInfo(folder + ".Vanewire.txt.tmp2-2").isDir());
    EXPECT_TRUE(QFileInfo(folder + ".Vanewire.txt.tmp3-3").isSymLink());
    EXPECT_EQ(fileBytes("target"), "kept");
}

TEST_F(StartTest, SaveAllLeavesTheSameFileAsWritingEachKeyOnItsOwn) {
    // Keys in other case, a comment, more items from an earlier save, another section after.
    const QByteArray before = "[ GENERAL ]\r\n  minimizeatstartup = 1\r\n; mine\r\n"
                              "CheckedCount=5\r\nCHECKEDITEMS_1 = old\r\nCheckedItems_4=e\r\n"
                              "\r\n[Other]\r\nx=1";
    writeFile("Vanewire.ini", before);
    writeFile("per-key.ini", before);
    createWithLock();
    ui().cbMinimizeAtStartup->setChecked(false);
    ui().rbLocalIP->setChecked(true);
    ui().clbIP->ClearItems();
    for (const char* ip : {"192.0.2.1", "Error", "198.51.100.7"})
        ui().clbIP->AddChecked(ip);
    frm->SaveAll();

    IniFile ini(folder + "per-key.ini");
    ini.WriteBool("General", "MinimizeAtStartup", false);
    ini.WriteInteger("General", "CheckedCount", 3);
    ini.WriteBool("General", "rbLocalIP", true);
    ini.WriteBool("General", "rbList", false);
    ini.WriteBool("General", "rbInternet", false);
    ini.WriteString("General", "ProbeURL", "http://network-test.debian.org/nm");
    ini.WriteString("General", "ProbeExpect", "NetworkManager is online");
    ini.WriteInteger("General", "ProbeInterval", 30);
    ini.WriteString("General", "CheckedItems_0", "192.0.2.1");
    ini.WriteString("General", "CheckedItems_1", "Error");
    ini.WriteString("General", "CheckedItems_2", "198.51.100.7");
    ini.WriteBool("General", "NotifyOnChange", false);
    EXPECT_EQ(fileBytes("Vanewire.ini"), fileBytes("per-key.ini"));
    EXPECT_TRUE(MessageBox::recorded().isEmpty());
}

} // namespace wv::test
