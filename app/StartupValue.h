// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/RunKeyStore.h"

#include <QString>

#include <string>

namespace wv {

// The name of the value that makes the system start the program at log-on.
inline constexpr const char* RunValueName = "Wirevane";

// The value's text for the program at `exePath`: the whole path's bytes in the file-name
// encoding. A desktop entry has no length limit, so nothing is cut: a cut path starts nothing.
std::string RunValueText(const QString& exePath);

// Writes the value with `exePath` when `value` is true, deletes it when false. Returns why the
// store refused, in plain words, or an empty text when it did not refuse; an error is reported
// as "Error in LoadAtStartup". The key is closed in every case.
QString LoadAtStartup(RunKeyStore& store, const QString& exePath, bool value);

// Whether the value can be read (whatever path it holds). An error is reported as
// "Error in CheckLoadAtStartup" and gives false. The key is closed in every case.
bool CheckLoadAtStartup(RunKeyStore& store);

} // namespace wv
