// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/LinuxHostResolver.h"

#include "net/HostLookup.h"
#include "net/OnlineIP.h"

#include "QtPrinters.h"
#include <QObject>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace wv {
namespace {

using namespace std::chrono_literals;

// Each test runs in a network (and host-name) namespace of its own, made by this thread and
// left again afterwards, so the interfaces it creates vanish with it and no traffic leaves it.
// Commands started from this thread (ip) inherit the namespace.
class LinuxResolverNetns : public ::testing::Test {
protected:
    void SetUp() override {
        origNet_ = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        origUts_ = open("/proc/thread-self/ns/uts", O_RDONLY | O_CLOEXEC);
        ASSERT_GE(origNet_, 0);
        ASSERT_GE(origUts_, 0);
        if (unshare(CLONE_NEWNET | CLONE_NEWUTS) != 0)
            GTEST_SKIP() << "cannot create a private network namespace (needs root or "
                            "CAP_SYS_ADMIN): "
                         << std::strerror(errno);
        entered_ = true;
        // No IPv6 in here: the links stay silent, also between the two ends of a veth pair.
        for (const char* f : {"/proc/sys/net/ipv6/conf/all/disable_ipv6",
                              "/proc/sys/net/ipv6/conf/default/disable_ipv6"}) {
            const int fd = open(f, O_WRONLY | O_CLOEXEC);
            if (fd >= 0) {
                [[maybe_unused]] auto n = write(fd, "1", 1);
                close(fd);
            }
        }
    }

    void TearDown() override {
        if (entered_) {
            EXPECT_EQ(setns(origNet_, CLONE_NEWNET), 0);
            EXPECT_EQ(setns(origUts_, CLONE_NEWUTS), 0);
        }
        if (origNet_ >= 0)
            close(origNet_);
        if (origUts_ >= 0)
            close(origUts_);
    }

    // Starts `ip` with the given arguments; returns its pid.
    static pid_t spawnIp(std::initializer_list<const char*> args) {
        std::vector<char*> argv{const_cast<char*>("ip")};
        for (const char* a : args)
            argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawnp(&pid, "ip", nullptr, nullptr, argv.data(), environ) != 0)
            return -1;
        return pid;
    }
    static int waitExit(pid_t pid) {
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }
    static void ip(std::initializer_list<const char*> args) {
        ASSERT_EQ(waitExit(spawnIp(args)), 0) << "ip command failed";
    }

    static QStringList dotted(const std::optional<HostResolver::AddressList>& list) {
        QStringList out;
        if (list)
            for (const auto& a : *list)
                out << DottedText(a);
        return out;
    }
    QStringList local() { return dotted(resolver.resolve(std::string())); }
    // Link state settles through the kernel's link watch; wait a while for the expected list.
    bool becomes(const QStringList& expected) {
        for (auto end = std::chrono::steady_clock::now() + 5s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms))
            if (local() == expected)
                return true;
        return false;
    }

    LinuxHostResolver resolver;
    int origNet_ = -1;
    int origUts_ = -1;
    bool entered_ = false;
};

TEST_F(LinuxResolverNetns, LoopbackOnlyGivesLoopbackAddress) {
    EXPECT_EQ(local(), QStringList({"127.0.0.1"}));
    ip({"link", "set", "lo", "up"});
    EXPECT_TRUE(becomes({"127.0.0.1"})) << "loopback interfaces are left out";
    EXPECT_EQ(dotted(resolver.resolve(*resolver.hostName())), QStringList({"127.0.0.1"}));
    EXPECT_EQ(GetCurrentIP(resolver), "127.0.0.1");
    EXPECT_EQ(GetLocalIP(resolver), "127.0.0.1");
}

TEST_F(LinuxResolverNetns, AddressIsListedOnlyWhilePeerIsUp) {
    ip({"link", "add", "wvcable", "type", "veth", "peer", "name", "wvpeer"});
    ip({"addr", "add", "192.0.2.7/24", "dev", "wvcable"});
    ip({"link", "set", "wvcable", "up"});
    EXPECT_EQ(local(), QStringList({"127.0.0.1"})) << "no carrier while the peer is down";

    QObject owner;
    auto* mon = new TOnlineIP(&owner, resolver);
    int changes = 0;
    mon->SetOnChanged([&](QObject*) { ++changes; });

    ip({"link", "set", "wvpeer", "up"});
    EXPECT_TRUE(becomes({"192.0.2.7"}));
    mon->Poll();
    EXPECT_EQ(mon->IP(), "192.0.2.7");
    EXPECT_TRUE(mon->Online());

    ip({"link", "set", "wvpeer", "down"});
    EXPECT_TRUE(becomes({"127.0.0.1"}));
    mon->Poll();
    EXPECT_EQ(mon->IP(), "127.0.0.1");
    EXPECT_FALSE(mon->Online());
    EXPECT_EQ(changes, 2);
}

TEST_F(LinuxResolverNetns, SeveralAddressesComeInAFixedOrder) {
    ip({"link", "add", "wvcable", "type", "veth", "peer", "name", "wvpeer"});
    for (const char* a : {"198.51.100.9/24", "192.0.2.7/24", "203.0.113.5/24"})
        ip({"addr", "add", a, "dev", "wvcable"});
    ip({"link", "set", "wvcable", "up"});
    ip({"link", "set", "wvpeer", "up"});

    const QStringList expected({"198.51.100.9", "192.0.2.7", "203.0.113.5"});
    ASSERT_TRUE(becomes(expected)) << local().join(' ').toStdString();
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(local(), expected);
    EXPECT_EQ(GetCurrentIP(resolver), "203.0.113.5");
    EXPECT_EQ(GetLocalIP(resolver), "198.51.100.9");
}

TEST_F(LinuxResolverNetns, InterfacesComingAndGoingBetweenCalls) {
    ip({"link", "add", "wvcable", "type", "veth", "peer", "name", "wvpeer"});
    ip({"addr", "add", "192.0.2.7/24", "dev", "wvcable"});
    ip({"link", "set", "wvpeer", "up"});
    ip({"link", "set", "wvcable", "up"});
    ASSERT_TRUE(becomes({"192.0.2.7"}));
    ip({"link", "del", "wvcable"});
    EXPECT_EQ(local(), QStringList({"127.0.0.1"})) << "the pair is gone";

    // A stream of links made and removed while the addresses are read over and over.
    QTemporaryFile script;
    ASSERT_TRUE(script.open());
    for (int i = 0; i < 100; ++i)
        script.write("link add wvx type veth peer name wvy\n"
                     "addr add 198.51.100.9/24 dev wvx\n"
                     "link set wvx up\nlink set wvy up\nlink del wvx\n");
    script.close();
    const QByteArray path = script.fileName().toLocal8Bit();
    const pid_t pid = spawnIp({"-force", "-batch", path.constData()});
    ASSERT_GT(pid, 0);

    int reads = 0;
    bool sane = true;
    while (waitpid(pid, nullptr, WNOHANG) == 0 || reads == 0) {
        const QStringList l = local();
        sane = sane && (l == QStringList({"127.0.0.1"}) || l == QStringList({"198.51.100.9"}));
        ++reads;
    }
    EXPECT_TRUE(sane);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(local(), QStringList({"127.0.0.1"}));
}

TEST_F(LinuxResolverNetns, HostNameIsCutToTheBufferAndStillResolves) {
    const std::string name64(64, 'h');
    ASSERT_EQ(sethostname(name64.data(), name64.size()), 0) << std::strerror(errno);
    const auto name = resolver.hostName();
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, std::string(63, 'h'));
    EXPECT_EQ(dotted(resolver.resolve(*name)), QStringList({"127.0.0.1"}));
    EXPECT_EQ(GetCurrentIP(resolver), "127.0.0.1");

    const std::string name63(63, 'k');
    ASSERT_EQ(sethostname(name63.data(), name63.size()), 0);
    EXPECT_EQ(resolver.hostName(), name63);
    EXPECT_FALSE(resolver.resolve("some-other-host").has_value()) << "only the own name answers";
}

} // namespace
} // namespace wv
