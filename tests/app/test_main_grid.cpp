// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Edits in the Log grid at awkward moments: whatever moves the log (a new entry, Exit, a move,
// a search) while a cell editor holds typed text, no older entry changes and the typed text
// lands where it was typed.
#include "MainWindowFixture.h"

#include "shell/DBGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <functional>

namespace wv::test {

namespace {
// Lines as one text, for readable failures.
std::string text(const QList<QByteArray>& lines) {
    return lines.join('|').toStdString();
}
std::string text(const QByteArray& line) {
    return line.toStdString();
}

const QByteArray kHeader = "IP,DD/MM/YY,TIME,MESSAGE\r\n";
const QByteArray kLog = "10.1.2.3,1/12/26,9:00:00,Online\r\n"               // row 0
                        "0.0.0.0,1/12/26,9:30:00,Offline\r\n"               // row 1
                        "10.1.2.3,6/12/26,10:00:00,Online\r\n"              // row 2
                        "0.0.0.0,6/12/26,11:00:00,\"Stop of program\"\r\n"; // row 3
} // namespace

class LogGridTest : public MainWindowTest {
protected:
    // The program with the log above (plus its start entry, row 4), its window on the Log page.
    void start(const QByteArray& body = kLog, const QByteArray& header = kHeader) {
        writeFile("Vanewire.txt", header + body);
        create();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        ui().PageControl1->setCurrentWidget(ui().tsLog);
        QApplication::setActiveWindow(frm.get());
        grid().setFocus();
        QCoreApplication::processEvents();
    }
    TDBGrid& grid() { return *ui().DBGrid; }
    QAbstractItemModel& model() { return *grid().model(); }
    // Opens the cell editor on (row, column) as F2 does and types `text` over its value,
    // without leaving the cell.
    QLineEdit* typeInto(int row, int column, const QString& text) {
        grid().setCurrentIndex(model().index(row, column));
        QCoreApplication::processEvents();
        QTest::keyClick(&grid(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid().indexWidget(model().index(row, column)));
        EXPECT_NE(editor, nullptr) << "no cell editor opened";
        if (editor) {
            editor->selectAll();
            QTest::keyClicks(editor, text);
        }
        return editor;
    }
    void insertRowAndType(int before, const QString& text) {
        grid().setCurrentIndex(model().index(before, 0));
        QCoreApplication::processEvents();
        QTest::keyClick(&grid(), Qt::Key_Insert);
        ASSERT_EQ(frm->LogTable()->State(), TDataSetState::dsInsert);
        typeInto(before, 0, text);
    }
    // The log's lines before the start entry (the hand-made ones).
    QList<QByteArray> handMade() { return kLog.trimmed().split('\n'); }
};

// Insert a row before row 2, type an address, then, before leaving the cell, something moves
// the log. The typed row is stored as a new line before the old row 2; every old line stays.
TEST_F(LogGridTest, TypedRowSurvivesWhateverMovesTheLog) {
    struct Case {
        const char* what;
        std::function<void()> move;
        bool stopEntry; // Exit writes "Stop of program" last
    };
    const Case cases[] = {
        {"Exit", [this] { frm->mnuExitClick(); }, true},
        {"status change",
         [this] {
             resolver.setAddresses({"203.0.113.5"});
             poll();
         },
         false},
        {"navigation", [this] { frm->LogTable()->First(); }, false},
        {"another insert", [this] { frm->LogTable()->Insert(); }, false},
        {"search",
         [this] {
             ui().cboxIP->setEditText("10.1.2.3");
             frm->sbtnFindIPClick();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frm.reset();
        start();
        insertRowAndType(2, "192.0.2.7");
        c.move();
        QCoreApplication::processEvents();
        frm.reset(); // the log is written back as it stands
        QList<QByteArray> lines = logLines();
        QList<QByteArray> want = {kHeader.trimmed()};
        for (const QByteArray& l : handMade())
            want << l.trimmed();
        want.insert(3, "192.0.2.7");
        ASSERT_GE(lines.size(), want.size() + 1) << text(lines);
        EXPECT_EQ(text(lines.mid(0, want.size())), text(want));
        EXPECT_EQ(text(lines[want.size()]), text(entry("0.0.0.0", "Start of program")));
        if (c.stopEntry) {
            EXPECT_EQ(text(lines.last()), text(entry("0.0.0.0", "Stop of program")));
        }
        EXPECT_EQ(MessageBox::takeRecorded(), QStringList{});
    }
}

// Closing the log drops an edit in progress, but the open editor never writes into an old row.
TEST_F(LogGridTest, CloseWithTypedTextChangesNoOldEntry) {
    start();
    insertRowAndType(2, "192.0.2.7");
    frm->LogTable()->Close();
    QCoreApplication::processEvents();
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 6);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i + 1], handMade()[i].trimmed());
    EXPECT_FALSE(fileBytes("Vanewire.txt").contains("192.0.2.7"));
}

// A cell editor is open on an older row when an entry is written: the row keeps what was typed
// (or its value, untouched), and the new last entry is the current one, in the log and the grid.
TEST_F(LogGridTest, NewEntryBecomesCurrentWhileAnEditorIsOpenElsewhere) {
    struct Case {
        const char* typed; // the cell's own value: no change
        QByteArray row1;
    };
    const Case cases[] = {{"Offline", "0.0.0.0,1/12/26,9:30:00,Offline"},
                          {"Offline, checked", "0.0.0.0,1/12/26,9:30:00,\"Offline, checked\""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        frm.reset();
        start();
        typeInto(1, 3, QString::fromUtf8(c.typed));
        resolver.setAddresses({"203.0.113.5"});
        poll();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(frm->LogTable()->CurrentRow(), 5);
        EXPECT_EQ(grid().currentIndex().row(), 5);
        EXPECT_EQ(frm->LogTable()->FieldByName("MESSAGE").AsString(), "Online");
        const QList<QByteArray> lines = logLines();
        ASSERT_EQ(lines.size(), 7);
        EXPECT_EQ(text(lines[2]), text(c.row1));
        EXPECT_EQ(text(lines[6]), text(entry("203.0.113.5", "Online")));
    }
}

// F2 then Enter without a change leaves a value's bytes as they are, also bytes that are not
// UTF-8; a real edit replaces them.
TEST_F(LogGridTest, UnchangedEditKeepsBytesRealEditReplacesThem) {
    const QByteArray odd = "0.0.0.0,1/12/26,9:30:00,Caf\xE9\xFF\xFE\r\n";
    struct Case {
        const char* typed; // nullptr: F2 and Enter only
        QByteArray want;
    };
    const Case cases[] = {{nullptr, odd.trimmed()}, {"Cafe", "0.0.0.0,1/12/26,9:30:00,Cafe"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "unchanged");
        frm.reset();
        start(odd);
        grid().setCurrentIndex(model().index(0, 3));
        QCoreApplication::processEvents();
        QTest::keyClick(&grid(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid().indexWidget(model().index(0, 3)));
        ASSERT_NE(editor, nullptr);
        if (c.typed) {
            editor->selectAll();
            QTest::keyClicks(editor, QString::fromUtf8(c.typed));
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        frm->SaveInLog("0.0.0.0", "Stop of program");
        EXPECT_EQ(text(logLines()[1]), text(c.want));
    }
}

TEST_F(LogGridTest, AddressBoxListIsNeverFilled) {
    start();
    QTest::keyClicks(ui().cboxIP, "10.1.2.3");
    QTest::keyClick(ui().cboxIP, Qt::Key_Return);
    frm->sbtnFindIPClick();
    frm->LogTable()->GotoRow(1);
    frm->DBGridDblClick();
    EXPECT_EQ(ui().cboxIP->currentText(), "0.0.0.0");
    EXPECT_EQ(ui().cboxIP->count(), 0);
}

// A double click anywhere in the grid loads the current entry: on a row, and below the last.
TEST_F(LogGridTest, DoubleClickAnywhereLoadsTheCurrentEntry) {
    struct Case {
        const char* where;
        std::function<QPoint()> point;
        const char* time; // of the entry loaded
    };
    const Case cases[] = {
        {"on row 1", [this] { return grid().visualRect(model().index(1, 1)).center(); }, "9:30:00"},
        {"below the last row",
         [this] {
             const QRect last = grid().visualRect(model().index(4, 1));
             return QPoint(last.center().x(), last.bottom() + 30);
         },
         nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        frm.reset();
        start();
        ui().editTime->clear();
        const QPoint at = c.point();
        ASSERT_LT(at.y(), grid().viewport()->height());
        QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        EXPECT_EQ(ui().editTime->text(),
                  c.time ? QString::fromUtf8(c.time) : FormatLongTime(clock.now().time()));
        EXPECT_EQ(frm->LogTable()->State(), TDataSetState::dsBrowse) << "no editor opened";
    }
}

// A log whose entries were all deleted: a search reports "not found", with or without an "IP"
// field in its header.
TEST_F(LogGridTest, SearchInALogWithoutEntriesReportsNotFound) {
    for (const QByteArray& header : {kHeader, QByteArray("ADDR,DD/MM/YY,TIME,MESSAGE\r\n")}) {
        SCOPED_TRACE(header.toStdString());
        frm.reset();
        start({}, header);
        frm->LogTable()->Delete(); // the start entry, the only one
        ASSERT_EQ(frm->LogTable()->RowCount(), 0);
        MessageBox::takeRecorded();
        ui().cboxIP->setEditText("10.1.2.3");
        frm->sbtnFindIPClick();
        EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"6/12/26 and 10.1.2.3 not found"});
    }
}

} // namespace wv::test

namespace wv::test {

// "Delete record?" is open when the cable changes and an entry is written: Yes deletes the
// row that was asked about, not the new entry that became current meanwhile.
TEST_F(LogGridTest, DeleteDeletesTheRowAskedAboutEvenAfterANewEntry) {
    start();
    grid().setCurrentIndex(model().index(1, 0));
    QCoreApplication::processEvents();
    MessageBox::setWhileOpen([this] {
        resolver.setAddresses({"203.0.113.5"});
        poll();
    });
    QTest::keyClick(&grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"Delete record?"});
    frm->SaveInLog("0.0.0.0", "Stop of program");
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 7) << text(lines);
    EXPECT_FALSE(fileBytes("Vanewire.txt").contains("9:30:00")) << text(lines);
    EXPECT_EQ(text(lines[5]), text(entry("203.0.113.5", "Online")));
}

} // namespace wv::test

namespace wv::test {

// While rows are being removed the model takes no writes and starts no second removal: the
// view's reactions (an editor committing, the current index moving) wait for the table.
TEST_F(LogGridTest, NoWritesOrNestedRemovalsWhileRowsAreRemoved) {
    start();
    insertRowAndType(2, QString()); // a new row, nothing typed: moving off it removes it
    int depth = 0;
    int nested = 0;
    bool accepted = false;
    QObject::connect(&model(), &QAbstractItemModel::rowsAboutToBeRemoved, [&] {
        nested += depth;
        ++depth;
        // What an editor closing on its row, or a view moving off it, would do now.
        accepted |= model().setData(model().index(2, 0), "192.0.2.9", Qt::EditRole);
        frm->LogTable()->GotoRow(0);
        --depth;
    });
    frm->LogTable()->Last();
    QCoreApplication::processEvents();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(model().rowCount(), 5);
    frm->SaveInLog("0.0.0.0", "Stop of program");
    EXPECT_FALSE(fileBytes("Vanewire.txt").contains("192.0.2.9"));
    EXPECT_EQ(logLines().size(), 7);
}

} // namespace wv::test
