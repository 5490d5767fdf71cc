#pragma once

#include "platform/RunKeyStore.h"

#include <QString>

namespace wv {

// The name of the value that makes the system start the program at log-on.
inline constexpr const char* RunValueName = "Wirevane";

// The value's data for the program at `exePath`: the path's bytes (in the file-name encoding),
// a zero byte, zero bytes up to 256. A path of 256 bytes or more keeps its first 255 bytes, cut so
// that no character is split.
RunKeyStore::Block RunValueBlock(const QString& exePath);

// Writes the value with `exePath` when `value` is true, deletes it when false. Returns why the
// store refused, in plain words, or an empty text when it did not refuse; an error is reported
// as "Error in LoadAtStartup". The key is closed in every case.
QString LoadAtStartup(RunKeyStore& store, const QString& exePath, bool value);

// Whether the value can be read (whatever path it holds). An error is reported as
// "Error in CheckLoadAtStartup" and gives false. The key is closed in every case.
bool CheckLoadAtStartup(RunKeyStore& store);

} // namespace wv
