// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The Log page: the grid over the log, loading an entry, searching, and edits made in the grid.
#include "MainWindowFixture.h"

#include <QFontMetrics>

#include "shell/DBGrid.h"

namespace wv::test {

class LogPageTest : public MainWindowTest {
protected:
    // A hand-made log; start-up then adds its start entry (6/12/26) as the last row.
    void start(const QByteArray& body) {
        writeFile("Vanewire.txt", "IP,DD/MM/YY,TIME,MESSAGE\r\n" + body);
        create();
    }
    void search(const QString& ip, bool next = false, bool withDate = false) {
        ui().cboxIP->setEditText(ip);
        ui().cbxNext->setChecked(next);
        ui().cbxWithDate->setChecked(withDate);
        QTest::mouseClick(ui().sbtnFindIP, Qt::LeftButton);
    }
    int row() { return frm->LogTable()->CurrentRow(); }
    TDBGrid& grid() { return *ui().DBGrid; }
};

const QByteArray kLog = "10.1.2.3,1/12/26,9:00:00,Online\r\n"               // row 0
                        "0.0.0.0,1/12/26,9:30:00,Offline\r\n"               // row 1
                        "10.1.2.3,6/12/26,10:00:00,Online\r\n"              // row 2
                        "0.0.0.0,6/12/26,11:00:00,\"Stop of program\"\r\n"; // row 3

TEST_F(LogPageTest, GridShowsEveryEntryWithTheHeaderAsColumns) {
    start(kLog);
    QAbstractItemModel* model = grid().model();
    ASSERT_EQ(model->rowCount(), 5);
    ASSERT_EQ(model->columnCount(), 4);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "DD/MM/YY");
    EXPECT_EQ(model->index(3, 3).data().toString(), "Stop of program");
    // The widths drawn for, or wider where the font needs it: no time or address is cut.
    const int drawn[] = {90, 65, 55, 90};
    const QFontMetrics metrics(grid().font());
    for (int column = 0; column < 4; ++column) {
        EXPECT_GE(grid().columnWidth(column), drawn[column]);
        for (int row = 0; row < model->rowCount(); ++row)
            EXPECT_LE(metrics.horizontalAdvance(model->index(row, column).data().toString()),
                      grid().columnWidth(column) - 6)
                << row << "," << column;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(grid().currentIndex().row(), 4) << "the start entry is current";
}

TEST_F(LogPageTest, WithoutNextEachSearchFindsTheEarliestEntry) {
    start(kLog);
    search("10.1.2.3");
    EXPECT_EQ(row(), 0);
    EXPECT_EQ(ui().dedDate->date(), QDate(2026, 12, 1));
    EXPECT_EQ(ui().editTime->text(), "9:00:00");
    EXPECT_EQ(ui().editMessage->text(), "Online");
    search("10.1.2.3");
    EXPECT_EQ(row(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid().currentIndex().row(), 0) << "the grid follows the search";
}

TEST_F(LogPageTest, NextStepsThroughMatchesThenReportsNotFoundAtTheEnd) {
    start(kLog);
    search("10.1.2.3", true);
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"6/12/26 and 10.1.2.3 not found"})
        << "right after start-up the last entry is current";
    EXPECT_EQ(row(), 4);

    search("10.1.2.3", false);
    search("10.1.2.3", true);
    EXPECT_EQ(row(), 2);
    EXPECT_TRUE(MessageBox::recorded().isEmpty());
    search("10.1.2.3", true);
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"6/12/26 and 10.1.2.3 not found"});
    EXPECT_EQ(row(), 4);
    search("10.1.2.3", true);
    EXPECT_EQ(MessageBox::takeRecorded().size(), 1);
}

TEST_F(LogPageTest, WithDateOnAnUntouchedDateFieldOnlyTodayCounts) {
    start(kLog);
    search("10.1.2.3", false, true);
    EXPECT_EQ(row(), 2);
    ui().dedDate->setDate(QDate(2026, 11, 30));
    search("10.1.2.3", false, true);
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"30/11/26 and 10.1.2.3 not found"});
}

TEST_F(LogPageTest, NotFoundMessageNamesTheDateEvenWithoutDate) {
    start(kLog);
    search("192.0.2.7");
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"6/12/26 and 192.0.2.7 not found"});
}

TEST_F(LogPageTest, AddressesMatchOnlyExactly) {
    start(kLog);
    for (const char* near : {"10.1.2.03", "10.1.2.3 ", " 10.1.2.3", ""}) {
        search(near);
        EXPECT_EQ(MessageBox::takeRecorded().size(), 1) << near;
    }
}

TEST_F(LogPageTest, ZeroAddressFindsOfflineStopAndStartEntries) {
    start(kLog);
    search("0.0.0.0");
    EXPECT_EQ(ui().editMessage->text(), "Offline");
    search("0.0.0.0", true);
    EXPECT_EQ(ui().editMessage->text(), "Stop of program");
    search("0.0.0.0", true);
    EXPECT_EQ(ui().editMessage->text(), "Start of program");
}

TEST_F(LogPageTest, DamagedDateStopsTheSearchOnThatEntry) {
    start("10.1.2.3,1/12/26,9:00:00,Online\r\n"
          "0.0.0.0,yesterday,9:30:00,Offline\r\n"
          "192.0.2.7,6/12/26,10:00:00,Online\r\n");
    search("192.0.2.7");
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"'yesterday' is not a valid date"});
    EXPECT_EQ(row(), 1);
}

TEST_F(LogPageTest, DoubleClickLoadsTheRow) {
    start(kLog);
    frm->LogTable()->GotoRow(3);
    frm->DBGridDblClick();
    EXPECT_EQ(ui().cboxIP->currentText(), "0.0.0.0");
    EXPECT_EQ(ui().dedDate->date(), QDate(2026, 12, 6));
    EXPECT_EQ(ui().editTime->text(), "11:00:00");
    EXPECT_EQ(ui().editMessage->text(), "Stop of program");
    EXPECT_FALSE(ui().editTime->isVisible());
    EXPECT_TRUE(ui().editTime->isHidden());
}

TEST_F(LogPageTest, EmptiedMessageGivesTheLoadingErrorAfterDateAndTime) {
    start("10.1.2.3,1/12/26,9:00:00,\r\n");
    ui().cboxIP->setEditText("keep");
    frm->LogTable()->GotoRow(0);
    frm->DataFromTable();
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"Error of loading data from table"});
    EXPECT_EQ(ui().dedDate->date(), QDate(2026, 12, 1));
    EXPECT_EQ(ui().editTime->text(), "9:00:00");
    EXPECT_EQ(ui().cboxIP->currentText(), "keep");
}

TEST_F(LogPageTest, GridEditsReachTheFileWithTheNextEntry) {
    start(kLog);
    QAbstractItemModel* model = grid().model();
    ASSERT_TRUE(model->setData(model->index(1, 3), "Offline, checked", Qt::EditRole));
    EXPECT_EQ(model->index(1, 3).data().toString(), "Offline, checked");
    EXPECT_FALSE(fileBytes("Vanewire.txt").contains("checked")) << "not before the next entry";
    frm->SaveInLog("0.0.0.0", "Stop of program");
    const QList<QByteArray> lines = logLines();
    EXPECT_EQ(lines[2], "0.0.0.0,1/12/26,9:30:00,\"Offline, checked\"");
    EXPECT_EQ(lines.last(), entry("0.0.0.0", "Stop of program"));
}

TEST_F(LogPageTest, InsertAndDeleteRowsFromTheKeyboard) {
    start(kLog);
    grid().setFocus();
    frm->LogTable()->GotoRow(1);
    QCoreApplication::processEvents();
    QTest::keyClick(&grid(), Qt::Key_Insert);
    EXPECT_EQ(grid().model()->rowCount(), 6);
    ASSERT_TRUE(grid().model()->setData(grid().model()->index(1, 0), "192.0.2.7", Qt::EditRole));
    frm->LogTable()->GotoRow(4); // moving off posts the new row

    MessageBox::setNextAnswer(false);
    QTest::keyClick(&grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"Delete record?"});
    EXPECT_EQ(grid().model()->rowCount(), 6);
    QCoreApplication::processEvents();
    QTest::keyClick(&grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid().model()->rowCount(), 5);

    frm->SaveInLog("0.0.0.0", "Stop of program");
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[2], "192.0.2.7");
    EXPECT_FALSE(fileBytes("Vanewire.txt").contains("11:00:00")) << "the deleted row is gone";
}

} // namespace wv::test
