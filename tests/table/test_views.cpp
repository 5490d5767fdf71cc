// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Views attached to a table: what they are told, and handing over pending input before Post.
#include "TableTestUtil.h"

#include "table/SdfData.h"

#include <gtest/gtest.h>

using namespace wv;
using wv::test::TempDir;
using wv::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

// Records each callback as text, with the row count the table reports at that moment.
class RecordingView : public TDataSetView {
public:
    Strings events;
    std::function<void(TDataSet&)> onUpdateData;

    void dataSetOpened(TDataSet& ds) override { add("opened", ds); }
    void dataSetClosed(TDataSet&) override { events.push_back("closed"); }
    void stateChanged(TDataSet& ds) override { add("state", ds); }
    void recordMoved(TDataSet& ds) override { add("moved", ds); }
    void fieldChanged(TDataSet& ds, TField& f) override { add("field " + f.FieldName(), ds); }
    void recordsChanged(TDataSet& ds) override { add("all", ds); }
    void rowInserted(TDataSet& ds, int row) override { add("ins " + std::to_string(row), ds); }
    void rowRemoved(TDataSet& ds, int row) override { add("del " + std::to_string(row), ds); }
    void rowChanged(TDataSet& ds, int row) override { add("chg " + std::to_string(row), ds); }
    void updateData(TDataSet& ds) override {
        add("update", ds);
        if (onUpdateData)
            onUpdateData(ds);
    }
    Strings take() { return std::exchange(events, {}); }

private:
    void add(const std::string& what, TDataSet& ds) {
        events.push_back(what + " /" + std::to_string(ds.RowCount()));
    }
};

struct Views : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("log.txt");
    RecordingView view; // outlives the table it is attached to
    TSdfDataSet ds;

    void SetUp() override {
        writeBytes(path, "IP,MESSAGE\r\n1.1.1.1,Online\r\n0.0.0.0,Offline\r\n");
        ds.SetFirstLineAsSchema(true);
        ds.SetFileName(path);
        ds.AttachView(&view);
    }
};

} // namespace

TEST_F(Views, AreToldOfEveryChangeAfterItHappened) {
    bool columnsAtAfterOpen = false;
    ds.SetAfterOpen([&](TDataSet& t) {
        columnsAtAfterOpen = t.FieldCount() == 2 && view.events == Strings{"opened /2"};
    });
    ds.Open();
    EXPECT_TRUE(columnsAtAfterOpen);
    view.take();

    ds.Append();
    EXPECT_EQ(view.take(), (Strings{"update /2", "ins 2 /3", "state /3", "moved /3"}));
    ds.Fields(1).SetAsString("Start");
    EXPECT_EQ(view.take(), (Strings{"field MESSAGE /3"}));
    ds.Post();
    EXPECT_EQ(view.take(), (Strings{"update /3", "chg 2 /3", "state /3", "moved /3"}));
    EXPECT_EQ(ds.CurrentRow(), 2);

    ds.First();
    ds.Insert();
    ds.Cancel();
    EXPECT_EQ(view.take(), (Strings{"update /3", "moved /3", "update /3", "ins 0 /4", "state /4",
                                    "moved /4", "del 0 /3", "state /3", "moved /3"}));
    ds.Next();
    ds.Delete();
    EXPECT_EQ(view.take(), (Strings{"update /3", "moved /3", "del 1 /2", "moved /2"}));
    ds.DetachView(&view);
    ds.Close();
    EXPECT_TRUE(view.take().empty());
}

TEST_F(Views, HandOverPendingInputBeforePost) {
    ds.Open();
    view.onUpdateData = [](TDataSet& t) { t.Fields(1).SetAsString("typed"); };
    ds.Edit();
    ds.Post();
    EXPECT_EQ(ds.Fields(1).AsString(), "typed");
    EXPECT_EQ(ds.RowValue(0, 1), "typed");
}

// A new row is being typed in a view when something moves the table: the view's input is
// taken first, and the row is posted as a new line in front of the record it stood before.
// Close takes the input too (so nothing is written later into another row) and drops the edit.
TEST_F(Views, EveryMoveHandsOverPendingInputFirst) {
    struct Case {
        const char* what;
        std::function<void(TDataSet&)> move;
        bool posted;
    };
    const Case cases[] = {
        {"First", [](TDataSet& t) { t.First(); }, true},
        {"Last", [](TDataSet& t) { t.Last(); }, true},
        {"Next", [](TDataSet& t) { t.Next(); }, true},
        {"Prior", [](TDataSet& t) { t.Prior(); }, true},
        {"Append", [](TDataSet& t) { t.Append(); }, true},
        {"Insert", [](TDataSet& t) { t.Insert(); }, true},
        {"GotoRow", [](TDataSet& t) { t.GotoRow(0); }, true},
        {"RecNo", [](TDataSet& t) { t.SetRecNo(2); }, true},
        {"Post", [](TDataSet& t) { t.Post(); }, true},
        {"Close", [](TDataSet& t) { t.Close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ds.Close();
        writeBytes(path, "IP,MESSAGE\r\n1.1.1.1,Online\r\n0.0.0.0,Offline\r\n");
        ds.Open();
        ds.Last();
        ds.Insert(); // in front of 0.0.0.0
        int asked = 0;
        view.onUpdateData = [&](TDataSet& t) {
            ++asked;
            if (t.State() == TDataSetState::dsInsert && !t.Modified())
                t.Fields(0).SetAsString("192.0.2.7"); // the editor's text, handed over
        };
        c.move(ds);
        view.onUpdateData = nullptr;
        EXPECT_GE(asked, 1);
        if (ds.Active() && ds.State() == TDataSetState::dsInsert)
            ds.Cancel(); // the record that Append or Insert started
        ds.Close();
        const std::string want = c.posted ? "IP,MESSAGE\r\n1.1.1.1,Online\r\n192.0.2.7\r\n"
                                            "0.0.0.0,Offline\r\n"
                                          : "IP,MESSAGE\r\n1.1.1.1,Online\r\n0.0.0.0,Offline\r\n";
        EXPECT_EQ(wv::test::readBytes(path), want);
    }
}

TEST_F(Views, MayDetachWhileBeingNotified) {
    RecordingView second;
    ds.AttachView(&second);
    struct Detach {
        TDataSet& t;
        RecordingView& v;
        ~Detach() { t.DetachView(&v); }
    } detach{ds, second};
    view.onUpdateData = [&](TDataSet& t) { t.DetachView(&second); };
    ds.Open();
    ds.Edit();
    ds.Fields(0).SetAsString("x");
    second.take();
    ds.Post();
    EXPECT_TRUE(second.take().empty()); // detached before its turn
    ds.Close();
    EXPECT_EQ(view.events.back(), "closed");
}
