// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/ShutdownSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs the event loop until `spy` has `count` entries or the limit is reached.
void waitFor(QSignalSpy& spy, int count) {
    QDeadlineTimer limit(5000);
    while (spy.count() < count && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Gives queued notifications a chance to arrive.
void settle() {
    QDeadlineTimer limit(200);
    while (!limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The three signals at their default action for one test, put back after: a test run started
// with SIGHUP or SIGINT ignored (nohup) would otherwise keep them ignored.
class DefaultActions {
public:
    DefaultActions() {
        for (int i = 0; i < 3; ++i)
            ::sigaction(kSignals[i], nullptr, &saved_[i]);
        set(SIG_DFL, SIG_DFL);
    }
    ~DefaultActions() {
        for (int i = 0; i < 3; ++i)
            ::sigaction(kSignals[i], &saved_[i], nullptr);
    }
    static void set(void (*hangUp)(int), void (*interrupt)(int)) {
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGHUP, hangUp);
        ::signal(SIGINT, interrupt);
    }

private:
    static constexpr int kSignals[3] = {SIGTERM, SIGHUP, SIGINT};
    struct sigaction saved_[3];
};

TEST(ShutdownSignalsTest, EachCaughtSignalRequestsAShutdown) {
    DefaultActions defaults;
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        wv::ShutdownSignals signals_;
        QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
        ASSERT_TRUE(signals_.Install());
        ASSERT_EQ(::raise(sig), 0);
        EXPECT_EQ(spy.count(), 0); // nothing happens inside the handler
        waitFor(spy, 1);
        ASSERT_EQ(spy.count(), 1) << sig;
        EXPECT_EQ(spy.at(0).at(0).toInt(), sig);
        EXPECT_TRUE(signals_.HasFired());
        EXPECT_EQ(signals_.Sender(), QStringLiteral("this process")) << sig;
    }
}

TEST(ShutdownSignalsTest, FurtherSignalsDoNotRequestASecondClose) {
    DefaultActions defaults;
    wv::ShutdownSignals signals_;
    QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
    ASSERT_TRUE(signals_.Install());
    ::raise(SIGHUP);
    ::raise(SIGTERM); // before the first was handled
    waitFor(spy, 1);
    ::raise(SIGINT); // after it was handled
    ::raise(SIGTERM);
    settle();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);

    // A fresh installation reports again.
    signals_.Uninstall();
    ASSERT_TRUE(signals_.Install());
    ::raise(SIGINT);
    waitFor(spy, 2);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), SIGINT);
}

// Started by nohup or as a script's background job: the hang-up and the interrupt stay ignored,
// SIGTERM still ends the program, and the ignoring is still there afterwards.
TEST(ShutdownSignalsTest, AHangUpOrInterruptIgnoredAtStartStaysIgnored) {
    DefaultActions defaults;
    DefaultActions::set(SIG_IGN, SIG_IGN);
    wv::ShutdownSignals signals_;
    QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
    ASSERT_TRUE(signals_.Install());
    ::raise(SIGHUP);
    ::raise(SIGINT);
    settle();
    EXPECT_EQ(spy.count(), 0);
    ::raise(SIGTERM);
    waitFor(spy, 1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
    signals_.Uninstall();
    struct sigaction now {};
    ::sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
}

TEST(ShutdownSignalsTest, OnlyOneInstallationAtATime) {
    wv::ShutdownSignals first;
    wv::ShutdownSignals second;
    ASSERT_TRUE(first.Install());
    EXPECT_FALSE(second.Install());
    EXPECT_FALSE(second.IsInstalled());
    first.Uninstall();
    EXPECT_TRUE(second.Install());
}

volatile sig_atomic_t g_previousHandlerRuns = 0;
extern "C" void previousHandler(int) {
    g_previousHandlerRuns = g_previousHandlerRuns + 1;
}

TEST(ShutdownSignalsTest, UninstallPutsBackThePreviousHandlers) {
    struct sigaction mine {};
    mine.sa_handler = previousHandler;
    sigemptyset(&mine.sa_mask);
    struct sigaction saved[3];
    const int sigs[3] = {SIGTERM, SIGHUP, SIGINT};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(::sigaction(sigs[i], &mine, &saved[i]), 0);

    {
        wv::ShutdownSignals signals_;
        QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
        ASSERT_TRUE(signals_.Install());
        ::raise(SIGTERM);
        waitFor(spy, 1);
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(g_previousHandlerRuns, 0);
    } // the destructor uninstalls

    for (const int sig : sigs)
        ::raise(sig);
    EXPECT_EQ(g_previousHandlerRuns, 3);
    for (int i = 0; i < 3; ++i)
        ::sigaction(sigs[i], &saved[i], nullptr);
}

} // namespace

namespace {

TEST(ShutdownSignalsTest, SignalsCaughtBeforeInstallAreReportedOnceInstalled) {
    ASSERT_TRUE(wv::ShutdownSignals::CatchEarly());
    ASSERT_EQ(::raise(SIGTERM), 0); // no instance yet: caught and kept, not fatal
    ::raise(SIGHUP);
    EXPECT_EQ(wv::ShutdownSignals::ArrivedSignal(), SIGTERM);

    wv::ShutdownSignals signals_;
    QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
    ASSERT_TRUE(signals_.Install());
    waitFor(spy, 1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);

    // After StopListening signals are still caught, and end nothing.
    signals_.StopListening();
    ::raise(SIGINT);
    settle();
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
