// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/Formats.h"
#include "base/Bytes.h"

#include <gtest/gtest.h>

#include <clocale>
#include <langinfo.h>
#include <string>

namespace {

class FormatsTest : public ::testing::Test {
protected:
    void SetUp() override { wv::SetLogFormats(); }
    void TearDown() override {
        wv::SetLogFormats();
        wv::Formats().LongTimeFormat = savedTime;
    }
    QByteArray savedTime = wv::Formats().LongTimeFormat;
};

TEST_F(FormatsTest, ShortDateHasNoLeadingZeroesButATwoDigitYear) {
    EXPECT_EQ(wv::FormatShortDate(QDate(2026, 12, 6)), "6/12/26");
    EXPECT_EQ(wv::FormatShortDate(QDate(2009, 1, 5)), "5/1/09");
    EXPECT_EQ(wv::FormatShortDate(QDate(2001, 8, 20)), "20/8/01");
    EXPECT_EQ(wv::FormatShortDate(QDate(2000, 10, 31)), "31/10/00");
}

TEST_F(FormatsTest, SetLogFormatsPutsTheThreeBack) {
    wv::FormatSettings& f = wv::Formats();
    f.ShortDateFormat = "yyyy/mm/dd";
    f.DateSeparator = '-';
    f.DecimalSeparator = ',';
    EXPECT_EQ(wv::FormatShortDate(QDate(2009, 1, 5)), "2009-01-05");
    EXPECT_EQ(wv::StrToDate("2009-1-5", QDate(2026, 1, 1)), QDate(2009, 1, 5));
    const QByteArray timeFormat = f.LongTimeFormat;

    wv::SetLogFormats();
    EXPECT_EQ(f.ShortDateFormat, "d/m/y");
    EXPECT_EQ(f.DateSeparator, '/');
    EXPECT_EQ(f.DecimalSeparator, '.');
    EXPECT_EQ(f.LongTimeFormat, timeFormat);
    EXPECT_EQ(wv::FormatShortDate(QDate(2009, 1, 5)), "5/1/09");
}

TEST_F(FormatsTest, LongTimeFollowsTheGivenClock) {
    std::setlocale(LC_TIME, "C.UTF-8");
    EXPECT_EQ(wv::FormatLongTime(QTime(21, 5, 7), "%H:%M:%S"), "21:05:07");
    EXPECT_EQ(wv::FormatLongTime(QTime(9, 5, 7), "%H:%M:%S"), "09:05:07");
    EXPECT_EQ(wv::FormatLongTime(QTime(21, 5, 7), "%I:%M:%S %p"), "09:05:07 PM");
    EXPECT_EQ(wv::FormatLongTime(QTime(0, 0, 0), "%I:%M:%S %p"), "12:00:00 AM");
    // The process-wide long time format is what the one-argument form uses.
    wv::Formats().LongTimeFormat = "%I:%M:%S %p";
    EXPECT_EQ(wv::FormatLongTime(QTime(21, 5, 7)), "09:05:07 PM");
    wv::Formats().LongTimeFormat = "%H.%M.%S";
    EXPECT_EQ(wv::FormatLongTime(QTime(21, 5, 7)), "21.05.07");
    std::setlocale(LC_TIME, "");
}

TEST_F(FormatsTest, LongTimeOfInstalledLocales) {
    // The time format each locale gives, for the locales this machine has.
    const struct {
        const char* locale;
        const char* expected;
    } cases[] = {
        {"C.UTF-8", "21:05:07"},        {"C", "21:05:07"},
        {"de_DE.UTF-8", "21:05:07"},    {"en_GB.UTF-8", "21:05:07"},
        {"en_US.UTF-8", "09:05:07 PM"},
    };
    int tried = 0;
    for (const auto& c : cases) {
        if (!std::setlocale(LC_TIME, c.locale))
            continue;
        ++tried;
        EXPECT_EQ(wv::FormatLongTime(QTime(21, 5, 7), nl_langinfo(T_FMT)), c.expected) << c.locale;
    }
    std::setlocale(LC_TIME, "");
    EXPECT_GE(tried, 1);
    // The process-wide format is the locale's own.
    EXPECT_EQ(savedTime, QByteArray(nl_langinfo(T_FMT)));
}

TEST_F(FormatsTest, ReadsLogDates) {
    const QDate today(2026, 3, 15);
    EXPECT_EQ(wv::StrToDate("6/12/26", today), QDate(2026, 12, 6));
    EXPECT_EQ(wv::StrToDate("5/1/09", today), QDate(2009, 1, 5));
    EXPECT_EQ(wv::StrToDate(" 5 / 1 / 09 ", today), QDate(2009, 1, 5));
    EXPECT_EQ(wv::StrToDate("05/01/2009", today), QDate(2009, 1, 5));
    EXPECT_EQ(wv::StrToDate("5/1", today), QDate(2026, 1, 5));
    EXPECT_EQ(wv::StrToDate("29/2/24", today), QDate(2024, 2, 29));
    EXPECT_EQ(wv::StrToDate("1/1/0", today), QDate(2000, 1, 1));
    // Two-digit years count in the century of the given day.
    EXPECT_EQ(wv::StrToDate("5/1/09", QDate(1999, 6, 1)), QDate(1909, 1, 5));
}

TEST_F(FormatsTest, RejectsEverythingElse) {
    const QDate today(2026, 3, 15);
    const char* bad[] = {"",        " ",       "abc",       "5",       "5/",
                         "5/1/",    "/5/1",    "5//1",      "5-1-09",  "5/1/09x",
                         "1/2/3/4", "-5/1/09", "+5/1/09",   "5/13/09", "0/1/09",
                         "31/4/26", "29/2/23", "5/1/12345", "5.1.09",  "\xd9\xa5/1/09"};
    for (const char* text : bad) {
        const QString q = QString::fromUtf8(text);
        try {
            wv::StrToDate(q, today);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const wv::EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid date");
        }
    }
}

TEST(CutUtf8Test, NeverSplitsACharacter) {
    const QByteArray s = "ab\xe2\x82\xac"
                         "c"; // a, b, euro sign (3 bytes), c
    EXPECT_EQ(wv::CutUtf8(s, 10), s);
    EXPECT_EQ(wv::CutUtf8(s, 5), "ab\xe2\x82\xac");
    EXPECT_EQ(wv::CutUtf8(s, 4), "ab");
    EXPECT_EQ(wv::CutUtf8(s, 3), "ab");
    EXPECT_EQ(wv::CutUtf8(s, 2), "ab");
    EXPECT_EQ(wv::CutUtf8(s, 0), "");
}

} // namespace
