// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/HostResolver.h"

namespace wv {

// Host addresses on Linux, without asking NSS (which would hand out 127.0.1.1 from /etc/hosts).
//
// - hostName(): gethostname() into the 64-byte buffer. Linux allows 64-character names; a longer
//   name than fits is cut to its first 63 characters rather than treated as unreadable, so such
//   a host still finds its addresses.
// - resolve(): answers for the empty name and for the local host name (as hostName() gives it)
//   with the IPv4 addresses of the interfaces that are up and running (IFF_UP and IFF_RUNNING, so
//   a link without carrier drops out), loopback interfaces left out, in the kernel's order. When
//   there is no such address the answer is the single address 127.0.0.1. Any other name, or a
//   failure to read the interfaces, gives no answer.
// - startup()/cleanup(): nothing to do.
class LinuxHostResolver final : public HostResolver {
public:
    bool startup() override { return true; }
    void cleanup() override {}
    std::optional<std::string> hostName() override;
    std::optional<AddressList> resolve(const std::string& name) override;

    // The local host's own list as described above; nullopt when the interfaces cannot be read.
    static std::optional<AddressList> localAddresses();
};

} // namespace wv
