// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Splitting file bytes into lines: a line ends at CR, at LF or at CR LF. Empty lines hold no
// record and are skipped, so any run of CR and LF characters simply separates two lines.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace wv {

// Removes every NUL byte from `bytes` (a NUL byte in a file is dropped, not a line end).
inline void dropNulBytes(std::string& bytes) {
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr)
        std::erase(bytes, '\0');
}

// Calls `onLine(offset, length)` for every non-empty line of `bytes`, in order.
template <typename F> void forEachLine(std::string_view bytes, F&& onLine) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    while (pos < size) {
        const void* lf = std::memchr(data + pos, '\n', size - pos);
        const std::size_t segmentEnd =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        for (;;) {
            const void* cr = std::memchr(data + pos, '\r', segmentEnd - pos);
            const std::size_t end =
                cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data)
                              : segmentEnd;
            if (end > pos)
                onLine(pos, end - pos);
            if (cr == nullptr)
                break;
            pos = end + 1;
        }
        pos = segmentEnd + 1;
    }
}

} // namespace wv
