// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "net/HostLookup.h"

#include "support/FakeHostResolver.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wv {
namespace {

QStringList listOf(HostResolver& r, QString* last = nullptr) {
    QStringList seen;
    const QString l = LookupAddressList(r, [&](const QString& a) { seen << a; });
    if (last)
        *last = l;
    return seen;
}

TEST(HostLookup, LastFirstAndAllAddressesInOrder) {
    FakeHostResolver r;
    r.setAddresses({"192.168.0.2", "10.0.0.7", "10.0.0.9"});

    EXPECT_EQ(GetCurrentIP(r), "10.0.0.9");
    EXPECT_EQ(r.lastResolvedName, r.name);

    QString last;
    EXPECT_EQ(listOf(r, &last), QStringList({"192.168.0.2", "10.0.0.7", "10.0.0.9"}));
    EXPECT_EQ(last, "10.0.0.9");

    const int namesRead = r.hostNameCalls;
    EXPECT_EQ(GetLocalIP(r), "192.168.0.2");
    EXPECT_EQ(r.lastResolvedName, "") << "the primary address comes from the host's own entry";
    EXPECT_EQ(r.hostNameCalls, namesRead) << "no host name is read for the primary address";

    EXPECT_EQ(r.startups, 3);
    EXPECT_TRUE(r.balanced());
    EXPECT_EQ(r.callsWhileStopped, 0);
}

TEST(HostLookup, NoAddressEndsInEmptyTextOrLoopback) {
    FakeHostResolver r;
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        r.setNoAnswer();
        if (variant == 1)
            r.setAddresses({}); // an answer without addresses
        if (variant == 2) {
            r.setAddresses({"10.0.0.7"});
            r.hostNameFails = true; // only the lookups by name are affected
        }
        EXPECT_EQ(GetCurrentIP(r), "");
        QString last = "stale";
        EXPECT_TRUE(listOf(r, &last).isEmpty());
        EXPECT_EQ(last, "");
        EXPECT_EQ(GetLocalIP(r), variant == 2 ? "10.0.0.7" : "127.0.0.1");
    }
    EXPECT_TRUE(r.balanced());
    EXPECT_EQ(r.callsWhileStopped, 0);
}

TEST(HostLookup, SocketsLayerThatDoesNotStartAsksNothingAndReleasesNothing) {
    FakeHostResolver r;
    r.setAddresses({"10.0.0.7"});
    r.startupFails = true;

    EXPECT_EQ(GetLocalIP(r), "127.0.0.1");
    EXPECT_EQ(GetCurrentIP(r), "");
    EXPECT_TRUE(listOf(r).isEmpty());
    EXPECT_EQ(r.startups, 3);
    EXPECT_EQ(r.resolveCalls, 0);
    EXPECT_EQ(r.hostNameCalls, 0);
    EXPECT_EQ(r.cleanups, 0);
}

TEST(HostLookup, ReleasedWhenResolverOrCallerThrows) {
    FakeHostResolver r;
    r.setAddresses({"10.0.0.7", "10.0.0.9"});
    r.throwOnResolve = true;
    EXPECT_THROW(GetCurrentIP(r), std::runtime_error);
    EXPECT_THROW(GetLocalIP(r), std::runtime_error);
    EXPECT_THROW(listOf(r), std::runtime_error);
    EXPECT_TRUE(r.balanced());

    r.throwOnResolve = false;
    int handed = 0;
    EXPECT_THROW(LookupAddressList(r,
                                   [&](const QString&) {
                                       ++handed;
                                       throw std::runtime_error("caller failure");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(handed, 1);
    EXPECT_TRUE(r.balanced());
    EXPECT_EQ(r.cleanups, 4);
}

TEST(HostLookup, DottedTextHasNoLeadingZeros) {
    EXPECT_EQ(DottedText({0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(DottedText({10, 0, 7, 255}), "10.0.7.255");
    EXPECT_EQ(DottedText({100, 20, 3, 109}), "100.20.3.109");
}

} // namespace
} // namespace wv
