#include "net/OnlineIP.h"

#include "base/ErrorReport.h"
#include "support/FakeHostResolver.h"

#include "QtPrinters.h"
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
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

} // namespace
} // namespace wv
