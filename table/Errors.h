// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Exceptions of the text table store. Every error carries its message; the kind of error
// (table, file, conversion, list index) is told apart by the exception type.
#include <stdexcept>
#include <string>

namespace wv {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Errors of a table itself: state, navigation, bookmarks, field lookup, field definitions.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A file could not be read ("Cannot open file %s") or written ("Cannot create file %s").
// Code() is the system's error number behind it (errno), 0 when none is known.
class EFileError : public Exception {
public:
    explicit EFileError(const std::string& message, int code = 0)
        : Exception(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// A text could not be converted ("'%s' is not a valid integer value", "... valid date").
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list ("List index out of bounds (%d)").
class EListError : public Exception {
public:
    using Exception::Exception;
};

} // namespace wv
