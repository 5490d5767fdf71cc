// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Comma text: the one rule by which a record line is split into items and items are joined
// back into a line. Works on bytes: every character with a meaning here is ASCII, so a UTF-8
// multi-byte character is never split. A NUL byte ends the text.
#include <string>
#include <string_view>
#include <vector>

namespace wv {

// Reads the items of a line one after the other without building a list, so that reading one
// field of a record costs no allocation beyond the value itself.
class TCommaTextReader {
public:
    explicit TCommaTextReader(std::string_view line);
    // The next item into `item`; false at the end of the line.
    bool next(std::string& item);
    // Skips the next item; false at the end of the line.
    bool skip();

private:
    void skipBlanks();
    bool atEnd() const;
    template <bool Store> bool read(std::string* item);
    static std::string_view cutAtNulView(std::string_view line);

    std::string_view text_;
    std::size_t pos_ = 0;
};

// Splits a line into items:
// - characters with codes 1 to 32 before an item are skipped;
// - an item beginning with a double quote runs to the next double quote that is not doubled,
//   a doubled double quote inside stands for one; an unclosed quote takes the rest of the line;
// - any other item runs up to the first comma or character with a code of 32 or below;
// - after an item, blanks, then at most one comma, then blanks are skipped.
// So an empty line gives no items, ",," gives empty items between commas, a trailing comma adds
// no empty item, and an unquoted value with a space becomes two items.
std::vector<std::string> splitCommaText(std::string_view line);

// Joins items into a line separated by single commas. An item containing a character with a
// code from 1 to 32, a double quote or a comma is written in double quotes with inner double
// quotes doubled. A single empty item is written as "" so that it reads back as one item.
std::string joinCommaText(const std::vector<std::string>& items);

// True when `item` has to be quoted by joinCommaText.
bool commaTextNeedsQuotes(std::string_view item);

} // namespace wv
