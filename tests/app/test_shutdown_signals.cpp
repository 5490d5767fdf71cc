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

// Sets a signal's action for one scope and puts the old one back after. A test run started with
// SIGHUP or SIGINT ignored (nohup) would otherwise keep them ignored.
class ActionFor {
public:
    ActionFor(int sig, void (*handler)(int)) : sig_(sig) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        ::sigaction(sig, &action, &saved_);
    }
    ~ActionFor() { ::sigaction(sig_, &saved_, nullptr); }

private:
    int sig_;
    struct sigaction saved_ {};
};

// Each signal requests the close once, named with its sender, unless the process was started
// with it ignored (nohup, a script's background job): then a hang-up or interrupt stays ignored,
// also after Uninstall(); SIGTERM never does.
TEST(ShutdownSignalsTest, EachSignalRequestsAShutdownUnlessIgnoredAtStart) {
    const struct {
        int sig;
        void (*atStart)(int);
        bool requests;
    } cases[] = {{SIGTERM, SIG_DFL, true}, {SIGHUP, SIG_DFL, true},  {SIGINT, SIG_DFL, true},
                 {SIGTERM, SIG_IGN, true}, {SIGHUP, SIG_IGN, false}, {SIGINT, SIG_IGN, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sig << (c.atStart == SIG_IGN ? " ignored" : ""));
        ActionFor start(c.sig, c.atStart);
        wv::ShutdownSignals signals_;
        QSignalSpy spy(&signals_, &wv::ShutdownSignals::shutdownRequested);
        ASSERT_TRUE(signals_.Install());
        ASSERT_EQ(::raise(c.sig), 0);
        EXPECT_EQ(spy.count(), 0); // nothing happens inside the handler
        if (!c.requests) {
            settle();
            EXPECT_EQ(spy.count(), 0);
            signals_.Uninstall();
            struct sigaction now {};
            ::sigaction(c.sig, nullptr, &now);
            EXPECT_EQ(now.sa_handler, SIG_IGN);
            continue;
        }
        waitFor(spy, 1);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toInt(), c.sig);
        EXPECT_TRUE(signals_.HasFired());
        EXPECT_EQ(signals_.Sender(), QStringLiteral("this process"));
    }
}

TEST(ShutdownSignalsTest, FurtherSignalsDoNotRequestASecondClose) {
    ActionFor hangUp(SIGHUP, SIG_DFL), interrupt(SIGINT, SIG_DFL);
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
