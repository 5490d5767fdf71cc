// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/FileLocations.h"

#include <QString>

#include <optional>

namespace wv {
// The program entry: application object, main window, start-up, message loop.
int RunProgram(int argc, char** argv);

// Where the settings file and the log go. When no place can be written, says where and why
// (EndAtStartUp) and gives nothing.
std::optional<ProgramFiles> LocateFiles(FileLocations& locations);

// A start-up failure that ends the program: the text goes to standard error, and into a box
// only where someone can see and close it (never on the offscreen or minimal platforms).
// Returns the exit code, 1.
int EndAtStartUp(const QString& text);
} // namespace wv
