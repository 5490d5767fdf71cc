// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// A check that stays on in every build of a fuzzer: a failed one aborts, which libFuzzer reports
// with the input that caused it.
#include <cstdio>
#include <cstdlib>

inline void checkAt(bool ok, int line) {
    if (!ok) {
        std::fprintf(stderr, "check failed at line %d\n", line);
        std::abort();
    }
}
#define check(ok) checkAt((ok), __LINE__)
