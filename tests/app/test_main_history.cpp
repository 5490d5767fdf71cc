// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The History page over a prepared log, its way to the Log page, and the notification on
// every change.
#include "FakeDesktopNotifier.h"
#include "FakeSystemClocks.h"
#include "MainWindowFixture.h"
#include "app/History.h"
#include "shell/HistoryView.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace wv::test {
namespace {

class HistoryPageTest : public MainWindowTest {
protected:
    // A prepared log: on 4/12 an outage of 30 min between 12:00 and 12:30; on 5/12 a run
    // killed at its Offline entry at 23:00; then the program starts now (6/12 21:05:07).
    void start(bool notify = false, const QByteArray& extra = {}) {
        QByteArray log = "IP,DD/MM/YY,TIME,MESSAGE\r\n";
        auto add = [&log](const char* ip, const char* date, QTime time, const char* message) {
            log += QByteArray::fromStdString(
                       joinCommaText({ip, date, FormatLongTime(time).toStdString(), message})) +
                   "\r\n";
        };
        add("0.0.0.0", "4/12/26", QTime(8, 0), "Start of program");
        add("192.0.2.1", "4/12/26", QTime(8, 0), "Online");
        add("0.0.0.0", "4/12/26", QTime(12, 0), "Offline");
        add("192.0.2.1", "4/12/26", QTime(12, 30), "Online");
        add("0.0.0.0", "4/12/26", QTime(20, 0), "Stop of program");
        add("0.0.0.0", "5/12/26", QTime(9, 0), "Start of program");
        add("192.0.2.1", "5/12/26", QTime(9, 0), "Online");
        add("0.0.0.0", "5/12/26", QTime(23, 0), "Offline");
        writeFile("Vanewire.txt", log + extra);
        writeFile("Vanewire.ini", notify ? "[General]\nNotifyOnChange=1\n" : "[General]\n");
        frm = std::make_unique<TfrmMain>(TfrmMainEnv{app, tray, resolver, runKeys, clock, folder,
                                                     folder + QStringLiteral("wirevane"), nullptr,
                                                     &clocks, &sleepWatch});
        app.SetMainForm(frm.get());
        frm->SetNotifier(&notifier);
        frm->FormCreate();
    }
    void showHistory(int periodIndex) {
        ui().PageControl1->setCurrentWidget(frm->tsHistory());
        frm->HistoryView()->cboxPeriod()->setCurrentIndex(periodIndex);
        QCoreApplication::processEvents();
    }
    THistoryChart& chart() { return *frm->HistoryView()->Chart(); }
    QString figures() { return frm->HistoryView()->lblFigures()->text(); }
    int barOf(const QDate& day) {
        for (int i = 0; i < int(chart().Bars().size()); ++i)
            if (chart().Bars()[size_t(i)].day == day)
                return i;
        return -1;
    }

    // The messages of the log's last `n` entries.
    QStringList lastMessages(int n) {
        QStringList out;
        TSdfDataSet& t = *frm->LogTable();
        for (int row = std::max(0, t.RowCount() - n); row < t.RowCount(); ++row)
            out << QString::fromStdString(std::string(t.RowValue(row, 3)));
        return out;
    }

    FakeDesktopNotifier notifier;
    FakeSystemClocks clocks;
    FakeSleepWatch sleepWatch;
};

// Sleep and clock changes reach the log: through the sleep manager, seen by the clocks alone,
// and a clock set back; a verdict follows every "Resume".
TEST_F(HistoryPageTest, SleepAndClockChangesAreLogged) {
    start();
    EXPECT_TRUE(sleepWatch.started);
    resolver.setAddresses({"10.1.2.3"});
    poll();
    ASSERT_EQ(lastMessages(1), QStringList{"Online"});

    sleepWatch.Say(true);
    EXPECT_EQ(lastMessages(1), QStringList{"Suspend"});
    EXPECT_EQ(sleepWatch.released, 1);
    EXPECT_TRUE(fileBytes("Vanewire.txt").contains(",Suspend\r\n")) << "on disk before the release";
    resolver.setAddresses({}); // the network goes down as the computer falls asleep
    clocks.Pass(1000);
    poll();
    EXPECT_EQ(lastMessages(1), QStringList{"Suspend"});
    clocks.Sleep(8 * 3600 * 1000);
    resolver.setAddresses({"10.1.2.3"});
    sleepWatch.Say(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(lastMessages(2), (QStringList{"Resume", "Online"}));

    // No word from the sleep manager: the clocks tell, at the next poll.
    clocks.Pass(1000);
    poll();
    clocks.Sleep(3600 * 1000);
    poll();
    QCoreApplication::processEvents();
    EXPECT_EQ(lastMessages(3), (QStringList{"Suspend", "Resume", "Online"}));

    clocks.Pass(1000);
    clocks.SetWall(clocks.Read().wallMs - 3600 * 1000);
    poll();
    EXPECT_EQ(lastMessages(2), (QStringList{"Clock changed", "Clock set"}));
}

// Years of log: a bar per month, labelled with the year.
TEST_F(HistoryPageTest, YearsOfLogAreShownByMonth) {
    start(false);
    frm.reset();
    QByteArray log = fileBytes("Vanewire.txt");
    writeFile("Vanewire.txt", "IP,DD/MM/YY,TIME,MESSAGE\r\n0.0.0.0,1/1/20,8:00:00,\"Start of "
                              "program\"\r\n0.0.0.0,1/1/20,9:00:00,\"Stop of program\"\r\n" +
                                  log.mid(log.indexOf('\n') + 1));
    frm = std::make_unique<TfrmMain>(TfrmMainEnv{app, tray, resolver, runKeys, clock, folder,
                                                 folder + QStringLiteral("wirevane")});
    app.SetMainForm(frm.get());
    frm->FormCreate();
    showHistory(3);
    const auto& bars = chart().Bars();
    ASSERT_EQ(bars.size(), 84u); // January 2020 to December 2026
    EXPECT_EQ(bars.front().day, QDate(2020, 1, 1));
    EXPECT_EQ(bars.front().label, QStringLiteral("1/2020"));
    EXPECT_NEAR(bars.front().online, 0, 1e-9);
    EXPECT_GT(bars.front().offline, 0); // the hour offline on 1 January
    EXPECT_EQ(bars.back().day, QDate(2026, 12, 1));
}

TEST_F(HistoryPageTest, BarsFiguresAndLongestOutagesOfAPreparedLog) {
    start();
    showHistory(0); // last 7 days
    ASSERT_EQ(chart().Bars().size(), 7u);
    EXPECT_EQ(chart().Bars().front().day, QDate(2026, 11, 30));
    EXPECT_EQ(chart().Bars().back().day, QDate(2026, 12, 6));

    struct Expect {
        QDate day;
        double online, offline, notMonitored;
        const char* hint;
    };
    const Expect table[] = {
        {QDate(2026, 12, 3), 0, 0, 1, "Not monitored: 1 d"},
        {QDate(2026, 12, 4), 11.5 / 24, 0.5 / 24, 12.0 / 24, "Offline: 30 min, 1 outage"},
        // The killed run ended at its last entry: no time after 23:00 counts.
        {QDate(2026, 12, 5), 14.0 / 24, 0, 10.0 / 24, "Online: 14 h"},
    };
    for (const Expect& e : table) {
        const int i = barOf(e.day);
        ASSERT_GE(i, 0);
        const THistoryBar& bar = chart().Bars()[size_t(i)];
        EXPECT_NEAR(bar.online, e.online, 1e-9) << i;
        EXPECT_NEAR(bar.offline, e.offline, 1e-9) << i;
        EXPECT_NEAR(bar.notMonitored, e.notMonitored, 1e-9) << i;
        EXPECT_TRUE(bar.hint.contains(e.hint)) << bar.hint.toStdString();
    }
    // 25 h 30 min online out of 26 h monitored (the run started now adds nothing yet).
    EXPECT_TRUE(figures().startsWith("Last 7 days: online 98.0 % of the monitored time. 1 "
                                     "outage, 30 min offline in all; the longest 30 min"))
        << figures().toStdString();
    QListWidget& list = *frm->HistoryView()->lbOutages();
    ASSERT_EQ(list.count(), 1);
    EXPECT_TRUE(list.item(0)->text().startsWith("30 min  from 4/12/26 "))
        << list.item(0)->text().toStdString();

    // The period's choice changes the bars.
    showHistory(1);
    EXPECT_EQ(chart().Bars().size(), 30u);
    showHistory(3);
    EXPECT_EQ(chart().Bars().front().day, QDate(2026, 12, 4))
        << "everything starts at the first entry";
}

TEST_F(HistoryPageTest, TheKeyboardWalksTheDaysWhichAreNamedAndDescribed) {
    start();
    frm->ShowAfterCreate();
    showHistory(0);
    chart().setFocus();
    ASSERT_TRUE(chart().focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(chart().accessibleDescription(), figures()) << "the period's summary";
    const struct {
        Qt::Key key;
        int bar;
    } steps[] = {{Qt::Key_End, 6},   {Qt::Key_Right, 6}, {Qt::Key_Home, 0}, {Qt::Key_Left, 0},
                 {Qt::Key_Right, 1}, {Qt::Key_Down, 2},  {Qt::Key_Up, 1},   {Qt::Key_PageDown, 6}};
    for (const auto& s : steps) {
        QTest::keyClick(&chart(), s.key);
        ASSERT_EQ(chart().CurrentBar(), s.bar) << s.key;
        const QString hint = chart().Bars()[size_t(s.bar)].hint;
        EXPECT_EQ(chart().toolTip(), hint);
        EXPECT_EQ(chart().accessibleName(), QString(hint).replace("\n", ", "));
    }
    // Rebuilding the bars (a new minute, a new entry) keeps the chosen day.
    frm->RefreshHistory();
    EXPECT_EQ(chart().CurrentBar(), 6);
}

TEST_F(HistoryPageTest, ClickOrEnterOnADayShowsItsFirstEntryInTheLogPage) {
    start();
    showHistory(0);
    const struct {
        QDate day;
        int row; // the entry the Log page lands on
    } cases[] = {{QDate(2026, 12, 5), 5},
                 {QDate(2026, 12, 4), 0},
                 {QDate(2026, 12, 6), 8},
                 // a day without entries: the last entry before it
                 {QDate(2026, 12, 2), 0}};
    for (const bool byKeyboard : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(byKeyboard ? "Enter" : "click");
            ui().PageControl1->setCurrentWidget(frm->tsHistory());
            frm->LogTable()->GotoRow(3);
            QCoreApplication::processEvents();
            const int i = barOf(c.day);
            if (byKeyboard) {
                chart().SetCurrentBar(i);
                QTest::keyClick(&chart(), Qt::Key_Return);
            } else {
                QTest::mouseClick(&chart(), Qt::LeftButton, {}, chart().BarRect(i).center());
            }
            EXPECT_EQ(ui().PageControl1->currentWidget(), ui().tsLog);
            EXPECT_EQ(ui().dedDate->date(), c.day);
            EXPECT_EQ(frm->LogTable()->CurrentRow(), c.row) << c.day.toString().toStdString();
        }
}

TEST_F(HistoryPageTest, NewEntriesAndGridEditsUpdateThePage) {
    start();
    showHistory(0);
    clock.advanceSecs(10 * 60);
    resolver.setAddresses({"10.1.2.3"});
    poll(); // "Online" ten minutes after the start: the offline start counts as an outage
    QCoreApplication::processEvents();
    EXPECT_TRUE(figures().contains("2 outages, 40 min offline in all")) << figures().toStdString();
    EXPECT_TRUE(chart().Bars().back().hint.contains("Offline: 10 min, 1 outage"));

    // Deleting the 12:00 "Offline" entry in the grid removes the outage of 4/12.
    frm->LogTable()->GotoRow(2);
    frm->LogTable()->Delete();
    QCoreApplication::processEvents();
    EXPECT_TRUE(figures().contains("1 outage, 10 min offline in all")) << figures().toStdString();
}

TEST_F(HistoryPageTest, ARowBeingInsertedInTheGridLeavesThePageAsItWas) {
    start();
    showHistory(0);
    const QString before = figures();
    // A new row started in the middle of the log and not posted yet, then the History page: the
    // blank row is no entry, and the entries after it still count.
    const struct { int row; } cases[] = {{2}, {0}, {8}};
    for (const auto& c : cases) {
        ui().PageControl1->setCurrentWidget(ui().tsLog);
        frm->LogTable()->GotoRow(c.row);
        frm->LogTable()->Insert();
        showHistory(0);
        EXPECT_EQ(figures().toStdString(), before.toStdString()) << c.row;
        frm->LogTable()->Cancel();
    }
}

TEST_F(HistoryPageTest, NotificationOnEveryChangeOnlyWhenAskedFor) {
    struct Case {
        bool notify;
        QStringList expected;
    };
    const Case cases[] = {
        {false, {}},
        {true,
         {QString::fromUtf8("Online: Online again after 10 min \u2014 10.1.2.3"),
          "Offline: Offline since " + FormatLongTime(QTime(21, 16, 7))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notify);
        clock.set(QDateTime(QDate(2026, 12, 6), QTime(21, 5, 7)));
        notifier.shown.clear();
        start(c.notify);
        EXPECT_EQ(ui().cbNotifyOnChange->isChecked(), c.notify);
        clock.advanceSecs(10 * 60);
        resolver.setAddresses({"10.1.2.3"});
        poll();
        clock.advanceSecs(60);
        resolver.setAddresses({});
        poll();
        EXPECT_EQ(notifier.shown, c.expected);
        app.SetMainForm(nullptr);
        frm.reset();
    }
}

TEST_F(HistoryPageTest, TheBoxIsKeptAtOnceAndAClickShowsTheWindow) {
    start();
    EXPECT_FALSE(frm->isVisible());
    ui().cbNotifyOnChange->click();
    EXPECT_TRUE(fileBytes("Vanewire.ini").contains("NotifyOnChange=1"));
    // A reload of the settings (as the offline branch does) keeps the choice.
    frm->LoadAll();
    EXPECT_TRUE(ui().cbNotifyOnChange->isChecked());
    notifier.Click();
    EXPECT_TRUE(frm->isVisible());
}

} // namespace
} // namespace wv::test
