// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Byte-string helpers shared by the table classes. Texts are bytes; the user's locale is UTF-8,
// so a text cut to a length counts bytes but never ends inside a multi-byte character.
#include <cstddef>
#include <string>
#include <string_view>

namespace wv {

// Length of the longest prefix of `text` that has at most `maxBytes` bytes and does not end in
// the middle of a UTF-8 sequence. Bytes that are not valid UTF-8 are counted as single
// characters.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// `text` cut to at most `maxBytes` bytes on a character boundary.
inline std::string_view utf8Cut(std::string_view text, std::size_t maxBytes) {
    return text.substr(0, utf8PrefixLength(text, maxBytes));
}

// The text up to (not including) its first NUL byte: values behave like C strings.
inline std::string_view cutAtNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Field names are compared without regard to (ASCII) case.
bool sameTextIgnoreCase(std::string_view a, std::string_view b);

// `text` without leading and trailing characters with codes 0 to 32.
std::string_view trimBlank(std::string_view text);

// Decimal integer as the width of a schema entry is read: optional leading blanks, an optional
// sign, then decimal digits and nothing else. Throws EConvertError
// "'<text>' is not a valid integer value".
int toIntStrict(std::string_view text);

} // namespace wv
