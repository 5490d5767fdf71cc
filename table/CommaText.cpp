// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "table/CommaText.h"

namespace wv {

namespace {
inline bool isBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}
} // namespace

TCommaTextReader::TCommaTextReader(std::string_view line) : text_(cutAtNulView(line)) {
    skipBlanks();
}

std::string_view TCommaTextReader::cutAtNulView(std::string_view line) {
    return line.substr(0, line.find('\0'));
}

void TCommaTextReader::skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
}

bool TCommaTextReader::atEnd() const {
    return pos_ >= text_.size();
}

template <bool Store> bool TCommaTextReader::read(std::string* item) {
    if (atEnd())
        return false;
    if constexpr (Store)
        item->clear();
    if (text_[pos_] == '"') {
        ++pos_;
        while (pos_ < text_.size()) {
            const std::size_t quote = text_.find('"', pos_);
            const std::size_t stop = quote == std::string_view::npos ? text_.size() : quote;
            if constexpr (Store)
                item->append(text_.substr(pos_, stop - pos_));
            pos_ = stop;
            if (quote == std::string_view::npos)
                break; // never closed: the rest of the line is the item
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                if constexpr (Store)
                    item->push_back('"');
                pos_ += 2;
                continue;
            }
            ++pos_; // the closing quote
            break;
        }
    } else {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' &&
               static_cast<unsigned char>(text_[pos_]) > 32)
            ++pos_;
        if constexpr (Store)
            item->assign(text_.substr(start, pos_ - start));
    }
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        skipBlanks();
    }
    return true;
}

bool TCommaTextReader::next(std::string& item) {
    return read<true>(&item);
}
bool TCommaTextReader::skip() {
    return read<false>(nullptr);
}

std::vector<std::string> splitCommaText(std::string_view line) {
    std::vector<std::string> items;
    TCommaTextReader reader(line);
    std::string item;
    while (reader.next(item))
        items.push_back(item);
    return items;
}

bool commaTextNeedsQuotes(std::string_view item) {
    for (const char c : item) {
        if (isBlank(c) || c == '"' || c == ',')
            return true;
    }
    return false;
}

std::string joinCommaText(const std::vector<std::string>& items) {
    if (items.size() == 1 && items.front().empty())
        return "\"\"";
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            line.push_back(',');
        const std::string& item = items[i];
        if (!commaTextNeedsQuotes(item)) {
            line += item;
            continue;
        }
        line.push_back('"');
        for (const char c : item) {
            if (c == '"')
                line.push_back('"');
            line.push_back(c);
        }
        line.push_back('"');
    }
    return line;
}

} // namespace wv
