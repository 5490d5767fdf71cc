// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The verdict of the three ways over a fake probe: no window, no network, no waiting.
#include "app/ConnectionVerdict.h"
#include "support/FakeInternetProbe.h"

#include <gtest/gtest.h>

#include <vector>

namespace wv {
namespace {

using Kind = ProbeAnswer::Kind;
const QString kAddr = QStringLiteral("192.0.2.7");

class VerdictTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeInternetProbe::Record> probe =
        std::make_shared<FakeInternetProbe::Record>();
    int made = 0;
    int changes = 0;
    qint64 now = 0;
    TConnectionVerdict v{[this] {
        ++made;
        return std::make_unique<FakeInternetProbe>(probe);
    }};
    QString ip;

    void SetUp() override {
        v.SetMonotonicClock([this] { return now; });
        v.OnChanged = [this] { ++changes; };
    }
    TStatus status() const {
        return v.Decide(ip, !ip.isEmpty() && ip != QLatin1String("127.0.0.1"), {},
                        [] { return QStringLiteral("192.0.2.1"); });
    }
};

TEST_F(VerdictTest, AddressWaysDecideFromTheReadingAloneAndNeverProbe) {
    const std::pair<TWay, TStatus> cases[] = {{TWay::List, TStatus::Offline},
                                              {TWay::LocalIP, TStatus::Online},
                                              {TWay::None, TStatus::Online}};
    for (const auto& [way, want] : cases) {
        v.SetWay(way, kAddr);
        v.ReadingChanged(kAddr);
        EXPECT_EQ(v.Decide(kAddr, true, {kAddr}, [] { return QStringLiteral("192.0.2.1"); }), want);
    }
    EXPECT_EQ(made, 0) << "no probe is even made";
    EXPECT_EQ(v.PendingDelayMs(), -1);
}

// One step of a run of the internet check, and what must hold after it.
struct Step {
    enum Op { Way, Reading, Answer, Timer, Advance } op;
    const char* arg = nullptr; // Way/Reading: the address; Advance: milliseconds
    Kind kind = Kind::NoInternet;
    TStatus want = TStatus::Offline;
    int delay = -2;   // the next probe's delay; -1 none; -2 not checked
    int starts = -1;  // probes started so far; -1 not checked
    bool out = false; // a probe is out after the step
};

TEST_F(VerdictTest, InternetCheckRuns) {
    using S = Step;
    const auto O = TStatus::Online, F = TStatus::Offline, P = TStatus::SignInRequired;
    struct Run {
        const char* name;
        std::vector<Step> steps;
    };
    const Run runs[] = {
        {"good answer, then every interval from the probe's start",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Advance, "1500", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::Internet, O, 28500, 1, false},
          {S::Timer, nullptr, {}, O, -1, 2, true}}},
        {"a failure while online is confirmed 2 s later before it counts: one lost answer is "
         "no outage, two are",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 1, false},
          {S::Timer, nullptr, {}, O, -1, 2, true},
          {S::Answer, nullptr, Kind::NoInternet, O, 2000, 2, false},
          {S::Timer, nullptr, {}, O, -1, 3, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 3, false},
          {S::Timer, nullptr, {}, O, -1, 4, true},
          {S::Advance, "5000", {}, O, -1, 4, true},
          {S::Answer, nullptr, Kind::NoInternet, O, 2000, 4, false},
          {S::Timer, nullptr, {}, O, -1, 5, true},
          {S::Advance, "5000", {}, O, -1, 5, true},
          {S::Answer, nullptr, Kind::NoInternet, F, 0, 5, false}}},
        {"not online: no confirmation, every 5 s",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::NoInternet, F, 5000, 1, false},
          {S::Timer, nullptr, {}, F, -1, 2, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 2, false}}},
        {"a captive portal counts at once, also while online, and is asked every 5 s",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 1, false},
          {S::Timer, nullptr, {}, O, -1, 2, true},
          {S::Answer, nullptr, Kind::CaptivePortal, P, 5000, 2, false},
          {S::Timer, nullptr, {}, P, -1, 3, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 3, false}}},
        {"address gone while a probe is out: offline at once, the probe dropped, none sent",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 1, false},
          {S::Timer, nullptr, {}, O, -1, 2, true},
          {S::Reading, "127.0.0.1", {}, F, -1, 2, false},
          {S::Reading, "", {}, F, -1, 2, false},
          {S::Reading, "198.51.100.2", {}, F, -1, 3, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 3, false}}},
        {"a new address while online: a probe at once, the verdict kept meanwhile",
         {{S::Way, "192.0.2.7", {}, F, -1, 1, true},
          {S::Answer, nullptr, Kind::Internet, O, 30000, 1, false},
          {S::Reading, "198.51.100.2", {}, O, -1, 2, true},
          {S::Answer, nullptr, Kind::NoInternet, O, 2000, 2, false}}},
        {"no address when chosen: nothing probed until one comes",
         {{S::Way, "", {}, F, -1, 0, false},
          {S::Reading, "127.0.0.1", {}, F, -1, 0, false},
          {S::Reading, "192.0.2.7", {}, F, -1, 1, true}}},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        *probe = FakeInternetProbe::Record{};
        v.SetWay(TWay::List, {});
        now = 0;
        int step = 0;
        for (const Step& s : run.steps) {
            SCOPED_TRACE(step++);
            switch (s.op) {
            case S::Way:
                ip = QString::fromLatin1(s.arg);
                v.SetWay(TWay::Internet, ip);
                break;
            case S::Reading:
                ip = QString::fromLatin1(s.arg);
                v.ReadingChanged(ip);
                break;
            case S::Answer:
                ASSERT_TRUE(probe->answer(s.kind, QUrl("http://198.51.100.1/login")));
                break;
            case S::Timer:
                ASSERT_NE(v.PendingDelayMs(), -1) << "no probe was due";
                v.RunTimer();
                break;
            case S::Advance:
                now += QByteArray(s.arg).toLongLong();
                break;
            }
            EXPECT_EQ(status(), s.want);
            if (s.delay != -2) {
                EXPECT_EQ(v.PendingDelayMs(), s.delay);
            }
            if (s.starts != -1) {
                EXPECT_EQ(probe->starts, s.starts);
            }
            EXPECT_EQ(probe->out(), s.out);
            EXPECT_EQ(v.Probing(), s.out);
        }
    }
}

TEST_F(VerdictTest, SettingsReachTheProbeAndANewPortalPageIsTold) {
    v.SetSettings({"http://198.51.100.1:8080/nm", "", 2});
    EXPECT_EQ(v.Settings().intervalSecs, TProbeSettings::kMinIntervalSecs);
    ip = kAddr;
    v.SetWay(TWay::Internet, ip);
    EXPECT_EQ(probe->url, QUrl("http://198.51.100.1:8080/nm"));
    EXPECT_EQ(probe->expect, QByteArray());
    probe->answer(Kind::CaptivePortal, QUrl("http://198.51.100.1/a"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(v.SignInPage(), QUrl("http://198.51.100.1/a"));
    v.RunTimer();
    probe->answer(Kind::CaptivePortal, QUrl("http://198.51.100.1/a"));
    EXPECT_EQ(changes, 1) << "the same answer again changes nothing";
    v.RunTimer();
    probe->answer(Kind::CaptivePortal, QUrl("http://198.51.100.1/b"));
    EXPECT_EQ(changes, 2) << "a new page is shown";
}

} // namespace
} // namespace wv
