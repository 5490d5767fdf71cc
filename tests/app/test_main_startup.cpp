// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Start-up, hiding and the ways the program really ends.
#include "FakeDesktopNotifier.h"
#include "MainWindowFixture.h"
#include "app/Program.h"
#include "support/FakeFileLocations.h"

#include <QCloseEvent>
#include <QDir>

namespace wv::test {

using Kind = FakeTrayService::Kind;

TEST_F(MainWindowTest, FirstStartInEmptyFolderWritesHeaderAndStartEntryAndStartsHidden) {
    create();
    EXPECT_EQ(fileBytes("Vanewire.txt"),
              "IP,DD/MM/YY,TIME,MESSAGE\r\n" + entry("0.0.0.0", "Start of program") + "\r\n");
    EXPECT_TRUE(entry("0.0.0.0", "Start of program").endsWith(",\"Start of program\""));
    EXPECT_TRUE(frm->StartMinimized());
    EXPECT_TRUE(ui().cbMinimizeAtStartup->isChecked());
    EXPECT_FALSE(frm->WasOnline());
    EXPECT_FALSE(QFile::exists(folder + "Vanewire.ini")) << "start-up only reads settings";

    frm->ShowAfterCreate();
    EXPECT_FALSE(frm->isVisible());
    ASSERT_EQ(tray.Count(Kind::Add), 1);
    EXPECT_EQ(tray.requests.back().data.Tip(), QStringLiteral("Offline"));
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Offline"));
    EXPECT_EQ(ui().dedDate->date(), QDate(2026, 12, 6));
}

TEST_F(MainWindowTest, ExistingLogIsKeptAndTheNewRunAppendsToIt) {
    const QByteArray earlier = "IP,DD/MM/YY,TIME,MESSAGE\r\n"
                               "0.0.0.0,5/1/09,9:05:07,\"Start of program\"\r\n"
                               "10.1.2.3,5/1/09,9:05:09,Online\r\n";
    writeFile("Vanewire.txt", earlier);
    create();
    EXPECT_EQ(fileBytes("Vanewire.txt"), earlier + entry("0.0.0.0", "Start of program") + "\r\n");
    // The start entry is the grid's current row.
    EXPECT_EQ(frm->LogTable()->CurrentRow(), 2);
}

TEST_F(MainWindowTest, LogThatExistsButCannotBeReadIsNeverReplaced) {
    // A folder where the log should be: it exists, yet cannot be read as a file.
    ASSERT_TRUE(QDir(folder).mkdir("Vanewire.txt"));
    ASSERT_TRUE(QFile(folder + "Vanewire.txt/keep").open(QIODevice::WriteOnly));
    EXPECT_THROW(create(), std::exception);
    EXPECT_TRUE(QFileInfo(folder + "Vanewire.txt").isDir());
    EXPECT_TRUE(QFile::exists(folder + "Vanewire.txt/keep"));
}

TEST_F(MainWindowTest, CloseBoxHidesWithoutLoggingOrSaving) {
    writeFile("Vanewire.ini", "[General]\nMinimizeAtStartup=0\n");
    create();
    frm->ShowAfterCreate();
    ASSERT_TRUE(frm->isVisible());
    const QByteArray before = fileBytes("Vanewire.txt");
    EXPECT_FALSE(frm->close());
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(app.IsMinimized());
    EXPECT_EQ(fileBytes("Vanewire.txt"), before);
    EXPECT_EQ(fileBytes("Vanewire.ini"), "[General]\nMinimizeAtStartup=0\n");

    // The tray icon brings it back in its normal state, topmost.
    tray.Click(515);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->isMinimized());
    EXPECT_TRUE(frm->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(MainWindowTest, ExitSavesSettingsThenLogsStop) {
    create();
    ui().cbMinimizeAtStartup->setChecked(false);
    frm->mnuExitClick();
    EXPECT_TRUE(frm->ExitAllowed());
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], entry("0.0.0.0", "Stop of program"));
    const QByteArray ini = fileBytes("Vanewire.ini");
    EXPECT_TRUE(ini.contains("MinimizeAtStartup=0")) << ini.constData();
    EXPECT_TRUE(ini.contains("CheckedCount=0"));
    // No settings file: "IP's List" was loaded over the layout's choice.
    EXPECT_TRUE(ini.contains("rbLocalIP=0"));
    EXPECT_TRUE(ini.contains("rbList=1"));
    // Written in this order, each at once.
    EXPECT_LT(ini.indexOf("MinimizeAtStartup"), ini.indexOf("CheckedCount"));
    EXPECT_LT(ini.indexOf("CheckedCount"), ini.indexOf("rbLocalIP"));
    EXPECT_LT(ini.indexOf("rbLocalIP"), ini.indexOf("rbList"));
}

TEST_F(MainWindowTest, TrayMenuExitEndsTheProgramToo) {
    create();
    frm->mnuPopUpExit()->trigger();
    EXPECT_TRUE(frm->ExitAllowed());
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Stop of program"));
}

TEST_F(MainWindowTest, SessionEndRunsTheCloseRequestOnceAndAllowsItForGood) {
    create();
    frm->WndProc(TfrmMain::WM_QUERYENDSESSION);
    frm->WndProc(TfrmMain::WM_QUERYENDSESSION);
    EXPECT_TRUE(frm->ExitAllowed());
    EXPECT_EQ(logLines().size(), 3) << "one stop entry, however often the session asks";
    EXPECT_TRUE(QFile::exists(folder + "Vanewire.ini")) << "settings saved at session end";
}

TEST_F(MainWindowTest, StopEntryIsWrittenEvenWhenSettingsCannotBeSaved) {
    ASSERT_TRUE(QDir(folder).mkdir("Vanewire.ini")); // a folder: no file can be written there
    create();
    frm->mnuExitClick();
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Stop of program"));
    EXPECT_TRUE(MessageBox::recorded().contains("Error in TfrmMain.SaveAll"));
}

TEST_F(MainWindowTest, DestroyingTheWindowRemovesTheTrayIcon) {
    create();
    frm.reset();
    app.SetMainForm(nullptr);
    ASSERT_FALSE(tray.requests.empty());
    EXPECT_EQ(tray.requests.back().kind, Kind::Delete);
}

// A start minimized by the settings: the first one (no settings file before) says where the
// program went, or shows the window when there is no notification area to go to.
TEST_F(MainWindowTest, FirstStartSaysWhereItWentLaterStartsAreSilent) {
    struct Case {
        const char* what;
        bool settingsFile, trayArea, showRequested;
        int notices;
        bool visible, minimized;
    };
    const Case cases[] = {
        {"first start", false, true, false, 1, false, false},
        {"later start", true, true, false, 0, false, false},
        {"first start, no notification area", false, false, false, 0, true, false},
        {"later start, no notification area: taskbar entry", true, false, false, 0, true, true},
        {"first start with --show", false, true, true, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(folder + "Vanewire.ini");
        if (c.settingsFile)
            writeFile("Vanewire.ini", "[General]\nMinimizeAtStartup=1\n");
        tray.available = c.trayArea;
        FakeDesktopNotifier notifier;
        create();
        frm->SetNotifier(&notifier);
        if (c.showRequested)
            frm->RequestShowAtStart();
        frm->ShowAfterCreate();
        ASSERT_EQ(notifier.shown.size(), c.notices) << notifier.shown.join('|').toStdString();
        if (c.notices) {
            EXPECT_EQ(notifier.shown.front(),
                      "Wirevane: Wirevane is running in the notification area. Click its icon "
                      "to open it.");
        }
        EXPECT_EQ(frm->isVisible(), c.visible);
        EXPECT_EQ(frm->isMinimized(), c.minimized);
        app.SetMainForm(nullptr);
        frm.reset();
    }
}

} // namespace wv::test

namespace wv::test {

TEST_F(MainWindowTest, LogPageTellsWhereTheLogIs) {
    create();
    const QString where = "Log file: " + folder + "Vanewire.txt";
    EXPECT_EQ(ui().DBGrid->toolTip(), where);
    EXPECT_EQ(ui().PageControl1->tabToolTip(ui().PageControl1->indexOf(ui().tsLog)), where);
}

} // namespace wv::test

namespace wv::test {

TEST(ProgramFilesTest, NoPlaceToWriteIsToldOnStandardErrorWithoutABoxWhenHeadless) {
    MessageBox::startRecording();
    FakeFileLocations locations;
    locations.answer = ProgramFiles("/home/u/.config/wirevane/Vanewire.ini",
                                    "/home/u/.local/state/wirevane/Vanewire.txt", true);
    const std::optional<ProgramFiles> files = LocateFiles(locations);
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(files->logPath, "/home/u/.local/state/wirevane/Vanewire.txt");

    locations.failure = "Wirevane cannot keep its settings and log: /x is not a folder.";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LocateFiles(locations).has_value());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "wirevane: Wirevane cannot keep its settings and log: /x is not a folder.\n");
    // The tests run on the offscreen platform, where nobody could close a box.
    EXPECT_TRUE(MessageBox::recorded().isEmpty());
    EXPECT_EQ(locations.calls, 2);
    MessageBox::stopRecording();
}

} // namespace wv::test
