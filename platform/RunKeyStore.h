#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace wv {

// The place where the "Load at Startup" value lives: a key holding named string values, with the
// four operations the program needs. Each operation that opens the key leaves it open until
// CloseKey(), which is harmless when nothing is open. A refusal by the system (no right to
// change the key, a value that is not there) is a false result, never an exception; exceptions
// are kept for real faults such as a failed allocation.
class RunKeyStore {
public:
    static constexpr std::size_t BlockSize = 256;
    // A string value as stored: its bytes, a terminating zero byte, zero bytes up to the end.
    using Block = std::array<char, BlockSize>;

    virtual ~RunKeyStore();

    // Creates the key, or opens it when it exists, with full access; when that succeeds, sets the
    // string value `valueName` to the text in `block` (up to its first zero byte). True when the
    // value was stored.
    virtual bool CreateKeyAndWrite(const std::string& valueName, const Block& block) = 0;

    // Opens the key with full access; when that succeeds, deletes the value `valueName`. True
    // when a value was deleted.
    virtual bool OpenKeyAndDelete(const std::string& valueName) = 0;

    // Opens the key for reading; when that succeeds, reads the value `valueName` into `buffer`
    // (its text, a zero byte, zero bytes up to the end). A value that does not fit, terminating
    // zero included, reads as failed. True when the value was read.
    virtual bool OpenKeyAndRead(const std::string& valueName, Block& buffer) = 0;

    // Closes the key if one of the operations above opened it.
    virtual void CloseKey() = 0;

    // Why the last write or delete was refused, in plain words for the user; empty when it was
    // not refused (a delete of a value that is not there is no refusal).
    virtual std::string LastError() const { return {}; }
};

} // namespace wv
