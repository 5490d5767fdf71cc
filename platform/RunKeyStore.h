// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <string>

namespace wv {

// The place where the "Load at Startup" value lives: a key holding named string values, with the
// four operations the program needs. Each operation that opens the key leaves it open until
// CloseKey(), which is harmless when nothing is open. A refusal by the system (no right to
// change the key, a value that is not there) is a false result, never an exception; exceptions
// are kept for real faults such as a failed allocation.
class RunKeyStore {
public:
    virtual ~RunKeyStore();

    // Creates the key, or opens it when it exists, with full access; when that succeeds, sets the
    // string value `valueName` to `text` (bytes without a zero byte, whole: no length limit). True
    // when the value was stored.
    virtual bool CreateKeyAndWrite(const std::string& valueName, const std::string& text) = 0;

    // Opens the key with full access; when that succeeds, deletes the value `valueName`. True
    // when a value was deleted.
    virtual bool OpenKeyAndDelete(const std::string& valueName) = 0;

    // Opens the key for reading; when that succeeds, reads the value `valueName` into `text`
    // (whole). True when the value was read.
    virtual bool OpenKeyAndRead(const std::string& valueName, std::string& text) = 0;

    // Closes the key if one of the operations above opened it.
    virtual void CloseKey() = 0;

    // Why the last write or delete was refused, in plain words for the user; empty when it was
    // not refused (a delete of a value that is not there is no refusal).
    virtual std::string LastError() const { return {}; }
};

} // namespace wv
