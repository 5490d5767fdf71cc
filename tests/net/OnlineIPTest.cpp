// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/OnlineIP.h"

#include "base/ErrorReport.h"
#include "support/FakeHostResolver.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wv {
namespace {

// A monitor over the fake resolver whose polls the test runs itself (the event loop never runs
// here, so the real timer stays out of the way), with notifications and error reports recorded.
class OnlineIPTest : public ::testing::Test {
protected:
    void SetUp() override {
        setErrorSink([this](const QString& t) { reports << t; });
        mon.SetOnChanged([this](QObject* sender) {
            EXPECT_EQ(sender, &mon);
            seen << QStringLiteral("%1/%2").arg(mon.IP()).arg(mon.Online() ? "on" : "off");
            if (handlerThrows)
                throw std::runtime_error("handler failure");
        });
    }
    void TearDown() override {
        setErrorSink(nullptr);
        EXPECT_TRUE(r.balanced());
        EXPECT_EQ(r.callsWhileStopped, 0);
    }

    FakeHostResolver r;
    QObject owner;
    TOnlineIP& mon = *new TOnlineIP(&owner, r);
    QStringList seen; // "IP/on|off" as the handler saw the monitor
    QStringList reports;
    bool handlerThrows = false;
};

TEST_F(OnlineIPTest, StartsEmptyOfflineAndArmed) {
    EXPECT_EQ(mon.IP(), "");
    EXPECT_FALSE(mon.Online());
    EXPECT_TRUE(mon.Enabled());
    EXPECT_EQ(mon.DispatchInterval(), 1000u);
    EXPECT_EQ(mon.AddrCount(), 0);
    EXPECT_EQ(r.startups, 0) << "nothing is looked up before the first poll";
}

TEST_F(OnlineIPTest, LastAddressCountsAndEqualPollsStayQuiet) {
    r.setAddresses({"192.168.0.2", "10.0.0.7"});
    mon.Poll();
    mon.Poll();
    EXPECT_EQ(mon.IP(), "10.0.0.7");
    EXPECT_TRUE(mon.Online());
    EXPECT_EQ(seen, QStringList({"10.0.0.7/on"}));
}

TEST_F(OnlineIPTest, LoopbackIsOfflineButStillAChangeFromEmpty) {
    r.setAddresses({"127.0.0.1"});
    mon.Poll();
    mon.Poll();
    EXPECT_EQ(mon.IP(), "127.0.0.1");
    EXPECT_FALSE(mon.Online());
    EXPECT_EQ(seen, QStringList({"127.0.0.1/off"}));
}

TEST_F(OnlineIPTest, FailedLookupAtFirstPollIsNoChange) {
    r.setNoAnswer();
    mon.Poll();
    r.setAddresses({"10.0.0.7"});
    r.hostNameFails = true;
    mon.Poll();
    EXPECT_EQ(mon.IP(), "");
    EXPECT_FALSE(mon.Online());
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(OnlineIPTest, EveryChangeBetweenPollsNotifiesOnce) {
    r.queueAnswer({"10.0.0.7"});
    r.queueAnswer({"10.0.0.9"}); // still online, new address
    r.queueAnswer({"10.0.0.9"});
    r.queueAnswer({});            // address gone
    r.queueAnswer({"127.0.0.1"}); // offline, but a new address text
    r.queueNoAnswer();
    for (int i = 0; i < 6; ++i)
        mon.Poll();
    EXPECT_EQ(seen, QStringList({"10.0.0.7/on", "10.0.0.9/on", "/off", "127.0.0.1/off", "/off"}));
    EXPECT_EQ(mon.IP(), "");
    EXPECT_FALSE(mon.Online());
}

TEST_F(OnlineIPTest, UnsetHandlerStillUpdatesReading) {
    mon.SetOnChanged(nullptr);
    r.setAddresses({"10.0.0.7"});
    mon.Poll();
    EXPECT_EQ(mon.IP(), "10.0.0.7");
    EXPECT_TRUE(mon.Online());
}

TEST_F(OnlineIPTest, ErrorsAreReportedAndTheReadingIsKept) {
    r.setAddresses({"10.0.0.7"});
    handlerThrows = true;
    mon.Poll();
    EXPECT_EQ(reports, QStringList({"handler failure"}));
    EXPECT_EQ(mon.IP(), "10.0.0.7") << "the reading is stored before the handler runs";

    mon.Poll(); // same reading: not reported again
    EXPECT_EQ(seen.size(), 1);
    EXPECT_EQ(reports.size(), 1);

    r.throwOnResolve = true;
    mon.Poll();
    EXPECT_EQ(reports.size(), 2);
    EXPECT_EQ(reports.last(), "resolver failure");

    r.throwOnResolve = false;
    handlerThrows = false;
    r.setAddresses({"10.0.0.9"});
    mon.Poll();
    EXPECT_EQ(seen.last(), "10.0.0.9/on");
    EXPECT_EQ(reports.size(), 2);
}

TEST_F(OnlineIPTest, WritesToOnlineAndIPAreIgnored) {
    r.setAddresses({"10.0.0.7"});
    mon.Poll();
    mon.SetIP("192.168.0.2");
    mon.SetOnline(false);
    EXPECT_EQ(mon.IP(), "10.0.0.7");
    EXPECT_TRUE(mon.Online());
    mon.Poll();
    EXPECT_EQ(seen.size(), 1) << "an ignored write must not look like a change to the next poll";
}

TEST_F(OnlineIPTest, AddressListIsFilledOnlyOnRequest) {
    QString last = "stale";
    QString out = "kept";
    mon.GetAddr(0, out);
    EXPECT_EQ(out, "kept") << "empty list";

    r.setAddresses({"192.168.0.2", "10.0.0.7", "10.0.0.7"});
    mon.UpdateAddrList(last);
    EXPECT_EQ(last, "10.0.0.7");
    ASSERT_EQ(mon.AddrCount(), 3) << "duplicates stay";
    QStringList items;
    for (int i = 0; i < mon.AddrCount(); ++i) {
        mon.GetAddr(i, out);
        items << out;
    }
    EXPECT_EQ(items, QStringList({"192.168.0.2", "10.0.0.7", "10.0.0.7"}));
    out = "kept";
    mon.GetAddr(-1, out);
    mon.GetAddr(mon.AddrCount(), out);
    EXPECT_EQ(out, "kept");

    r.setAddresses({"10.0.0.9"});
    mon.Poll();
    EXPECT_EQ(mon.AddrCount(), 3) << "polls never touch the list";

    r.setNoAnswer();
    mon.UpdateAddrList(last);
    EXPECT_EQ(mon.AddrCount(), 0);
    EXPECT_EQ(last, "");
}

TEST_F(OnlineIPTest, LocalIPIsTheFirstAddressOrLoopback) {
    QString out;
    r.setAddresses({"192.168.0.2", "10.0.0.7"});
    mon.GetLocalIP(out);
    EXPECT_EQ(out, "192.168.0.2");
    r.setNoAnswer();
    mon.GetLocalIP(out);
    EXPECT_EQ(out, "127.0.0.1");
    r.startupFails = true;
    r.setAddresses({"10.0.0.7"});
    mon.GetLocalIP(out);
    EXPECT_EQ(out, "127.0.0.1");
}

TEST_F(OnlineIPTest, EveryPathReleasesTheSocketsLayer) {
    QString s;
    r.setAddresses({"10.0.0.7"});
    for (int mode = 0; mode < 4; ++mode) {
        r.hostNameFails = mode == 1;
        r.throwOnResolve = mode == 2;
        if (mode == 3)
            r.setNoAnswer();
        mon.Poll();
        if (mode != 2) {
            mon.UpdateAddrList(s);
            mon.GetLocalIP(s);
        }
        EXPECT_TRUE(r.balanced()) << "mode " << mode;
    }
    EXPECT_EQ(r.cleanups, r.startups);
}

} // namespace
} // namespace wv
