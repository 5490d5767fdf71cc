// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <sys/stat.h>

using wv::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Vanewire.ini"));

    void put(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray content() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreated) {
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "CheckedItems_0", "Error"), "Error");
    EXPECT_EQ(ini.ReadInteger("General", "CheckedCount", 0), 0);
    EXPECT_TRUE(ini.ReadBool("General", "MinimizeAtStartup", true));
    EXPECT_FALSE(ini.ReadBool("General", "rbLocalIP", false));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(IniFileTest, MissingKeyInTheMiddleGivesDefault) {
    put("[General]\nCheckedCount=3\nCheckedItems_0=10.0.0.1\nCheckedItems_2=192.168.1.5\n");
    IniFile ini(path);
    const int n = ini.ReadInteger("General", "CheckedCount", 0);
    ASSERT_EQ(n, 3);
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << ini.ReadString("General", "CheckedItems_" + QString::number(i), "Error");
    EXPECT_EQ(items, QStringList({"10.0.0.1", "Error", "192.168.1.5"}));
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanksAreDropped) {
    put("[ general ]\n  MinimizeAtStartup =  0  \nCHECKEDCOUNT=\t2\t\n[Other]\nrbList=0\n");
    IniFile ini(path);
    EXPECT_FALSE(ini.ReadBool("General", "minimizeatstartup", true));
    EXPECT_EQ(ini.ReadInteger("GENERAL", "CheckedCount", 0), 2);
    // A key of another section is not seen.
    EXPECT_TRUE(ini.ReadBool("General", "rbList", true));
    EXPECT_FALSE(ini.ReadBool("other", "RBLIST", true));
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWin) {
    put("[General]\nk=first\nk=second\n[General]\nk=third\nonly=x\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "k", "d"), "first");
    EXPECT_EQ(ini.ReadString("General", "only", "d"), "d");
}

TEST_F(IniFileTest, CommentsAndLinesOutsideSectionsAreNoKeys) {
    put("k=outside\n[General]\n;k=comment\n#k=hash\nno equals sign\n[Broken\nk=broken\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "k", "d"), "d");
    EXPECT_EQ(ini.ReadString("General", ";k", "d"), "d");
    // A header without its bracket still opens a section of its own.
    EXPECT_EQ(ini.ReadString("Broken", "k", "d"), "broken");
}

TEST_F(IniFileTest, IntegersDecimalOrHexOtherwiseDefault) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"42", 42},
        {"+7", 7},
        {"-5", -5},
        {"0x1A", 26},
        {"0X1f", 31},
        {"-0x10", -16},
        {"0x7FFFFFFF", INT_MAX},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"007", 7},
        // Not a number, or out of range: the default.
        {"", 99},
        {"abc", 99},
        {"12abc", 99},
        {"1e3", 99},
        {"0x", 99},
        {"0xG", 99},
        {"- 5", 99},
        {"$1A", 99},
        {"2147483648", 99},
        {"-2147483649", 99},
        {"0x80000000", 99},
        {"99999999999999999999999", 99},
    };
    for (const auto& c : cases) {
        put(QByteArray("[General]\nCheckedCount=") + c.text + "\n");
        EXPECT_EQ(IniFile(path).ReadInteger("General", "CheckedCount", 99), c.expected)
            << "text: " << c.text;
    }
}

TEST_F(IniFileTest, BooleansAreIntegers) {
    put("[General]\na=1\nb=0\nc=2\nd=-1\ne=0x0\nf=yes\ng=true\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("General", "a", false));
    EXPECT_FALSE(ini.ReadBool("General", "b", true));
    EXPECT_TRUE(ini.ReadBool("General", "c", false));
    EXPECT_TRUE(ini.ReadBool("General", "d", false));
    EXPECT_FALSE(ini.ReadBool("General", "e", true));
    EXPECT_FALSE(ini.ReadBool("General", "f", false));
    EXPECT_TRUE(ini.ReadBool("General", "g", true));
}

TEST_F(IniFileTest, QuotedValuesLoseTheirQuotes) {
    put("[General]\na=\"10.0.0.1\"\nb=' spaced '\nc=\"unbalanced\nd=\"mixed'\ne=\"\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "a", "d"), "10.0.0.1");
    EXPECT_EQ(ini.ReadString("General", "b", "d"), " spaced ");
    EXPECT_EQ(ini.ReadString("General", "c", "d"), "\"unbalanced");
    EXPECT_EQ(ini.ReadString("General", "d", "d"), "\"mixed'");
    EXPECT_EQ(ini.ReadString("General", "e", "d"), "\"");
}

TEST_F(IniFileTest, LongValuesAreCutOnACharacterBoundary) {
    const QByteArray longValue(2000, 'a');
    // 1022 ASCII bytes, then a two-byte character that would straddle byte 1023.
    const QByteArray straddling = QByteArray(1022, 'b') + "\xc3\xa9" + "tail";
    put("[General]\nlong=" + longValue + "\nutf=" + straddling + "\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "long", "d"), QString(1023, 'a'));
    EXPECT_EQ(ini.ReadString("General", "utf", "d"), QString(1022, 'b'));
}

TEST_F(IniFileTest, WriteCreatesMissingFile) {
    IniFile ini(path);
    ini.WriteBool("General", "MinimizeAtStartup", false);
    ini.WriteInteger("General", "CheckedCount", -3);
    ini.WriteString("General", "CheckedItems_0", "10.1.2.3");
    EXPECT_EQ(content(),
              "[General]\nMinimizeAtStartup=0\nCheckedCount=-3\nCheckedItems_0=10.1.2.3\n");
    EXPECT_EQ(ini.ReadInteger("General", "CheckedCount", 0), -3);
    ini.WriteBool("General", "MinimizeAtStartup", true);
    EXPECT_TRUE(ini.ReadBool("General", "MinimizeAtStartup", false));
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineByteForByte) {
    const QByteArray original = "; settings of Wirevane\r\n"
                                "\r\n"
                                "[Window]\r\n"
                                "Left = 10\r\n"
                                "\r\n"
                                "[general]\r\n"
                                "  checkedcount = 5 ; old\r\n"
                                "Foreign=kept\r\n"
                                "; trailing comment\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "CheckedCount=77\r\n";
    put(original);
    IniFile ini(path);
    ini.WriteInteger("General", "CheckedCount", 2); // in place, key as the file spells it
    ini.WriteString("General", "rbList", "1");      // appended to its section
    ini.WriteString("Extra", "Key", "v");           // new section at the end
    EXPECT_EQ(content(), "; settings of Wirevane\r\n"
                         "\r\n"
                         "[Window]\r\n"
                         "Left = 10\r\n"
                         "\r\n"
                         "[general]\r\n"
                         "  checkedcount=2\r\n"
                         "Foreign=kept\r\n"
                         "; trailing comment\r\n"
                         "rbList=1\r\n"
                         "\r\n"
                         "[Other]\r\n"
                         "CheckedCount=77\r\n"
                         "\r\n"
                         "[Extra]\r\n"
                         "Key=v\r\n");
    EXPECT_EQ(ini.ReadInteger("Other", "CheckedCount", 0), 77);
}

TEST_F(IniFileTest, WriteIntoFileWithoutFinalLineEnd) {
    put("[General]\nrbList=1");
    IniFile ini(path);
    ini.WriteBool("General", "rbLocalIP", true);
    EXPECT_EQ(content(), "[General]\nrbList=1\nrbLocalIP=1\n");

    put("# only a comment");
    ini.WriteBool("General", "rbList", false);
    EXPECT_EQ(content(), "# only a comment\n\n[General]\nrbList=0\n");
}

TEST_F(IniFileTest, StaleKeysStay) {
    IniFile ini(path);
    ini.WriteInteger("General", "CheckedCount", 3);
    for (int i = 0; i < 3; ++i)
        ini.WriteString("General", "CheckedItems_" + QString::number(i),
                        "10.0.0." + QString::number(i));
    ini.WriteInteger("General", "CheckedCount", 1);
    ini.WriteString("General", "CheckedItems_0", "172.16.0.1");
    EXPECT_EQ(content(), "[General]\nCheckedCount=1\nCheckedItems_0=172.16.0.1\n"
                         "CheckedItems_1=10.0.0.1\nCheckedItems_2=10.0.0.2\n");
}

TEST_F(IniFileTest, UnwritableLocationThrowsAndReadsGiveDefaults) {
    // A folder on the path that is a regular file stops root too.
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniFile ini(dir.filePath("not-a-folder/Vanewire.ini"));
    EXPECT_EQ(ini.ReadInteger("General", "CheckedCount", 4), 4);
    EXPECT_THROW(ini.WriteBool("General", "rbList", true), wv::EIniError);
    EXPECT_THROW(ini.WriteBool("General", "rbList", true), wv::EFileError);
}

TEST_F(IniFileTest, ExistingButUnreadableFileIsAnErrorAndSurvives) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Vanewire.ini"));
    IniFile ini(path);
    EXPECT_THROW(ini.ReadString("General", "k", "d"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("General", "k", "v"), wv::EIniError);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(IniFileTest, WriteReplacesTheFileAndKeepsItsModeAndLink) {
    put("[General]\nrbList=1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(path, link));

    IniFile viaLink(link);
    viaLink.WriteBool("General", "rbList", false);
    EXPECT_EQ(content(), "[General]\nrbList=0\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Nothing but the file and the link is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              QStringList({"Vanewire.ini", "link.ini"}));
}

TEST_F(IniFileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    put("[General]\nrbList=1\n");
    IniFile ini(path);
    EXPECT_THROW(ini.WriteString("General", "CheckedItems_0", "1.2.3.4\nrbList=0"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("General", "a=b", "v"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("General", "", "v"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("General", ";k", "v"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("Gen]eral", "k", "v"), wv::EIniError);
    EXPECT_THROW(ini.WriteString("General", "k", QString("a") + QChar(0) + "b"), wv::EIniError);
    EXPECT_EQ(content(), "[General]\nrbList=1\n");
}

} // namespace
