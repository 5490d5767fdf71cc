// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// What sleep and changes of the clock leave in the log, step by step with hand-set clocks.
#include "../support/FakeSystemClocks.h"
#include "app/ClockWatch.h"

#include <QTimeZone>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using wv::FakeSystemClocks;
using wv::TClockWatch;

constexpr qint64 S = 1000, H = 3600 * S;

// One step: what happens to the clocks, then what the program hears.
enum class Heard { Poll, SleepStarts, SleepEnds };
struct Step {
    std::function<void(FakeSystemClocks&)> change;
    Heard heard;
    std::vector<std::string> entries; // "message hh:mm:ss"
    bool verdictDue = false;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

auto pass(qint64 ms) {
    return [ms](FakeSystemClocks& c) { c.Pass(ms); };
}
auto sleepFor(qint64 ms) {
    return [ms](FakeSystemClocks& c) { c.Sleep(ms); };
}
auto jump(qint64 wallMs) { // one second passes and the wall clock moves by wallMs besides
    return [wallMs](FakeSystemClocks& c) {
        c.Pass(S);
        c.SetWall(c.Read().wallMs + wallMs);
    };
}

// The clocks start at 10:00:00 on 1 June 2026 in Berlin.
const std::vector<Case> kCases = {
    {"polls a second apart write nothing",
     {{pass(S), Heard::Poll, {}}, {pass(S), Heard::Poll, {}}, {jump(4 * S), Heard::Poll, {}}}},
    {"a sleep seen by the clocks alone",
     {{pass(S), Heard::Poll, {}},
      {sleepFor(8 * H), Heard::Poll, {"Suspend 10:00:01", "Resume 18:00:01"}, true},
      {pass(S), Heard::Poll, {}}}},
    {"a sleep told by the sleep manager",
     {{pass(S), Heard::Poll, {}},
      {pass(S), Heard::SleepStarts, {"Suspend 10:00:02"}},
      {sleepFor(8 * H), Heard::SleepEnds, {"Resume 18:00:02"}, true},
      {pass(S), Heard::Poll, {}}}},
    {"the poll after waking comes before the sleep manager's word",
     {{pass(S), Heard::SleepStarts, {"Suspend 10:00:01"}},
      {sleepFor(H), Heard::Poll, {"Resume 11:00:01"}, true},
      {pass(S), Heard::SleepEnds, {}}}},
    {"the sleep manager's start was missed",
     {{pass(S), Heard::Poll, {}},
      {sleepFor(H), Heard::SleepEnds, {"Suspend 10:00:01", "Resume 11:00:01"}, true}}},
    {"the clock set back an hour",
     {{pass(S), Heard::Poll, {}},
      {jump(-H), Heard::Poll, {"Clock changed 10:00:02", "Clock set 09:00:02"}}}},
    {"the clock set forward an hour",
     {{pass(S), Heard::Poll, {}},
      {jump(H), Heard::Poll, {"Clock changed 10:00:02", "Clock set 11:00:02"}}}},
    {"Berlin to New York",
     {{pass(S), Heard::Poll, {}},
      {[](FakeSystemClocks& c) {
           c.Pass(S);
           c.SetZone("America/New_York", -4 * 3600);
       },
       Heard::Poll,
       {"Clock changed 10:00:02", "Clock set 04:00:02"}}}},
    {"daylight saving time ends: the zone's own change is no clock change",
     {{[](FakeSystemClocks& c) {
           c.Pass(S);
           c.SetZone("Europe/Berlin", 3600);
       },
       Heard::Poll,
       {}}}},
};

class ClockWatchSteps : public ::testing::TestWithParam<Case> {};

TEST_P(ClockWatchSteps, EntriesAndVerdicts) {
    FakeSystemClocks clocks;
    TClockWatch watch;
    EXPECT_TRUE(watch.Poll(clocks.Read()).empty());
    int n = 0;
    for (const Step& step : GetParam().steps) {
        step.change(clocks);
        const std::vector<wv::TClockEntry> got =
            step.heard == Heard::Poll          ? watch.Poll(clocks.Read())
            : step.heard == Heard::SleepStarts ? watch.SleepStarts(clocks.Read())
                                               : watch.SleepEnds(clocks.Read());
        std::vector<std::string> texts;
        for (const wv::TClockEntry& e : got) {
            EXPECT_EQ(e.date, QDate(2026, 6, 1));
            texts.push_back(e.message.toStdString() + " " +
                            e.time.toString(QStringLiteral("HH:mm:ss")).toStdString());
        }
        EXPECT_EQ(texts, step.entries) << "step " << n;
        EXPECT_EQ(watch.TakeVerdictDue(), step.verdictDue) << "step " << n;
        ++n;
    }
}

INSTANTIATE_TEST_SUITE_P(Timelines, ClockWatchSteps, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

} // namespace
