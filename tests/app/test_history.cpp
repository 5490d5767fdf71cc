// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The history's timeline rules on hand-made logs, in the zone of a German user so that the
// daylight-saving days are real ones.
#include "app/Formats.h"
#include "app/History.h"
#include "support/ScopedTimeZone.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace {

using wv::THistory;

struct Entry {
    const char* date;
    const char* time;
    const char* message;
};
struct Day {
    QDate day;
    qint64 online, offline, notMonitored;
    int outages;
};
struct Case {
    const char* name;
    const char* pattern;
    std::vector<Entry> log;
    std::vector<Day> days;
    std::vector<qint64> outages; // durations, in time order
    int unreadable = 0, outOfPlace = 0, backwards = 0;
    const char* zone = "Europe/Berlin";
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

constexpr qint64 H = 3600, M = 60;

const std::vector<Case> kCases = {
    {"two outages in a day",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "10:00:00", "Offline"},
      {"1/6/26", "10:30:00", "Online"},
      {"1/6/26", "14:00:00", "Offline"},
      {"1/6/26", "14:10:00", "Online"},
      {"1/6/26", "20:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 2 * H + 3 * H + 30 * M + 5 * H + 50 * M, 40 * M, 12 * H, 2},
      {QDate(2026, 6, 2), 0, 0, 24 * H, 0}},
     {30 * M, 10 * M}},
    {"an outage across midnight",
     "%H:%M:%S",
     {{"1/6/26", "22:00:00", "Start of program"},
      {"1/6/26", "22:00:00", "Online"},
      {"1/6/26", "23:30:00", "Offline"},
      {"2/6/26", "0:45:00", "Online"},
      {"2/6/26", "1:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 90 * M, 30 * M, 22 * H, 1},
      {QDate(2026, 6, 2), 15 * M, 45 * M, 23 * H, 1}},
     {75 * M}},
    {"a killed run ends at its last entry",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:10:00", "Online"},
      {"1/6/26", "9:00:00", "Offline"},
      {"1/6/26", "12:00:00", "Start of program"},
      {"1/6/26", "12:00:00", "Online"},
      {"1/6/26", "13:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 50 * M + H, 10 * M, 24 * H - 2 * H, 1}},
     {10 * M}},
    {"stop while offline ends the outage",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "9:00:00", "Offline"},
      {"1/6/26", "9:30:00", "Stop of program"},
      {"1/6/26", "11:00:00", "Start of program"},
      {"1/6/26", "11:00:00", "Online"},
      {"1/6/26", "12:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 2 * H, 30 * M, 24 * H - 2 * H - 30 * M, 1}},
     {30 * M}},
    {"out of order and unreadable entries are skipped and counted",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "10:00:00", "Offline"},
      {"31/2/26", "10:05:00", "Online"},
      {"1/6/26", "9:00:00", "Online"},
      {"1/6/26", "25:10:00", "Online"},
      {"", "10:12:00", "Online"},
      {"1/6/26", "10:14:00", "Connected"},
      {"1/6/26", "10:20:00", "Online"},
      {"1/6/26", "11:00:00", "Stop of program"},
      {"1/6/26", "11:30:00", "Offline"},
      {"1/6/26", "11:40:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 2 * H + 40 * M, 20 * M, 21 * H, 1}},
     {20 * M},
     4,
     2,
     1},
    {"a 12-hour clock",
     "%I:%M:%S %p",
     {{"1/6/26", "12:15:00 AM", "Start of program"},
      {"1/6/26", "12:15:00 AM", "Online"},
      {"1/6/26", "12:30:00 PM", "Offline"},
      {"1/6/26", "01:00:00 PM", "Online"},
      {"1/6/26", "11:00:00 PM", "Stop of program"}},
     {{QDate(2026, 6, 1), 12 * H + 15 * M + 10 * H, 30 * M, H + 15 * M, 1}},
     {30 * M}},
    {"the day the clocks go forward lasts 23 hours",
     "%H:%M:%S",
     {{"28/3/26", "22:00:00", "Start of program"},
      {"28/3/26", "22:00:00", "Online"},
      {"29/3/26", "4:00:00", "Offline"},
      {"29/3/26", "5:00:00", "Online"},
      {"29/3/26", "23:00:00", "Stop of program"}},
     {{QDate(2026, 3, 28), 2 * H, 0, 22 * H, 0}, {QDate(2026, 3, 29), 3 * H + 18 * H, H, H, 1}},
     {H}},
    {"the day the clocks go back lasts 25 hours, its repeated hour read in order",
     "%H:%M:%S",
     {{"25/10/26", "1:00:00", "Start of program"},
      {"25/10/26", "1:00:00", "Online"},
      {"25/10/26", "2:30:00", "Offline"}, // still summer time
      {"25/10/26", "2:10:00", "Online"},  // winter time: the hour again
      {"25/10/26", "4:00:00", "Stop of program"}},
     {{QDate(2026, 10, 25), 90 * M + 110 * M, 40 * M, 25 * H - 4 * H, 1}},
     {40 * M}},
    {"the repeated hour after an entry of the day before",
     "%H:%M:%S",
     {{"24/10/26", "23:00:00", "Start of program"},
      {"24/10/26", "23:00:00", "Online"},
      {"25/10/26", "2:30:00", "Offline"}, // summer time: the first reading
      {"25/10/26", "2:10:00", "Online"},  // winter time: the first not earlier
      {"25/10/26", "4:00:00", "Stop of program"}},
     {{QDate(2026, 10, 24), H, 0, 23 * H, 0},
      {QDate(2026, 10, 25), 150 * M + 110 * M, 40 * M, 25 * H - 5 * H, 1}},
     {40 * M}},
    {"the repeated hour in New York",
     "%H:%M:%S",
     {{"31/10/26", "23:00:00", "Start of program"},
      {"31/10/26", "23:00:00", "Online"},
      {"1/11/26", "1:30:00", "Offline"},
      {"1/11/26", "1:10:00", "Online"},
      {"1/11/26", "3:00:00", "Stop of program"}},
     {{QDate(2026, 11, 1), 90 * M + 110 * M, 40 * M, 25 * H - 4 * H, 1}},
     {40 * M},
     0,
     0,
     0,
     "America/New_York"},
    {"the repeated half hour on Lord Howe Island",
     "%H:%M:%S",
     {{"4/4/26", "23:00:00", "Start of program"},
      {"4/4/26", "23:00:00", "Online"},
      {"5/4/26", "1:45:00", "Offline"},
      {"5/4/26", "1:35:00", "Online"},
      {"5/4/26", "3:00:00", "Stop of program"}},
     {{QDate(2026, 4, 5), 105 * M + 85 * M, 20 * M, 24 * H + 30 * M - 210 * M, 1}},
     {20 * M},
     0,
     0,
     0,
     "Australia/Lord_Howe"},
    {"a sleep told by the sleep manager is not monitored",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:01", "Online"},
      {"1/6/26", "12:00:00", "Suspend"},
      {"1/6/26", "20:00:00", "Resume"},
      {"1/6/26", "20:00:02", "Online"},
      {"1/6/26", "22:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 6 * H, 0, 18 * H, 0}},
     {}},
    {"offline just before a sleep and back after it: two short outages",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "11:59:50", "Offline"},
      {"1/6/26", "12:00:00", "Suspend"},
      {"1/6/26", "20:00:00", "Resume"},
      {"1/6/26", "20:00:03", "Offline"},
      {"1/6/26", "20:00:20", "Online"},
      {"1/6/26", "22:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 4 * H - 10 + 2 * H - 20, 27, 18 * H + 3, 2}},
     {10, 17}},
    {"the clock set back an hour: every entry counts, no hour twice",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "12:00:00", "Clock changed"},
      {"1/6/26", "11:00:00", "Clock set"},
      {"1/6/26", "12:30:00", "Offline"},
      {"1/6/26", "12:40:00", "Online"},
      {"1/6/26", "14:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 4 * H + 30 * M + 80 * M, 10 * M, 18 * H, 1}},
     {10 * M}},
    {"the clock set forward an hour: the hour skipped is not monitored",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "11:50:00", "Offline"},
      {"1/6/26", "12:00:00", "Clock changed"},
      {"1/6/26", "13:00:00", "Clock set"},
      {"1/6/26", "13:10:00", "Online"},
      {"1/6/26", "14:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 3 * H + 50 * M + 50 * M, 20 * M, 19 * H, 1}},
     {20 * M}},
    {"Berlin to New York mid-run: the entries in the new zone count",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/26", "10:00:00", "Clock changed"},
      {"1/6/26", "4:00:00", "Clock set"},
      {"1/6/26", "4:30:00", "Offline"},
      {"1/6/26", "5:00:00", "Online"},
      {"1/6/26", "11:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), 3 * H, 0, 21 * H, 1}},
     {30 * M}},
    {"a first verdict within seconds of the start is no outage",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:04", "Online"},
      {"1/6/26", "9:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), H, 0, 23 * H, 0}},
     {}},
    {"dates before 1990 or after tomorrow are unreadable",
     "%H:%M:%S",
     {{"1/6/26", "8:00:00", "Start of program"},
      {"1/6/26", "8:00:00", "Online"},
      {"1/6/206", "8:30:00", "Offline"},
      {"31/12/1989", "8:40:00", "Offline"},
      {"3/12/2026", "8:40:00", "Offline"},
      {"1/6/26", "9:00:00", "Stop of program"}},
     {{QDate(2026, 6, 1), H, 0, 23 * H, 0}},
     {},
     3},
};

class HistoryTimeline : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { wv::SetLogFormats(); }
    wv::test::ScopedTimeZone tz_{"Europe/Berlin"};
};

TEST_P(HistoryTimeline, DaysOutagesAndSkippedEntries) {
    const Case& c = GetParam();
    tz_.Set(c.zone);
    THistory history(c.pattern);
    const qint64 now = QDateTime(QDate(2026, 12, 1), QTime(12, 0)).toSecsSinceEpoch();
    history.SetNow(now);
    for (const Entry& e : c.log)
        history.Add(e.date, e.time, e.message);

    for (const Day& d : c.days) {
        const wv::DayFigures f = history.Day(d.day, now);
        EXPECT_EQ(f.online, d.online) << d.day.toString().toStdString();
        EXPECT_EQ(f.offline, d.offline) << d.day.toString().toStdString();
        EXPECT_EQ(f.notMonitored, d.notMonitored) << d.day.toString().toStdString();
        EXPECT_EQ(f.online + f.offline + f.notMonitored, f.length)
            << d.day.toString().toStdString();
        EXPECT_EQ(f.outages, d.outages) << d.day.toString().toStdString();
    }
    const QDate first = c.days.front().day;
    const QDate last = c.days.back().day;
    std::vector<qint64> durations;
    for (const wv::Outage& o :
         history.OutagesBetween(history.DayStart(first), history.DayStart(last.addDays(1)), now))
        durations.push_back(o.Duration(now));
    EXPECT_EQ(durations, c.outages);

    const wv::PeriodFigures p = history.Period(first, last, now);
    EXPECT_EQ(p.outages, int(c.outages.size()));
    qint64 longest = 0;
    for (qint64 d : c.outages)
        longest = std::max(longest, d);
    EXPECT_EQ(p.longestDuration, longest);
    EXPECT_EQ(history.Unreadable(), c.unreadable);
    EXPECT_EQ(history.OutOfPlace(), c.outOfPlace);
    EXPECT_EQ(history.Backwards(), c.backwards);
}

INSTANTIATE_TEST_SUITE_P(HandMadeLogs, HistoryTimeline, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// Now bounds the timeline: the run still going on reaches up to now, and so does an outage still
// going on; a stretch whose end entry lies after now (a clock that was ahead) is cut at now, so a
// day never holds more than the time that has passed; an entry a year ahead is skipped.
TEST_F(HistoryTimeline, NowBoundsTheTimeline) {
    const qint64 now = QDateTime(QDate(2026, 6, 1), QTime(12, 0)).toSecsSinceEpoch();
    const auto day = [&](const char* last, const char* message) {
        THistory history("%H:%M:%S");
        history.SetNow(now);
        history.Add("1/6/26", "8:00:00", "Start of program");
        history.Add("1/6/26", "8:00:00", "Online");
        history.Add("1/6/26", last, message);
        return std::make_pair(history.Day(QDate(2026, 6, 1), now),
                              history.Period(QDate(2026, 5, 26), QDate(2026, 6, 1), now));
    };
    const auto [going, period] = day("11:00:00", "Offline");
    EXPECT_EQ(going.elapsed, 12 * H);
    EXPECT_EQ(going.online, 3 * H);
    EXPECT_EQ(going.offline, H);
    EXPECT_EQ(going.notMonitored, 8 * H);
    EXPECT_DOUBLE_EQ(period.Availability(), 75.0);
    EXPECT_EQ(period.outages, 1);
    EXPECT_EQ(period.longest.end, wv::Outage::kOngoing);

    const wv::DayFigures ahead = day("22:00:00", "Stop of program").first;
    EXPECT_EQ(ahead.online, 4 * H);
    EXPECT_EQ(ahead.notMonitored, 8 * H);
    EXPECT_EQ(ahead.online + ahead.offline + ahead.notMonitored, ahead.elapsed);

    THistory history("%H:%M:%S");
    history.SetNow(now);
    EXPECT_FALSE(history.Add("1/6/27", "8:00:00", "Online"));
    EXPECT_EQ(history.Unreadable(), 1);
}

TEST(HistoryText, DurationsReadAsPeopleSayThem) {
    const std::pair<qint64, const char*> cases[] = {{45, "45 s"},
                                                    {12 * M + 5, "12 min"},
                                                    {H, "1 h"},
                                                    {H + 5 * M, "1 h 5 min"},
                                                    {2 * 24 * H + 3 * H, "2 d 3 h"}};
    for (const auto& [secs, text] : cases)
        EXPECT_EQ(wv::FormatDuration(secs), text);
}

// The history reads dates exactly as the log search does.
TEST(HistoryText, DatesReadAsTheSearchReadsThem) {
    wv::SetLogFormats();
    const QDate today(2026, 12, 6);
    for (const char* text : {"6/12/26", " 5 / 1 / 09", "29/2/24", "29/2/26", "6/12", "6-12-26", "",
                             "1/1/12345", "x"}) {
        QDate viaTry;
        const bool ok = wv::TryStrToDate(text, today, viaTry);
        QDate viaSearch;
        bool searchOk = true;
        try {
            viaSearch = wv::StrToDate(QString::fromUtf8(text), today);
        } catch (const std::exception&) {
            searchOk = false;
        }
        EXPECT_EQ(ok, searchOk) << text;
        if (ok) {
            EXPECT_EQ(viaTry, viaSearch) << text;
        }
    }
}

} // namespace

namespace {

// The long time formats of the locales the log may have been written under. A log written
// under one of them is read under every other.
struct LocaleFormat {
    const char* locale;
    const char* pattern;
};
const LocaleFormat kLocaleFormats[] = {{"C", "%H:%M:%S"},
                                       {"C, 12-hour", "%I:%M:%S %p"},
                                       {"en_US", "%I:%M:%S %p"},
                                       {"de_DE", "%T"},
                                       {"ru_RU", "%T"},
                                       {"ja_JP", "%H\xe6\x99\x82%M\xe5\x88\x86%S\xe7\xa7\x92"},
                                       {"24-hour, no zero", "%k:%M:%S"}};

TEST(HistoryTimes, ALogWrittenUnderOneLocaleReadsUnderEvery) {
    const QTime times[] = {QTime(0, 5, 7), QTime(9, 47, 59), QTime(12, 0, 0), QTime(21, 48, 26)};
    for (const LocaleFormat& writer : kLocaleFormats)
        for (const LocaleFormat& reader : kLocaleFormats) {
            const THistory history(reader.pattern);
            for (const QTime& t : times) {
                const std::string text = wv::FormatLongTime(t, writer.pattern).toStdString();
                int seconds = -1;
                EXPECT_TRUE(history.ReadTime(text, seconds))
                    << text << " written under " << writer.locale << ", read under "
                    << reader.locale;
                EXPECT_EQ(seconds, t.msecsSinceStartOfDay() / 1000) << text;
            }
        }
}

TEST(HistoryTimes, MarkersBeforeTheTimeAndTextThatIsNoTime) {
    const THistory history("%H:%M:%S");
    const std::pair<const char*, int> readable[] = {{"\xe5\x8d\x88\xe5\xbe\x8c"
                                                     "9\xe6\x99\x82"
                                                     "48\xe5\x88\x86"
                                                     "26\xe7\xa7\x92",
                                                     21 * 3600 + 48 * 60 + 26}, // 午後9時48分26秒
                                                    {"PM 09:47:59", 21 * 3600 + 47 * 60 + 59},
                                                    {"12:00:01 AM", 1},
                                                    {"9.05.07", 9 * 3600 + 5 * 60 + 7}};
    for (const auto& [text, expected] : readable) {
        int seconds = -1;
        EXPECT_TRUE(history.ReadTime(text, seconds)) << text;
        EXPECT_EQ(seconds, expected) << text;
    }
    for (const char* text :
         {"", "9:05", "25:00:00", "13:00:00 PM", "9:05:07 XM", "9:05:07:01", "abc", "9:60:00"}) {
        int seconds = -1;
        EXPECT_FALSE(history.ReadTime(text, seconds)) << text;
    }
}

// A two-digit year is the latest year not after today that ends in those digits, also at the
// turn of a century.
TEST(HistoryText, TwoDigitYearsAtTheTurnOfACentury) {
    wv::SetLogFormats();
    const struct {
        const char* text;
        QDate today, expected;
    } cases[] = {{"31/12/99", QDate(2000, 1, 3), QDate(1999, 12, 31)},
                 {"3/1/00", QDate(2000, 1, 3), QDate(2000, 1, 3)},
                 {"31/12/99", QDate(2100, 1, 1), QDate(2099, 12, 31)},
                 {"1/1/00", QDate(2100, 1, 1), QDate(2100, 1, 1)},
                 {"6/12/26", QDate(2026, 12, 6), QDate(2026, 12, 6)},
                 {"6/12/27", QDate(2026, 12, 6), QDate(1927, 12, 6)}};
    for (const auto& c : cases) {
        QDate read;
        EXPECT_TRUE(wv::TryStrToDate(c.text, c.today, read)) << c.text;
        EXPECT_EQ(read, c.expected) << c.text << " on " << c.today.toString().toStdString();
    }
    // History on 3 January 2000 takes an entry of New Year's Eve.
    THistory history("%H:%M:%S");
    history.SetNow(QDateTime(QDate(2000, 1, 3), QTime(12, 0)).toSecsSinceEpoch());
    EXPECT_TRUE(history.Add("31/12/99", "22:00:00", "Start of program"));
    EXPECT_EQ(history.FirstDay(), QDate(1999, 12, 31));
}

} // namespace
