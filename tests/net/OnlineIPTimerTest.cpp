// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/OnlineIP.h"

#include "base/ErrorReport.h"
#include "support/FakeHostResolver.h"

#include "QtPrinters.h"
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace wv {
namespace {

// The monitor on the real event loop. Each poll starts the fake's sockets layer once, so
// `r.startups` counts polls.
//
// Some checks block the thread without running the event loop and then let it run once: a
// timer that is due by then fires, one restarted a moment ago does not. That shows whether a
// write restarted the period without depending on how busy the machine is.
class OnlineIPTimerTest : public ::testing::Test {
protected:
    void TearDown() override { setErrorSink(nullptr); }

    static void blockFor(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int pollsAfterOneLoopPass() {
        const int before = r.startups;
        QCoreApplication::processEvents();
        return r.startups - before;
    }

    FakeHostResolver r;
    QObject owner;
    TOnlineIP& mon = *new TOnlineIP(&owner, r);
};

TEST_F(OnlineIPTimerTest, PollsAboutOnceASecondFromConstruction) {
    r.setAddresses({"10.0.0.7"});
    EXPECT_EQ(pollsAfterOneLoopPass(), 0) << "the first poll is one full interval away";
    QTest::qWait(3500);
    EXPECT_GE(r.startups, 2);
    EXPECT_LE(r.startups, 4);
    EXPECT_EQ(mon.IP(), "10.0.0.7");
}

TEST_F(OnlineIPTimerTest, ChangingEnabledRestartsThePeriodEqualWriteDoesNot) {
    mon.SetDispatchInterval(300);
    blockFor(400);
    mon.SetEnabled(true); // equal: the period keeps running and is overdue by now
    EXPECT_EQ(pollsAfterOneLoopPass(), 1);

    for (int i = 0; i < 5; ++i) {
        blockFor(150);
        mon.SetEnabled(false);
        mon.SetEnabled(true);
    }
    EXPECT_EQ(pollsAfterOneLoopPass(), 0) << "each False/True pair begins a fresh period";

    mon.SetEnabled(false);
    blockFor(400);
    EXPECT_EQ(pollsAfterOneLoopPass(), 0) << "disabled";
    mon.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return r.startups == 2; }, 5000))
        << "polling resumes after a full period";
}

TEST_F(OnlineIPTimerTest, ChangingIntervalRestartsThePeriodZeroStops) {
    mon.SetDispatchInterval(300);
    blockFor(400);
    mon.SetDispatchInterval(300); // equal: no restart
    EXPECT_EQ(pollsAfterOneLoopPass(), 1);

    blockFor(400);
    mon.SetDispatchInterval(350);
    EXPECT_EQ(pollsAfterOneLoopPass(), 0) << "a new interval begins a fresh period";

    mon.SetDispatchInterval(0);
    blockFor(500);
    EXPECT_EQ(pollsAfterOneLoopPass(), 0) << "interval 0 stops polling";
    mon.SetDispatchInterval(300);
    EXPECT_EQ(pollsAfterOneLoopPass(), 0);
    blockFor(400);
    EXPECT_EQ(pollsAfterOneLoopPass(), 1);
}

TEST_F(OnlineIPTimerTest, PollingGoesOnAfterAnError) {
    QStringList reports;
    setErrorSink([&](const QString& t) { reports << t; });
    r.throwOnResolve = true;
    mon.SetDispatchInterval(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() >= 3; }, 5000));
    EXPECT_TRUE(r.balanced());
}

// A box raised from inside a poll runs a nested loop while the poll's own timer event is still
// being handled. Polls must go on inside it, and a change seen there must be reported there.
// Cases: the change handler opens the loop, and the error report opens it.
TEST_F(OnlineIPTimerTest, PollsGoOnInsideALoopOpenedByAPoll) {
    enum class Opener { ChangeHandler, ErrorReport };
    for (const Opener opener : {Opener::ChangeHandler, Opener::ErrorReport}) {
        SCOPED_TRACE(opener == Opener::ChangeHandler ? "change handler" : "error report");
        FakeHostResolver res;
        QObject parent;
        TOnlineIP& m = *new TOnlineIP(&parent, res);
        m.SetDispatchInterval(100);
        int depth = 0;
        int nestedPolls = 0;
        QStringList seenInside; // addresses reported while the first handler's loop runs
        const auto holdOpen = [&] {
            // As a modal box does: run the loop until the cable has changed twice inside it.
            ++depth;
            const int before = res.startups;
            (void)QTest::qWaitFor([&] { return seenInside.size() >= 2; }, 5000);
            nestedPolls = res.startups - before;
            --depth;
        };
        res.setAddresses({"10.0.0.7"});
        m.SetOnChanged([&](QObject*) {
            if (depth > 0) {
                seenInside << m.IP();
                if (m.IP() == "10.0.0.8")
                    res.setAddresses({"10.0.0.9"});
                return;
            }
            res.setAddresses({"10.0.0.8"});
            if (opener == Opener::ChangeHandler)
                holdOpen();
            else
                throw std::runtime_error("Cannot create file");
        });
        setErrorSink([&](const QString&) { holdOpen(); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return nestedPolls > 0; }, 8000));
        EXPECT_EQ(seenInside, (QStringList{"10.0.0.8", "10.0.0.9"}));
        EXPECT_GE(nestedPolls, 2);
        setErrorSink(nullptr);
    }
}

} // namespace
} // namespace wv
