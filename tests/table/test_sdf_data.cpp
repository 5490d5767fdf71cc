// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// TSdfDataSet: schema line and schema files, comma-delimited fields, widths and failures.
#include "TableTestUtil.h"

#include "table/Errors.h"
#include "table/FileIO.h"
#include "table/SdfData.h"

#include <gtest/gtest.h>

using namespace wv;
using wv::test::readBytes;
using wv::test::TempDir;
using wv::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

const std::string kHeader = "IP,DD/MM/YY,TIME,MESSAGE";

template <typename E> std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "<no such error>";
}

struct SdfTable : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("Vanewire.txt");
    TSdfDataSet ds;

    void openLog(const std::string& bytes) {
        writeBytes(path, bytes);
        ds.SetFirstLineAsSchema(true);
        ds.SetFileName(path);
        ds.Open();
    }
    void writeEntry(const Strings& values) {
        ds.Append();
        for (std::size_t i = 0; i < values.size(); ++i)
            ds.Fields(static_cast<int>(i)).SetAsString(values[i]);
        ds.Post();
    }
    // Every record, its fields read by name.
    std::vector<Strings> rows() {
        std::vector<Strings> out;
        for (ds.First(); !ds.Eof(); ds.Next()) {
            Strings row;
            for (int i = 0; i < ds.FieldCount(); ++i)
                row.push_back(ds.FieldByName(ds.Fields(i).FieldName()).AsString());
            out.push_back(row);
        }
        return out;
    }
};

} // namespace

TEST_F(SdfTable, HeaderOnlyLogTakesItsFirstEntry) {
    openLog(kHeader);
    ASSERT_EQ(ds.FieldCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ds.Fields(i).Size(), 24);
    EXPECT_EQ(ds.Fields(1).FieldName(), "DD/MM/YY");
    EXPECT_EQ(ds.RecordSize(), 4 * 28);
    EXPECT_TRUE(ds.Eof() && ds.Bof());
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_TRUE(ds.FieldByName("IP").IsNull());
    writeEntry({"0.0.0.0", "6/12/26", "23:27:20", "Start of program"});
    ds.Flush();
    EXPECT_EQ(readBytes(path), kHeader + "\r\n0.0.0.0,6/12/26,23:27:20,\"Start of program\"\r\n");
    writeEntry({"10.1.2.3", "6/12/26", "9:05:07 PM", "Online"});
    ds.Flush();
    EXPECT_EQ(readBytes(path), kHeader + "\r\n0.0.0.0,6/12/26,23:27:20,\"Start of program\"\r\n" +
                                   "10.1.2.3,6/12/26,\"9:05:07 PM\",Online\r\n");
    EXPECT_EQ(ds.FieldByName("message").AsString(), "Online"); // the new record is current
}

TEST_F(SdfTable, SchemaLineIsHiddenFromNavigationButCountsInRecNo) {
    openLog(kHeader + "\r\n1.1.1.1,1/1/26,1:00:00,Online\r\n2.2.2.2,2/1/26,2:00:00,Offline\r\n" +
            "3.3.3.3,3/1/26,3:00:00,Online\r\n");
    EXPECT_EQ(ds.RecordCount(), 4);
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ds.FieldByName("IP").AsString(), "1.1.1.1");
    ds.Last();
    EXPECT_EQ(ds.RecNo(), 4);
    Strings backwards;
    for (; !ds.Bof(); ds.Prior())
        backwards.push_back(ds.FieldByName("IP").AsString());
    EXPECT_EQ(backwards, (Strings{"3.3.3.3", "2.2.2.2", "1.1.1.1"}));
    ds.SetRecNo(1); // like 2: the schema line is no record
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ds.FieldByName("IP").AsString(), "1.1.1.1");
    ds.SetRecNo(3);
    EXPECT_EQ(ds.FieldByName("message").AsString(), "Offline");
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.GotoBookmark(1); }), "Bookmark not found");
    ds.First();
    ds.Insert(); // in front of the first record, behind the schema line
    ds.Fields(0).SetAsString("0.0.0.0");
    ds.Post();
    ds.Flush();
    EXPECT_EQ(readBytes(path).substr(0, kHeader.size() + 11), kHeader + "\r\n0.0.0.0\r\n");
}

TEST_F(SdfTable, InsertIntoAHeaderOnlyLogGoesBehindTheHeader) {
    openLog(kHeader + "\r\n");
    ds.Insert();
    ds.Fields(3).SetAsString("Start of program");
    ds.Post();
    ds.Flush();
    EXPECT_EQ(readBytes(path), kHeader + "\r\n,,,\"Start of program\"\r\n");
}

TEST_F(SdfTable, ValuesAreSplitJoinedAndQuoted) {
    openLog(kHeader + "\r\na,,c\r\na,b,\r\n1.2.3.4,1/1/26,1:00:00,Start of program\r\n");
    EXPECT_EQ(rows(), (std::vector<Strings>{{"a", "", "c", ""},
                                            {"a", "b", "", ""},
                                            {"1.2.3.4", "1/1/26", "1:00:00", "Start"}}));
    ds.First();
    EXPECT_TRUE(ds.FieldByName("DD/MM/YY").IsNull());
    ds.Last();
    ds.Edit();
    ds.FieldByName("IP").SetAsString("4.3.2.1");
    ds.Post();
    ds.First();
    ds.Edit();
    ds.Fields(1).SetAsString("say \"hi\", then");
    ds.Post();
    EXPECT_EQ(ds.Fields(1).AsString(), "say \"hi\", then");
    ds.Flush();
    EXPECT_EQ(readBytes(path), kHeader + "\r\na,\"say \"\"hi\"\", then\",c\r\na,b,\r\n" +
                                   "4.3.2.1,1/1/26,1:00:00,Start,of,program\r\n");
}

TEST_F(SdfTable, LineBreakInAValueCannotSplitTheRecord) {
    openLog(kHeader + "\r\n");
    writeEntry({"0.0.0.0", "6/12/26", "9:05:07", "two\r\nlines\n"});
    ds.Flush();
    EXPECT_EQ(readBytes(path), kHeader + "\r\n0.0.0.0,6/12/26,9:05:07,\"two  lines \"\r\n");
    ds.Close();
    ds.Open();
    EXPECT_EQ(rows(), (std::vector<Strings>{{"0.0.0.0", "6/12/26", "9:05:07", "two  lines "}}));
}

TEST_F(SdfTable, ItemsBeyondTheFieldsAreKeptAndMissingOnesPadded) {
    writeBytes(path, "a,b\r\nx,y,extra,more\r\n");
    ds.SetFileName(path);
    ds.Open();
    ASSERT_EQ(ds.FieldCount(), 2);
    EXPECT_EQ(ds.Fields(1).Size(), 14);             // the longest line
    EXPECT_EQ(ds.FieldByName("a").AsString(), "a"); // without a schema, line 1 is a record too
    EXPECT_EQ(ds.RecordCount(), 2);
    ds.Next();
    ds.Edit();
    ds.Fields(0).SetAsString("X");
    ds.Post();
    ds.Append();
    ds.Fields(1).SetAsString("only b");
    ds.Post();
    ds.Close();
    EXPECT_EQ(readBytes(path), "a,b\r\nX,y,extra,more\r\n,\"only b\"\r\n");
}

TEST_F(SdfTable, SingleEmptyValueIsWrittenAsTwoQuotes) {
    writeBytes(dir.file("s.schema"), "NAME=10\n");
    writeBytes(path, "old\n");
    ds.SetSchemaFile(dir.file("s.schema"));
    ds.SetFileName(path);
    ds.Open();
    ds.Edit();
    ds.Fields(0).SetAsString("");
    ds.Post();
    ds.Flush();
    EXPECT_EQ(readBytes(path), "\"\"\r\n");
    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_TRUE(ds.Fields(0).IsNull());
}

TEST_F(SdfTable, WidthsCutValuesAndLinesOnCharacterBoundaries) {
    writeBytes(dir.file("s.schema"), "A=5,B=3");
    writeBytes(path, "abcdefgh,xy\n");
    ds.SetSchemaFile(dir.file("s.schema"));
    ds.SetFileName(path);
    ds.Open();
    EXPECT_EQ(ds.RecordSize(), 5 + 4 + 3 + 4);
    EXPECT_EQ(ds.Fields(0).AsString(), "abcde");
    ds.Edit();
    ds.Fields(0).SetAsString("abcd\xC3\xA9"); // 6 bytes: the two-byte character does not fit
    EXPECT_EQ(ds.Fields(0).AsString(), "abcd");
    ds.Fields(1).SetAsString("\xE2\x82\xAC");
    EXPECT_EQ(ds.Fields(1).AsString(), "\xE2\x82\xAC");
    ds.Fields(1).SetAsString("a b"); // quoted, "a b" fits the field
    ds.Post();
    ds.Flush();
    EXPECT_EQ(readBytes(path), "abcd,\"a b\"\r\n");
}

TEST_F(SdfTable, SchemaFileInBothLayouts) {
    writeBytes(path, "1.2.3.4,Online\n5.6.7.8,\"Start of program\"\n");
    for (const std::string schema : {"\r\n  \r\nIP=15\r\nMESSAGE\r\n", "IP=15,MESSAGE,\" \"\n"}) {
        writeBytes(dir.file("log.schema"), schema);
        ds.SetSchemaFile(dir.file("log.schema"));
        ds.SetFileName(path);
        ds.Open();
        ASSERT_EQ(ds.FieldCount(), 2) << schema;
        EXPECT_EQ(ds.Fields(0).FieldName(), "IP");
        EXPECT_EQ(ds.Fields(0).Size(), 15);
        EXPECT_EQ(ds.Fields(1).Size(), 26);
        EXPECT_EQ(ds.RecordSize(), 15 + 4 + 26 + 4);
        EXPECT_EQ(ds.RecordCount(), 2);
        EXPECT_EQ(ds.FieldByName("MESSAGE").AsString(), "Online");
        ds.Close();
    }
    writeBytes(dir.file("log.schema"), "  IP \n");
    ds.Open();
    EXPECT_EQ(ds.Fields(0).FieldName(), "  IP "); // a line is taken whole
    EXPECT_EQ(ds.FindField("IP"), nullptr);
}

TEST_F(SdfTable, PropertiesChangeOnlyWhileClosedAndExcludeEachOther) {
    writeBytes(dir.file("s.schema"), "X=3\n");
    ds.SetSchemaFile(dir.file("s.schema"));
    ds.SetFirstLineAsSchema(true);
    EXPECT_EQ(ds.SchemaFile(), "");
    ds.SetSchemaFile(dir.file("s.schema"));
    EXPECT_FALSE(ds.FirstLineAsSchema());
    EXPECT_TRUE(ds.FileMustExist());

    writeBytes(path, "a\n");
    ds.SetFileName(path);
    ds.Open();
    ds.SetFileName(dir.file("other"));
    ds.SetSchemaFile("");
    ds.SetFirstLineAsSchema(true);
    ds.SetFileMustExist(false);
    EXPECT_EQ(ds.FileName(), path);
    EXPECT_EQ(ds.SchemaFile(), dir.file("s.schema"));
    EXPECT_FALSE(ds.FirstLineAsSchema());
    EXPECT_TRUE(ds.FileMustExist());
}

TEST_F(SdfTable, FileMustExistFalseCreatesAnEmptyFile) {
    ds.SetFileName(path);
    EXPECT_EQ(messageOf<EFileError>([&] { ds.Open(); }), "Cannot open file " + path);
    ds.SetFileMustExist(false);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Open(); }), "Invalid field size");
    EXPECT_EQ(readBytes(path), ""); // created, and it stays
    EXPECT_FALSE(ds.Active());

    std::filesystem::remove(path);
    writeBytes(dir.file("s.schema"), "IP=15,MESSAGE=16");
    ds.SetSchemaFile(dir.file("s.schema"));
    ds.Open();
    EXPECT_TRUE(ds.Eof() && ds.Bof());
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.Close();

    ds.SetFileName(dir.file("no/such/folder.txt"));
    EXPECT_EQ(messageOf<EFileError>([&] { ds.Open(); }),
              "Cannot create file " + dir.file("no/such/folder.txt"));
}

TEST_F(SdfTable, EmptyFileWithSchemaLineFailsAndClearsTheOption) {
    writeBytes(path, "");
    ds.SetFirstLineAsSchema(true);
    ds.SetFileName(path);
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Open(); }), "Invalid field size");
    EXPECT_FALSE(ds.FirstLineAsSchema());

    writeBytes(dir.file("empty.schema"), " \n\t\n");
    ds.SetSchemaFile(dir.file("empty.schema"));
    writeBytes(path, "a,b\n");
    ds.Open(); // no schema entries: one field as wide as the longest line, options cleared
    EXPECT_EQ(ds.SchemaFile(), "");
    ASSERT_EQ(ds.FieldCount(), 1);
    EXPECT_EQ(ds.Fields(0).FieldName(), "Field1");
    EXPECT_EQ(ds.Fields(0).Size(), 3);
    EXPECT_EQ(ds.Fields(0).AsString(), "a"); // the line split: its first item
}

TEST_F(SdfTable, SchemaFailures) {
    writeBytes(path, "x\n");
    ds.SetFileName(path);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"A=x", "'x' is not a valid integer value"},
        {"A=", "'' is not a valid integer value"},
        {"A=15 ", "'15 ' is not a valid integer value"},
        {"=5", "Field name missing"},
        {"A=3,a=4", "Duplicate field name 'a'"},
        {"A=0", "Invalid field size"},
        {"A=8193", "Invalid field size"},
        {"A=0,A=1", "Duplicate field name 'A'"}, // names are checked before sizes
    };
    for (const auto& [schema, message] : cases) {
        writeBytes(dir.file("s.schema"), schema);
        ds.SetSchemaFile(dir.file("s.schema"));
        std::string got;
        try {
            ds.Open();
        } catch (const EConvertError& e) {
            got = std::string("convert: ") + e.what();
        } catch (const EDatabaseError& e) {
            got = e.what();
        }
        const bool conversion = message.find("integer") != std::string::npos;
        EXPECT_EQ(got, (conversion ? "convert: " : "") + message) << schema;
        EXPECT_FALSE(ds.Active());
    }
    ds.SetSchemaFile(dir.file("missing.schema"));
    EXPECT_EQ(messageOf<EFileError>([&] { ds.Open(); }),
              "Cannot open file " + dir.file("missing.schema"));

    ds.SetSchemaFile("");
    writeBytes(path, "a,,b\n"); // an empty item of the schema line
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Open(); }), "Field name missing");
    writeBytes(path, "a\n" + std::string(8193, 'x') + "\n"); // width from an overlong line
    EXPECT_EQ(messageOf<EDatabaseError>([&] { ds.Open(); }), "Invalid field size");
}

TEST_F(SdfTable, RowsReadWithoutMovingTheCursor) {
    openLog(kHeader + "\r\n1.1.1.1,1/1/26,1:00:00,Online\r\n2.2.2.2,2/1/26,2:00:00,Offline\r\n");
    EXPECT_EQ(ds.RowCount(), 2);
    EXPECT_EQ(ds.CurrentRow(), 0);
    EXPECT_EQ(ds.RowValue(1, 3), "Offline");
    EXPECT_EQ(ds.RowValue(2, 0), "");
    EXPECT_EQ(ds.CurrentRow(), 0);
    ds.Edit();
    ds.Fields(0).SetAsString("9.9.9.9");
    EXPECT_EQ(ds.RowValue(0, 0), "9.9.9.9"); // the edit buffer shows in its row
    ds.GotoRow(1);                           // posts the edit, moves
    EXPECT_EQ(ds.FieldByName("IP").AsString(), "2.2.2.2");
    EXPECT_EQ(ds.RowValue(0, 0), "9.9.9.9");

    ds.First();
    ds.Insert();
    EXPECT_EQ(ds.RowCount(), 3);
    EXPECT_EQ(ds.InsertedRow(), 0);
    EXPECT_EQ(ds.CurrentRow(), 0);
    EXPECT_EQ(ds.RowValue(1, 0), "9.9.9.9");
    ds.GotoRow(2); // nothing assigned: the new row is cancelled, row 2 is now row 1
    EXPECT_EQ(ds.FieldByName("IP").AsString(), "2.2.2.2");
    EXPECT_EQ(ds.RowCount(), 2);
    ds.Append();
    EXPECT_EQ(ds.InsertedRow(), 2);
    ds.Fields(0).SetAsString("3.3.3.3");
    EXPECT_EQ(ds.RowValue(2, 0), "3.3.3.3");
    ds.GotoRow(0); // posted
    EXPECT_EQ(ds.RowCount(), 3);
    EXPECT_EQ(ds.RowValue(2, 0), "3.3.3.3");
    EXPECT_THROW(ds.RowValue(0, 4), EListError);
}
