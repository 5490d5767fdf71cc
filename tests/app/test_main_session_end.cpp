// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The session ending (signals, session manager, display loss): the close request's file work
// runs once, nothing waits on a box, and failures are told on standard error.
#include "MainWindowFixture.h"

#include <QDir>
#include <gmock/gmock.h>

namespace wv::test {
namespace {

using ::testing::HasSubstr;

TEST_F(MainWindowTest, SessionEndWaitsOnNoBoxAndTellsFailuresOnStandardError) {
    ASSERT_TRUE(QDir(folder).mkdir("Vanewire.ini")); // no settings file can be written there
    create();
    MessageBox::takeRecorded(); // what start-up had to say about reading the settings
    ::testing::internal::CaptureStderr();
    frm->WndProc(TfrmMain::WM_QUERYENDSESSION);
    const bool answer = MessageBox::question(QStringLiteral("Delete record?"));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr("Error in TfrmMain.SaveAll"));
    EXPECT_THAT(err, HasSubstr("Delete record?"));
    EXPECT_FALSE(answer) << "a question during the session end is answered No";
    EXPECT_TRUE(MessageBox::recorded().isEmpty()) << "no box was shown";
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Stop of program"));
}

TEST_F(MainWindowTest, DisplayLossRunsTheCloseWorkOnceWhateverCameFirst) {
    // Each row: how many session ends come before the display goes, then the loss itself.
    for (const int endsBefore : {0, 1}) {
        SCOPED_TRACE(endsBefore);
        QFile::remove(folder + "Vanewire.txt");
        QFile::remove(folder + "Vanewire.ini");
        create();
        for (int i = 0; i < endsBefore; ++i)
            frm->WndProc(TfrmMain::WM_QUERYENDSESSION);
        frm->EndSessionWithoutDisplay();
        frm->EndSessionWithoutDisplay();
        EXPECT_TRUE(frm->ExitAllowed());
        const QList<QByteArray> lines = logLines();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines.last(), entry("0.0.0.0", "Stop of program"));
        EXPECT_TRUE(fileBytes("Vanewire.ini").contains("rbList=")) << "settings saved";
        EXPECT_TRUE(MessageBox::sessionEnding());
        app.SetMainForm(nullptr);
        frm.reset();
        MessageBox::startRecording();
    }
}

TEST_F(MainWindowTest, AStopEntryThatCannotBeWrittenIsToldOnStandardError) {
    create();
    // A folder that is not empty now stands where the log goes: no save can replace it.
    ASSERT_TRUE(QFile::remove(folder + "Vanewire.txt"));
    ASSERT_TRUE(QDir(folder).mkpath("Vanewire.txt/held"));
    ::testing::internal::CaptureStderr();
    frm->mnuExitClick();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr("\"Stop of program\" could not be written to " +
                               (folder + "Vanewire.txt").toStdString()));
}

} // namespace
} // namespace wv::test
