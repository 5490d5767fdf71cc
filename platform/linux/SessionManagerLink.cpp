// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/SessionManagerLink.h"

#include <X11/ICE/ICElib.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace wv {

namespace {

void onBrokenLink(IceConn connection) {
    // Qt keeps watching the connection's descriptor and would be woken again and again by the
    // closed socket. Put a pipe that never has anything to read in its place (the write end
    // stays open for good), so the watch sleeps; libICE closes it with the connection.
    const int fd = IceConnectionNumber(connection);
    int quiet[2];
    if (fd >= 0 && ::pipe2(quiet, O_CLOEXEC) == 0) {
        ::dup3(quiet[0], fd, O_CLOEXEC);
        ::close(quiet[0]);
    }
    std::fprintf(stderr, "wirevane: the connection to the session manager broke: going on "
                         "without it\n");
    std::fflush(stderr);
}

} // namespace

void SessionManagerLink::KeepRunningWhenBroken() {
    IceSetIOErrorHandler(onBrokenLink);
}

} // namespace wv
