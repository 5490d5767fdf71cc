// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Fuzzes comma text: splitting arbitrary bytes, and joining arbitrary items, must round-trip,
// and cutting to a length must never split a UTF-8 character.
#include "FuzzCheck.h"
#include "table/CommaText.h"
#include "table/TextUtil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Joining and splitting again gives the items back, except that of several items a last empty
// one cannot be carried by a line ("a," splits to one item).
void checkRoundTrip(const std::vector<std::string>& items) {
    std::vector<std::string> expected = items;
    if (expected.size() >= 2 && expected.back().empty())
        expected.pop_back();
    check(wv::splitCommaText(wv::joinCommaText(items)) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // 1. Split the bytes as a line; the items must survive a join and a split.
    const std::vector<std::string> items = wv::splitCommaText(text);
    for (const std::string& item : items)
        check(item.find('\0') == std::string::npos);
    checkRoundTrip(items);

    // 2. Take the bytes as a list of items separated by 0xFF; NUL ends a value, so leave it out.
    std::vector<std::string> raw(1);
    for (const char c : text) {
        if (static_cast<unsigned char>(c) == 0xFF)
            raw.emplace_back();
        else if (c != '\0')
            raw.back().push_back(c);
    }
    checkRoundTrip(raw);

    // 3. Cutting to any length ends on a character boundary of well-formed UTF-8.
    for (std::size_t max = 0; max <= text.size() && max < 64; ++max) {
        const std::size_t n = wv::utf8PrefixLength(text, max);
        check(n <= max);
        if (n < text.size() && n < max) {
            const auto next = static_cast<unsigned char>(text[n]);
            check((next & 0xC0) != 0x80); // never in front of a continuation byte
            check(max - n <= 3);
        }
    }
    return 0;
}
