// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wv {

// The sockets layer as the address lookups see it: the local host's name and, for a name, its
// IPv4 addresses in a fixed order. Every lookup brackets its calls with startup()/cleanup().
class HostResolver {
public:
    // Four bytes of an IPv4 address, most significant first.
    using Address = std::array<std::uint8_t, 4>;
    using AddressList = std::vector<Address>;

    // Size of the buffer the host name is read into, terminator included.
    static constexpr std::size_t kHostNameBufferSize = 64;

    virtual ~HostResolver() = default;

    // Starts the sockets layer; false when it cannot be started. Each successful startup() is
    // matched by exactly one cleanup().
    virtual bool startup() = 0;
    virtual void cleanup() = 0;

    // The local host's name, at most kHostNameBufferSize - 1 characters; nullopt when it cannot
    // be read.
    virtual std::optional<std::string> hostName() = 0;

    // The addresses of `name` in the resolver's order, or nullopt when there is no answer. The
    // empty name stands for the local host itself.
    virtual std::optional<AddressList> resolve(const std::string& name) = 0;
};

} // namespace wv
