// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "net/HostResolver.h"

#include <QLatin1String>
#include <QString>

#include <functional>

namespace wv {

// The three lookups of the local host's IPv4 addresses. Each one starts the resolver's sockets
// layer on entry and, once started, releases it before returning on every path (also when the
// resolver or the caller's callback throws); nothing is kept between calls. They never report
// anything: every failure ends in "no address".

// The loop-back address, the answer when the host has nothing better.
inline constexpr QLatin1String kLoopbackAddress{"127.0.0.1"};

// Dotted text of an address: the four bytes in decimal without leading zeros, joined by '.'.
QString DottedText(const HostResolver::Address& a);

// The last address of the local host (read by its name), or empty text when there is none.
QString GetCurrentIP(HostResolver& resolver);

// Hands every address of the local host (read by its name) to `each`, in order, and returns
// the last one; empty text when there is none.
QString LookupAddressList(HostResolver& resolver, const std::function<void(const QString&)>& each);

// The first address of the local host's own entry (no host name is read), or "127.0.0.1" when
// there is none or the sockets layer does not start.
QString GetLocalIP(HostResolver& resolver);

} // namespace wv
