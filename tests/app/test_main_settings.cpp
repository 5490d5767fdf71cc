// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Settings file and the "Load at Startup" value as the main window reads and writes them.
#include "MainWindowFixture.h"

#include "app/StartupValue.h"

#include <QDir>

namespace wv::test {

class SettingsTest : public MainWindowTest {
protected:
    void load(const QByteArray& ini) {
        writeFile("Vanewire.ini", ini);
        create();
    }
    QStringList checked() { return ui().clbIP->CheckedItems(); }
};

TEST_F(SettingsTest, NoFileGivesDefaults) {
    create();
    EXPECT_TRUE(frm->StartMinimized());
    EXPECT_TRUE(ui().rbList->isChecked());
    EXPECT_FALSE(ui().rbLocalIP->isChecked());
    EXPECT_TRUE(checked().isEmpty());
}

TEST_F(SettingsTest, MissingCheckedItemReadsAsErrorInItsPlace) {
    load("[General]\nCheckedCount=3\nCheckedItems_0=192.0.2.7\nCheckedItems_2=203.0.113.5\n");
    EXPECT_EQ(checked(), (QStringList{"192.0.2.7", "Error", "203.0.113.5"}));
}

TEST_F(SettingsTest, CountsThatAreNotPositiveNumbersReadNothing) {
    for (const char* count : {"-2", "abc", "", "0"}) {
        frm.reset();
        load(QByteArray("[General]\nCheckedCount=") + count + "\nCheckedItems_0=192.0.2.7\n");
        EXPECT_TRUE(checked().isEmpty()) << count;
    }
}

TEST_F(SettingsTest, HexCountAndCaseInsensitiveNames) {
    load("[general]\ncheckedcount=0x2\nCHECKEDITEMS_0=a\ncheckeditems_1=b\nminimizeatstartup=0\n");
    EXPECT_EQ(checked(), (QStringList{"a", "b"}));
    EXPECT_FALSE(frm->StartMinimized());
    EXPECT_FALSE(ui().cbMinimizeAtStartup->isChecked());
}

TEST_F(SettingsTest, HugeCountIsCappedInsteadOfHangingStartUp) {
    load("[General]\nCheckedCount=2000000000\nCheckedItems_0=192.0.2.7\n");
    ASSERT_EQ(checked().size(), 1024);
    EXPECT_EQ(checked().first(), "192.0.2.7");
    EXPECT_EQ(checked().last(), "Error");
}

TEST_F(SettingsTest, TheFourWaysOfDetermination) {
    struct Case {
        const char* ini;
        bool list, localIP, internet = false;
    };
    // Files from before the internet check read as they did; the last way set wins.
    const Case cases[] = {{"rbList=1\nrbLocalIP=0", true, false},
                          {"rbList=0\nrbLocalIP=1", false, true},
                          {"rbList=1\nrbLocalIP=1", false, true},
                          {"rbList=0\nrbLocalIP=0", false, false},
                          {"rbList=0\nrbLocalIP=0\nrbInternet=1", false, false, true},
                          {"rbList=1\nrbLocalIP=1\nrbInternet=1", false, false, true},
                          {"rbList=1\nrbInternet=0", true, false}};
    for (const Case& c : cases) {
        frm.reset();
        load(QByteArray("[General]\n") + c.ini + "\n");
        EXPECT_EQ(ui().rbList->isChecked(), c.list) << c.ini;
        EXPECT_EQ(ui().rbLocalIP->isChecked(), c.localIP) << c.ini;
        EXPECT_EQ(ui().rbInternet->isChecked(), c.internet) << c.ini;
        // After a save exactly one way is stored as chosen, and it reads back the same (none
        // chosen is stored as "IP's List").
        frm->SaveAll();
        const QByteArray ini = fileBytes("Vanewire.ini");
        int chosen = 0;
        for (const char* key : {"rbList=1", "rbLocalIP=1", "rbInternet=1"})
            chosen += ini.count(key);
        EXPECT_EQ(chosen, 1) << ini.constData();
        frm.reset();
        create();
        EXPECT_EQ(ui().rbLocalIP->isChecked(), c.localIP) << c.ini;
        EXPECT_EQ(ui().rbInternet->isChecked(), c.internet) << c.ini;
        EXPECT_EQ(ui().rbList->isChecked(), !c.localIP && !c.internet) << c.ini;
    }
}

TEST_F(SettingsTest, ProbeSettingsReadWithDefaultsAndWrittenBack) {
    struct Case {
        const char* ini;
        const char* url;
        const char* expect;
        int interval;
    };
    const Case cases[] = {
        {"", "http://network-test.debian.org/nm", "NetworkManager is online", 30},
        {"ProbeURL=http://198.51.100.1:8080/x\nProbeExpect=\nProbeInterval=2",
         "http://198.51.100.1:8080/x", "", 5},
        {"ProbeExpect=success\nProbeInterval=abc", "http://network-test.debian.org/nm", "success",
         30},
    };
    for (const Case& c : cases) {
        frm.reset();
        load(QByteArray("[General]\n") + c.ini + "\n");
        EXPECT_EQ(frm->Verdict()->Settings().url, c.url) << c.ini;
        EXPECT_EQ(frm->Verdict()->Settings().expect, c.expect) << c.ini;
        EXPECT_EQ(frm->Verdict()->Settings().intervalSecs, c.interval) << c.ini;
        frm->SaveAll();
        const QByteArray ini = fileBytes("Vanewire.ini");
        EXPECT_TRUE(ini.contains(QByteArray("ProbeURL=") + c.url + "\n")) << ini.constData();
        EXPECT_TRUE(ini.contains(QByteArray("ProbeExpect=") + c.expect + "\n")) << ini.constData();
        EXPECT_TRUE(ini.contains("ProbeInterval=" + QByteArray::number(c.interval) + "\n"));
    }
    EXPECT_EQ(probesMade, 0) << "nothing is probed while another way is chosen";
}

TEST_F(SettingsTest, SaveKeepsForeignLinesAndStaleKeys) {
    load("; my notes\n[Other]\nkeep=yes\n\n[General]\nCheckedCount=3\nCheckedItems_0=a\n"
         "CheckedItems_1=b\nCheckedItems_2=c\nExtra=1\n");
    ui().clbIP->ClearItems();
    ui().clbIP->AddChecked("z");
    frm->SaveAll();
    const QByteArray ini = fileBytes("Vanewire.ini");
    EXPECT_TRUE(ini.startsWith("; my notes\n[Other]\nkeep=yes\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("Extra=1"));
    EXPECT_TRUE(ini.contains("CheckedCount=1\n"));
    EXPECT_TRUE(ini.contains("CheckedItems_0=z\n"));
    EXPECT_TRUE(ini.contains("CheckedItems_1=b\n")) << "stale keys stay";
    EXPECT_TRUE(ini.contains("CheckedItems_2=c\n"));

    frm->GetIP();
    frm->LoadAll();
    EXPECT_EQ(checked(), QStringList{"z"});
}

TEST_F(SettingsTest, UnwritableSettingsFileIsReportedAndTheProgramGoesOn) {
    create();
    ASSERT_TRUE(QDir(folder).mkdir("Vanewire.ini"));
    frm->SaveAll();
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"Error in TfrmMain.SaveAll"});
    frm->RefreshAll();
    EXPECT_TRUE(MessageBox::recorded().contains("Error in TfrmMain.SaveAll"));
    EXPECT_TRUE(MessageBox::recorded().contains("Error in TfrmMain.LoadAll"));
}

TEST_F(SettingsTest, RunValuePresentTurnsTheBoxOnAndRewritesItWithThisCopy) {
    LoadAtStartup(runKeys, "/old/place/wirevane", true);
    runKeys.calls.clear();
    create();
    EXPECT_TRUE(ui().cbStartup->isChecked());
    EXPECT_EQ(runKeys.text("Wirevane"), (folder + "wirevane").toStdString());
}

TEST_F(SettingsTest, RunValueAbsentLeavesTheRegistryAloneAtStartUp) {
    create();
    EXPECT_FALSE(ui().cbStartup->isChecked());
    for (const std::string& call : runKeys.calls)
        EXPECT_EQ(call.rfind("OpenKeyAndRead", 0) == 0 || call == "CloseKey", true) << call;
}

TEST_F(SettingsTest, TickingAndClearingTheBoxWritesAndDeletesTheValue) {
    create();
    QTest::mouseClick(ui().cbStartup, Qt::LeftButton);
    EXPECT_EQ(runKeys.text("Wirevane"), (folder + "wirevane").toStdString());
    QTest::mouseClick(ui().cbStartup, Qt::LeftButton);
    EXPECT_EQ(runKeys.values.count("Wirevane"), 0u);
}

TEST_F(SettingsTest, RefusedRunValueChangesAreToldAndTheBoxShowsWhatIsStored) {
    create();
    runKeys.refuseOpen = true;
    QTest::mouseClick(ui().cbStartup, Qt::LeftButton);
    EXPECT_FALSE(ui().cbStartup->isChecked());
    EXPECT_EQ(MessageBox::takeRecorded(),
              QStringList{"Load at Startup could not be turned on: access denied."});
    EXPECT_TRUE(runKeys.values.empty());

    runKeys.refuseOpen = false;
    QTest::mouseClick(ui().cbStartup, Qt::LeftButton);
    ASSERT_TRUE(ui().cbStartup->isChecked());
    runKeys.refuseChange = true;
    QTest::mouseClick(ui().cbStartup, Qt::LeftButton);
    EXPECT_TRUE(ui().cbStartup->isChecked()) << "the value is still there";
    EXPECT_EQ(MessageBox::takeRecorded(),
              QStringList{"Load at Startup could not be turned off: access denied."});
}

TEST_F(SettingsTest, RefusedRewriteAtStartUpShowsNoBox) {
    LoadAtStartup(runKeys, "/old/place/wirevane", true);
    runKeys.refuseChange = true;
    create();
    EXPECT_TRUE(ui().cbStartup->isChecked());
    EXPECT_TRUE(MessageBox::recorded().isEmpty());
    EXPECT_EQ(runKeys.text("Wirevane"), "/old/place/wirevane");
}

} // namespace wv::test
