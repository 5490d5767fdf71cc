// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Loaded with LD_PRELOAD into the program under test: while the file named by WV_SLOW_FSYNC_FLAG
// exists, every fsync() takes WV_SLOW_FSYNC_MS milliseconds longer, as on a slow disk.
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

extern "C" int fsync(int fd) {
    using Fn = int (*)(int);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "fsync"));
    const char* flag = std::getenv("WV_SLOW_FSYNC_FLAG");
    const char* ms = std::getenv("WV_SLOW_FSYNC_MS");
    if (flag && ms && access(flag, F_OK) == 0) {
        const long delay = std::atol(ms);
        timespec ts{delay / 1000, (delay % 1000) * 1000000L};
        nanosleep(&ts, nullptr);
    }
    return real(fd);
}
