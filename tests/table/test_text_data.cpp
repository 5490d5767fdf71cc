// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// TTextDataSet: lines as records, navigation, editing, write-back and its failures.
#include "TableTestUtil.h"

#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/SdfTextData.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace wv;
using wv::test::readBytes;
using wv::test::TempDir;
using wv::test::writeBytes;

namespace {

// All records from the first to Eof, read through the field "Line".
std::vector<std::string> records(TDataSet& ds) {
    std::vector<std::string> out;
    for (ds.First(); !ds.Eof(); ds.Next())
        out.push_back(ds.FieldByName("line").AsString());
    return out;
}

template <typename E> std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "<no " + std::string(typeid(E).name()) + ">";
}

struct TextTable : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("t.txt");
    TTextDataSet ds;

    void openWith(const std::string& bytes) {
        writeBytes(path, bytes);
        ds.SetFileName(path);
        ds.Open();
    }
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(TextTable, LineEndsAreReadAlikeAndWrittenAsCrLf) {
    for (const std::string bytes : {"a\r\nb\r\nc", "a\nb\nc\n", "a\rb\rc\r", "a\n\rb\r\nc"}) {
        openWith(bytes);
        EXPECT_EQ(records(ds), (Strings{"a", "b", "c"})) << bytes;
        EXPECT_EQ(ds.RecordCount(), 3);
        ds.Flush();
        EXPECT_EQ(readBytes(path), "a\r\nb\r\nc\r\n") << bytes;
        ds.Close();
    }
}

TEST_F(TextTable, BlankLinesAndNulBytesLoseNothing) {
    openWith("a\r\nb\r\n\r\nc\r\n\n\nd");
    EXPECT_EQ(records(ds), (Strings{"a", "b", "c", "d"}));
    ds.Flush();
    EXPECT_EQ(readBytes(path), "a\r\nb\r\nc\r\nd\r\n");
    ds.Close();

    openWith(std::string("x\0y\r\n\0\r\nz\0", 10));
    EXPECT_EQ(records(ds), (Strings{"xy", "z"}));
    ds.Edit();
    ds.Fields(0).SetAsString("zz");
    ds.Post();
    ds.Close(); // a change: written back
    EXPECT_EQ(readBytes(path), "xy\r\nzz\r\n");
}

TEST_F(TextTable, EmptyFileHasNoRecords) {
    openWith("");
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Bof());
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_TRUE(ds.Fields(0).IsNull());
    EXPECT_EQ(ds.GetBookmark(), 0);
    ds.Last();
    EXPECT_TRUE(ds.Eof() && ds.Bof());
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Delete(); }),
              "Cannot perform this operation on an empty dataset");
}

TEST_F(TextTable, LongLinesAreCutToTheRecordSizeOnACharacterBoundary) {
    const std::string longLine(300, 'x');
    // 239 bytes, then a two-byte character that would straddle the 240-byte limit.
    const std::string utf8Line = std::string(239, 'y') + "\xC3\xA9z";
    openWith(longLine + "\n" + utf8Line + "\n");
    EXPECT_EQ(ds.Fields(0).AsString(), std::string(240, 'x'));
    ds.Edit();
    ds.Fields(0).SetAsString(ds.Fields(0).AsString() + "more");
    ds.Post();
    ds.Next();
    EXPECT_EQ(ds.Fields(0).AsString(), std::string(239, 'y'));
    ds.Fields(0).SetAsString("\xE2\x82\xAC" + std::string(240, 'q')); // 3-byte euro sign first
    EXPECT_EQ(ds.Fields(0).AsString(), "\xE2\x82\xAC" + std::string(237, 'q'));
    ds.Close();
    EXPECT_EQ(readBytes(path), std::string(240, 'x') + "\r\n" + utf8Line + "\r\n");
}

TEST_F(TextTable, AppendGoesToTheEndAndInsertBeforeTheCurrentRecord) {
    openWith("1\n2\n3\n4\n");
    ds.Next(); // on 2
    ds.Append();
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    EXPECT_TRUE(ds.Fields(0).IsNull());
    ds.Fields(0).SetAsString("end");
    ds.Post();
    EXPECT_EQ(ds.Fields(0).AsString(), "end");
    EXPECT_EQ(ds.RecNo(), 5);

    ds.SetRecNo(3);
    ds.Insert();
    ds.Fields(0).SetAsString("2.5");
    ds.Post();
    EXPECT_EQ(ds.Fields(0).AsString(), "2.5");
    EXPECT_EQ(ds.RecNo(), 3);
    EXPECT_EQ(records(ds), (Strings{"1", "2", "2.5", "3", "4", "end"}));
    ds.Flush();
    EXPECT_EQ(readBytes(path), "1\r\n2\r\n2.5\r\n3\r\n4\r\nend\r\n");
}

TEST_F(TextTable, InsertIntoAnEmptyTableAddsTheFirstLine) {
    openWith("");
    ds.Insert();
    ds.Fields(0).SetAsString("first");
    ds.Post();
    ds.Edit(); // with a record now: edits it
    EXPECT_EQ(ds.State(), TDataSetState::dsEdit);
    ds.Cancel();
    ds.Insert();
    ds.Fields(0).SetAsString("zero");
    ds.Post();
    EXPECT_EQ(records(ds), (Strings{"zero", "first"}));
}

TEST_F(TextTable, RecordPostedEmptyIsGoneAfterReopen) {
    openWith("a\r\n");
    ds.Append();
    ds.Post(); // no field assigned: an empty line
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_TRUE(ds.Fields(0).IsNull());
    ds.Close();
    EXPECT_EQ(readBytes(path), "a\r\n\r\n");
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 1);
}

TEST_F(TextTable, CloseWritesBackOnlyAfterAChangeInTheComponentsLife) {
    openWith("a\nb");
    ds.Close();
    EXPECT_EQ(readBytes(path), "a\nb"); // untouched

    ds.Open();
    ds.Edit();
    ds.Fields(0).SetAsString("A");
    ds.Post();
    ds.Close();
    EXPECT_EQ(readBytes(path), "A\r\nb\r\n");

    writeBytes(path, "x\ny");
    ds.Open();
    ds.Close(); // changed stays set for the component's life
    EXPECT_EQ(readBytes(path), "x\r\ny\r\n");
}

TEST_F(TextTable, RecNoAndNavigation) {
    openWith("1\n2\n3\n4\n5\n");
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 1);
    ds.Last();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 5);
    ds.SetRecNo(5);
    EXPECT_EQ(ds.RecNo(), 5);
    ds.SetRecNo(0);
    ds.SetRecNo(6);
    EXPECT_EQ(ds.Fields(0).AsString(), "5");
    ds.SetRecNo(2);
    EXPECT_EQ(ds.Fields(0).AsString(), "2");
    EXPECT_EQ(ds.MoveBy(10), 3);
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.Fields(0).AsString(), "5");
    EXPECT_EQ(ds.MoveBy(1), 0); // Eof already
    EXPECT_EQ(ds.MoveBy(-10), -4);
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.Fields(0).AsString(), "1");
    ds.Prior();
    EXPECT_EQ(ds.RecNo(), 1);
}

TEST_F(TextTable, DeleteKeepsANeighbourCurrent) {
    openWith("a\nb\nc\n");
    ds.Last();
    ds.Delete();
    EXPECT_EQ(ds.Fields(0).AsString(), "b");
    ds.First();
    ds.Delete();
    EXPECT_EQ(ds.Fields(0).AsString(), "b");
    ds.Edit();
    ds.Fields(0).SetAsString("changed");
    ds.Delete(); // the change goes with the record
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.Append();
    ds.Delete(); // in Insert state: cancels
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.Close();
    EXPECT_EQ(readBytes(path), "");
}

TEST_F(TextTable, PendingEditsArePostedOrCancelledOnAMove) {
    openWith("a\nb\nc\n");
    ds.Edit();
    ds.Fields(0).SetAsString("A");
    ds.Next(); // posts
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds.Fields(0).AsString(), "b");
    ds.Edit(); // nothing assigned: cancelled by the move
    ds.Last();
    ds.Fields(0).SetAsString("browse only"); // Browse state: shown, never stored
    EXPECT_EQ(ds.Fields(0).AsString(), "browse only");
    ds.Append(); // finishes nothing, starts a new record
    ds.Fields(0).SetAsString("new");
    ds.First(); // posts the new record
    EXPECT_EQ(records(ds), (Strings{"A", "b", "c", "new"}));
    ds.First();
    ds.Insert();
    ds.Cancel();
    EXPECT_EQ(ds.Fields(0).AsString(), "A");
    EXPECT_EQ(ds.RecordCount(), 4);
}

TEST_F(TextTable, BookmarksFollowTheirLines) {
    openWith("a\nb\nc\n");
    ds.Next();
    const TBookmark b = ds.GetBookmark();
    EXPECT_EQ(b, 2);
    ds.First();
    ds.Insert();
    ds.Fields(0).SetAsString("new");
    ds.Post();
    EXPECT_EQ(ds.GetBookmark(), 4); // ids are not reused
    ds.GotoBookmark(b);
    EXPECT_EQ(ds.Fields(0).AsString(), "b");
    EXPECT_EQ(ds.RecNo(), 3);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.GotoBookmark(99); }), "Bookmark not found");
    EXPECT_EQ(ds.Fields(0).AsString(), "b");
    EXPECT_EQ(ds.RecNo(), 3);
}

TEST_F(TextTable, MessagesOfAClosedTableAndBadCalls) {
    const std::string closed = "Cannot perform this operation on a closed dataset";
    for (auto op : std::vector<std::function<void()>>{
             [&] { ds.First(); }, [&] { ds.Last(); }, [&] { ds.Next(); }, [&] { ds.MoveBy(-1); },
             [&] { ds.Append(); }, [&] { ds.Insert(); }, [&] { ds.Edit(); }, [&] { ds.Delete(); },
             [&] { ds.Flush(); }, [&] { ds.RecordCount(); }, [&] { ds.RecNo(); },
             [&] { ds.SetRecNo(1); }, [&] { ds.GotoBookmark(1); }})
        EXPECT_EQ(messageOf<EDatabaseError>(op), closed);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Post(); }), "Dataset not in edit or insert mode");
    ds.Cancel(); // nothing
    EXPECT_EQ(ds.FindField("Line"), nullptr);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.FieldByName("Line"); }),
              ": Field 'Line' not found");

    openWith("a\n");
    ds.SetName("tblLog");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Post(); }), "Dataset not in edit or insert mode");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.FieldByName("IP"); }),
              "tblLog: Field 'IP' not found");
    EXPECT_EQ(messageOf<EListError>([&] { ds.Fields(1); }), "List index out of bounds (1)");
    EXPECT_EQ(messageOf<EListError>([&] { ds.Fields(-1); }), "List index out of bounds (-1)");
    ASSERT_NE(ds.FindField("LINE"), nullptr);
    EXPECT_EQ(ds.FindField("LINE")->Size(), 240);
    EXPECT_EQ(ds.FindField("LINE")->FieldNo(), 1);
}

TEST_F(TextTable, FailedOpenLeavesTheTableClosed) {
    int afterOpenCalls = 0;
    ds.SetAfterOpen([&](TDataSet& t) {
        ++afterOpenCalls;
        EXPECT_EQ(t.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(t.Fields(0).AsString(), "first");
    });
    ds.SetFileName(dir.file("missing.txt"));
    EXPECT_EQ(messageOf<EFileError>([&] { ds.Open(); }),
              "Cannot open file " + dir.file("missing.txt"));
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_EQ(afterOpenCalls, 0);
    EXPECT_FALSE(pathExists(dir.file("missing.txt")));
    openWith("first\nsecond");
    EXPECT_EQ(afterOpenCalls, 1);
}

TEST_F(TextTable, FailedSaveLeavesTheOldFileWholeAndTheTableOpen) {
    const std::string old = "line one\r\nline two\r\n";
    openWith(old);
    ds.Append();
    ds.Fields(0).SetAsString(std::string(200, 'n'));
    ds.Post();
    // A file-size limit stops writing beyond 64 bytes, also for root, like a full disk would.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    int code = 0;
    try {
        ds.Flush();
    } catch (const EFileError& e) {
        message = e.what();
        code = e.Code();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(message, "Cannot create file " + path);
    EXPECT_EQ(code, EFBIG) << "the system's reason travels with the error";
    EXPECT_EQ(fileErrorReason(code), "The file has grown too large.");
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(dir.entries(), (Strings{"t.txt"})); // no temporary file left behind
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecordCount(), 3);

    // A folder that is a file: the next save fails, then closing fails the same way but closes.
    writeBytes(dir.file("notafolder"), "x");
    ds.SetFileName(dir.file("notafolder") + "/t.txt");
    EXPECT_EQ(messageOf<EFileError>([&] { ds.Close(); }),
              "Cannot create file " + dir.file("notafolder") + "/t.txt");
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(readBytes(path), old);
}

TEST_F(TextTable, FileNameMayChangeWhileOpen) {
    openWith("a\n");
    const std::string other = dir.file("other.txt");
    ds.SetFileName(other);
    ds.Flush();
    EXPECT_EQ(readBytes(other), "a\r\n");
    EXPECT_EQ(readBytes(path), "a\n");
}

TEST_F(TextTable, SaveWritesThroughASymbolicLinkAndKeepsPermissions) {
    const std::string target = dir.file("real.txt");
    writeBytes(target, "a\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::filesystem::create_symlink(target, path);
    ds.SetFileName(path);
    ds.Open();
    ds.Flush();
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readBytes(target), "a\r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}
