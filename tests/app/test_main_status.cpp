// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The status decision: verdicts by both ways, what the window, icons, tooltip and log show.
#include "MainWindowFixture.h"
#include "shell/Colours.h"

#include <QDesktopServices>
#include <QDir>

namespace wv::test {

namespace {
QImage picture(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}
} // namespace

class StatusTest : public MainWindowTest {
protected:
    // Starts with the given settings file, "IP's List" by default.
    void start(const QByteArray& ini = "[General]\nrbList=1\nrbLocalIP=0\n") {
        writeFile("Vanewire.ini", ini);
        create();
    }
    int entries(const QByteArray& message) {
        int n = 0;
        for (const QByteArray& l : logLines())
            n += l.endsWith("," + message);
        return n;
    }
    QString tip() { return tray.requests.back().data.Tip(); }
    QColor statusColour() { return ui().Label3->palette().color(QPalette::WindowText); }
};

TEST_F(StatusTest, OnlineWithEmptyLocalListLogsOnceAndShowsTheAddress) {
    start();
    resolver.setAddresses({"10.0.0.7"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Online");
    EXPECT_NEAR(statusColour().hslHueF(), QColor(Qt::green).hslHueF(), 0.01) << "green";
    EXPECT_GE(ContrastRatio(statusColour(), ui().GroupBox1->palette().color(QPalette::Window)),
              4.5);
    EXPECT_EQ(ui().Label4->text(), "IP: 10.0.0.7");
    EXPECT_EQ(tip(), "10.0.0.7");
    EXPECT_EQ(picture(tray.requests.back().data.hIcon), picture(LoadIconResource("MAINICON")));
    EXPECT_EQ(logLines().last(), entry("10.0.0.7", "Online"));
    EXPECT_TRUE(frm->WasOnline());

    // The address changes while the verdict stays online: display follows, no new entry.
    resolver.setAddresses({"10.0.0.9"});
    poll();
    EXPECT_EQ(ui().Label4->text(), "IP: 10.0.0.9");
    EXPECT_EQ(tip(), "10.0.0.9");
    EXPECT_EQ(entries("Online"), 1);
}

TEST_F(StatusTest, LastAddressDecidesNotTheFirst) {
    start();
    resolver.setAddresses({"192.168.0.2", "10.0.0.7"});
    frm->RefreshAll();         // fills the list with both
    ui().clbIP->ToggleItem(0); // 192.168.0.2 is local
    poll();
    EXPECT_EQ(ui().Label3->text(), "Online");
    EXPECT_EQ(logLines().last(), entry("10.0.0.7", "Online"));
}

TEST_F(StatusTest, CheckedAddressIsLocalAndNothingIsLoggedWhileOffline) {
    start("[General]\nrbList=1\nrbLocalIP=0\nCheckedCount=1\nCheckedItems_0=192.168.0.2\n");
    resolver.setAddresses({"192.168.0.2"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_NEAR(statusColour().hslHueF(), 0.0, 0.01) << "red";
    EXPECT_GE(ContrastRatio(statusColour(), ui().GroupBox1->palette().color(QPalette::Window)),
              4.5);
    EXPECT_EQ(ui().Label4->text(), "");
    EXPECT_EQ(tip(), "Offline");
    EXPECT_EQ(logLines().size(), 2) << "header and start entry only";
}

TEST_F(StatusTest, SavedAddressTheHostNoLongerHasStillCountsAsLocal) {
    resolver.setAddresses({"10.0.0.7"});
    start("[General]\nrbList=1\nCheckedCount=1\nCheckedItems_0=172.16.5.5\n");
    ASSERT_EQ(ui().clbIP->count(), 1);
    EXPECT_FALSE(ui().clbIP->IsChecked(0));
    resolver.setAddresses({"172.16.5.5"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    // And it is saved again.
    frm->SaveAll();
    EXPECT_TRUE(fileBytes("Vanewire.ini").contains("CheckedItems_0=172.16.5.5"));
}

TEST_F(StatusTest, AddressesCompareAsExactText) {
    start("[General]\nrbList=1\nCheckedCount=1\nCheckedItems_0=010.0.0.7\n");
    resolver.setAddresses({"10.0.0.7"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Online");
}

TEST_F(StatusTest, LocalIpWayNeedsTwoDifferentAddresses) {
    start("[General]\nrbList=0\nrbLocalIP=1\n");
    resolver.setAddresses({"192.168.0.2"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_EQ(logLines().size(), 2);

    resolver.setAddresses({"192.168.0.2", "10.0.0.7"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Online");
    EXPECT_EQ(logLines().last(), entry("10.0.0.7", "Online"));
}

TEST_F(StatusTest, LoopbackOnlyNotifiesButIsOffline) {
    start();
    resolver.setAddresses({"127.0.0.1"});
    poll();
    EXPECT_EQ(frm->OnlineIP1()->IP(), "127.0.0.1");
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(StatusTest, NeitherWayChosenCountsEveryAddressAsInternet) {
    start("[General]\nrbList=0\nrbLocalIP=0\n");
    ASSERT_FALSE(ui().rbList->isChecked());
    ASSERT_FALSE(ui().rbLocalIP->isChecked());
    resolver.setAddresses({"10.0.0.7"});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Online");
}

TEST_F(StatusTest, GoingOfflineLogsOnceAndRebuildsListWithSavedMarks) {
    start("[General]\nrbList=1\nCheckedCount=1\nCheckedItems_0=192.168.0.2\n");
    resolver.setAddresses({"192.168.0.2", "10.0.0.7"});
    poll();
    ASSERT_EQ(entries("Online"), 1);
    // A mark made since the last save is replaced by the saved ones on the way offline.
    frm->GetIP();
    frm->LoadAll();
    ui().clbIP->ToggleItem(1);
    ASSERT_EQ(ui().clbIP->CheckedItems().size(), 2);

    resolver.setAddresses({"192.168.0.2"});
    poll();
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Offline"));
    EXPECT_FALSE(frm->WasOnline());
    EXPECT_EQ(ui().clbIP->count(), 1);
    EXPECT_EQ(ui().clbIP->CheckedItems(), QStringList{"192.168.0.2"});
    EXPECT_EQ(picture(tray.requests.back().data.hIcon), picture(LoadIconResource("OFFLINE")));

    poll(); // same reading: no notification, nothing new
    resolver.setAddresses({});
    poll(); // empty address: offline again, latch already clear
    EXPECT_EQ(entries("Offline"), 1);
}

TEST_F(StatusTest, OnlineOfflineOnlineGivesThreeEntries) {
    start();
    resolver.setAddresses({"203.0.113.5"});
    poll();
    resolver.setAddresses({});
    poll();
    resolver.setAddresses({"198.51.100.9"});
    poll();
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[2], entry("203.0.113.5", "Online"));
    EXPECT_EQ(lines[3], entry("0.0.0.0", "Offline"));
    EXPECT_EQ(lines[4], entry("198.51.100.9", "Online"));
}

TEST_F(StatusTest, RefreshBeforeFirstPollIsOfflineAndLogsNothing) {
    start();
    resolver.setAddresses({"10.0.0.7"});
    frm->mnuRefreshClick();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_EQ(logLines().size(), 2);
    EXPECT_EQ(ui().clbIP->count(), 1);
}

TEST_F(StatusTest, RefreshAfterMarkingTheCurrentAddressSavesAndGoesOffline) {
    start();
    resolver.setAddresses({"10.0.0.7"});
    poll();
    frm->GetIP();
    ui().clbIP->ToggleItem(0);
    frm->mnuRefreshClick();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Offline"));
    EXPECT_TRUE(fileBytes("Vanewire.ini").contains("CheckedItems_0=10.0.0.7"));
    EXPECT_EQ(ui().clbIP->CheckedItems(), QStringList{"10.0.0.7"});
}

TEST_F(StatusTest, FailedLogSaveStillMovesTheLatchAndTheEntryIsWrittenLater) {
    start();
    // Something in the log's place that no file can be renamed over.
    ASSERT_TRUE(QFile::remove(folder + "Vanewire.txt"));
    ASSERT_TRUE(QDir(folder).mkdir("Vanewire.txt"));
    resolver.setAddresses({"10.0.0.7"});
    poll();
    EXPECT_TRUE(frm->WasOnline()) << "the entry is in the table, so the latch follows";
    EXPECT_EQ(tip(), "10.0.0.7");
    QCoreApplication::processEvents(); // the box opens from the message loop
    ASSERT_EQ(MessageBox::recorded().size(), 1);
    EXPECT_TRUE(MessageBox::recorded()[0].startsWith("Cannot create file"));

    ASSERT_TRUE(QDir(folder).rmdir("Vanewire.txt"));
    resolver.setAddresses({"10.0.0.8"});
    poll(); // still online: no entry of its own
    resolver.setAddresses({});
    poll();
    // The held entry is written with the next one, once, in its place.
    EXPECT_EQ(entries("Online"), 1);
    EXPECT_EQ(logLines()[2], entry("10.0.0.7", "Online"));
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Offline"));
}

TEST_F(StatusTest, AddressListFollowsTheHostAndClearingItEmptiesTheMarks) {
    start("[General]\nrbList=1\nCheckedCount=2\nCheckedItems_0=192.0.2.7\nCheckedItems_1=x\n");
    EXPECT_EQ(ui().clbIP->CheckedItems().size(), 2);
    resolver.setAddresses({"192.0.2.7", "198.51.100.9", "192.0.2.7"});
    frm->GetIP();
    EXPECT_EQ(ui().clbIP->count(), 3) << "duplicates are not removed";
    EXPECT_TRUE(ui().clbIP->CheckedItems().isEmpty());
}

// A recorder for the browser: QDesktopServices hands http pages to it instead.
class PageRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(StatusTest, InternetCheckFollowsTheProbeAndTellsACaptivePortalApart) {
    start("[General]\nrbList=0\nrbLocalIP=0\nrbInternet=1\nProbeURL=http://198.51.100.1/nm\n");
    PageRecorder browser;
    QDesktopServices::setUrlHandler("http", &browser, "open");
    resolver.setAddresses({"198.51.100.2"});
    poll();
    ASSERT_TRUE(probe->out()) << "a new reading sends a probe at once";
    EXPECT_EQ(probe->url, QUrl("http://198.51.100.1/nm"));
    EXPECT_EQ(ui().Label3->text(), "Offline") << "an address alone is not enough";

    probe->answer(ProbeAnswer::Kind::Internet);
    EXPECT_EQ(ui().Label3->text(), "Online");
    EXPECT_EQ(tip(), "198.51.100.2");
    EXPECT_EQ(logLines().last(), entry("198.51.100.2", "Online"));

    frm->Verdict()->RunTimer();
    probe->answer(ProbeAnswer::Kind::CaptivePortal, QUrl("http://198.51.100.1/login"));
    EXPECT_EQ(ui().Label3->text(), "Sign-in required");
    EXPECT_EQ(tip(), "Sign-in required");
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Offline"));
    EXPECT_FALSE(ui().btnSignIn->isHidden());
    EXPECT_TRUE(frm->mnuSignIn()->isVisible());
    QTest::mouseClick(ui().btnSignIn, Qt::LeftButton);
    frm->mnuSignIn()->trigger();
    EXPECT_EQ(browser.opened,
              (QList<QUrl>{QUrl("http://198.51.100.1/login"), QUrl("http://198.51.100.1/login")}));

    // The cable goes out: offline at once, the button gone, no probe sent without an address.
    const int starts = probe->starts;
    resolver.setAddresses({});
    poll();
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_TRUE(ui().btnSignIn->isHidden());
    EXPECT_FALSE(frm->mnuSignIn()->isVisible());
    EXPECT_EQ(probe->starts, starts);
    EXPECT_EQ(entries("Offline"), 1);
    QDesktopServices::unsetUrlHandler("http");
}

TEST_F(StatusTest, AddressWaysMakeNoProbeAndChoosingAnotherWayStopsIt) {
    start();
    resolver.setAddresses({"198.51.100.2"});
    poll();
    frm->Verdict()->RunTimer();
    EXPECT_EQ(probesMade, 0);
    ASSERT_EQ(ui().Label3->text(), "Online");
    ui().rbInternet->setChecked(true); // chosen by hand: the probe goes at once
    ASSERT_TRUE(probe->out());
    ui().rbLocalIP->setChecked(true);
    EXPECT_FALSE(probe->out()) << "cancelled";
    EXPECT_EQ(frm->Verdict()->PendingDelayMs(), -1);

    ui().rbInternet->setChecked(true);
    probe->answer(ProbeAnswer::Kind::NoInternet); // its first answer is shown, whatever it is
    EXPECT_EQ(ui().Label3->text(), "Offline");
    EXPECT_EQ(logLines().last(), entry("0.0.0.0", "Offline"));
    // On the way offline the saved way comes back, as any unsaved change of the window does,
    // and with it the probes stop.
    EXPECT_TRUE(ui().rbList->isChecked());
    EXPECT_EQ(frm->Verdict()->PendingDelayMs(), -1);
}

} // namespace wv::test

#include "test_main_status.moc"
