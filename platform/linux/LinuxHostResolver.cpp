// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/LinuxHostResolver.h"

#include <cerrno>
#include <cstring>

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

namespace wv {

std::optional<std::string> LinuxHostResolver::hostName() {
    char buf[kHostNameBufferSize + 1] = {};
    // One byte more than the host-name buffer, so a name that does not fit is noticed and cut
    // instead of arriving without its terminator.
    if (gethostname(buf, sizeof buf - 1) != 0 && errno != ENAMETOOLONG)
        return std::nullopt;
    buf[kHostNameBufferSize - 1] = '\0';
    return std::string(buf);
}

std::optional<HostResolver::AddressList> LinuxHostResolver::resolve(const std::string& name) {
    if (!name.empty()) {
        const std::optional<std::string> own = hostName();
        if (!own || *own != name)
            return std::nullopt;
    }
    return localAddresses();
}

std::optional<HostResolver::AddressList> LinuxHostResolver::localAddresses() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;

    AddressList out;
    constexpr unsigned kWanted = IFF_UP | IFF_RUNNING;
    for (const ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
        if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET)
            continue;
        if ((it->ifa_flags & kWanted) != kWanted || (it->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        sockaddr_in sin;
        std::memcpy(&sin, it->ifa_addr, sizeof sin);
        Address a;
        // s_addr is in network byte order: its bytes in memory are most significant first.
        std::memcpy(a.data(), &sin.sin_addr.s_addr, a.size());
        out.push_back(a);
    }
    freeifaddrs(list);

    if (out.empty())
        out.push_back(Address{127, 0, 0, 1});
    return out;
}

} // namespace wv
