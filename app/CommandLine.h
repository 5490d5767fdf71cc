// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>
#include <QStringList>

namespace wv {

// What the command line asks for. Parsing touches no file and no display, so --help and
// --version answer anywhere, also without a desktop.
struct CommandLine {
    enum class Action {
        Run,     // no option: start, or hand over to the running copy
        Show,    // --show: like Run, and the window is shown either way
        Quit,    // --quit: end the running copy
        History, // --history [7|30|90|all] [--log FILE]: the report in the terminal
        Help,    // --help, -h
        Version, // --version, -v
        Usage,   // anything not understood: `error` says what
    };
    Action action = Action::Run;
    QString historyPeriod; // with History: "7", "30", "90", "all", or empty for the default
    QString logFile;       // with History: --log FILE, or empty
    QString error;         // with Usage

    // The exit code for Help, Version (0) and Usage (2).
    static constexpr int kUsageExitCode = 2;
};

// `arguments` as main() received them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text of --help (also printed after a usage error) and of --version.
QString CommandLineHelp();
QString CommandLineVersion();

} // namespace wv
