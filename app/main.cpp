// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/Program.h"
#include "platform/linux/ShutdownSignals.h"

namespace {
// Termination signals are caught from the first moment the program's own code runs, before the
// libraries' initialisers: a signal sent while the program starts then still ends it cleanly.
void catchSignalsEarly(int, char**, char**) {
    wv::ShutdownSignals::CatchEarly();
}
} // namespace

__attribute__((section(".preinit_array"),
               used)) static void (*const wv_preinit)(int, char**, char**) = catchSignalsEarly;

int main(int argc, char** argv) {
    return wv::RunProgram(argc, argv);
}
