// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Comma text: splitting a line into items and joining items into a line.
#include "table/CommaText.h"

#include <gtest/gtest.h>

using wv::joinCommaText;
using wv::splitCommaText;
using Strings = std::vector<std::string>;

TEST(CommaText, SplitRules) {
    const std::vector<std::pair<std::string, Strings>> cases = {
        {"", {}},
        {"   \t ", {}},
        {"a,b,c", {"a", "b", "c"}},
        {"a,,c", {"a", "", "c"}},
        {"a,b,", {"a", "b"}},      // a trailing comma adds no item
        {",a", {"", "a"}},         // a leading comma does
        {"  a , b  ", {"a", "b"}}, // blanks around items and commas
        {"Start of program", {"Start", "of", "program"}},
        {"a b,c", {"a", "b", "c"}},
        {"\"Start of program\",x", {"Start of program", "x"}},
        {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        {"\"a,b\"", {"a,b"}},
        {"\"\"", {""}},
        {"\"open, never closed", {"open, never closed"}},
        {"\"ab\"cd", {"ab", "cd"}}, // text behind a closing quote is a new item
        {"\"ab\" ,cd", {"ab", "cd"}},
        {"a\x01"
         "b",
         {"a", "b"}}, // control characters separate like blanks
        {"caf\xC3\xA9,\xE2\x82\xAC", {"caf\xC3\xA9", "\xE2\x82\xAC"}},
        {std::string("a,b\0,c", 6), {"a", "b"}}, // a NUL byte ends the text
    };
    for (const auto& [line, items] : cases)
        EXPECT_EQ(splitCommaText(line), items) << line;
}

TEST(CommaText, JoinRules) {
    EXPECT_EQ(joinCommaText({}), "");
    EXPECT_EQ(joinCommaText({""}), "\"\"");
    EXPECT_EQ(joinCommaText({"", ""}), ",");
    EXPECT_EQ(joinCommaText({"0.0.0.0", "6/12/26", "23:27:20", "Start of program"}),
              "0.0.0.0,6/12/26,23:27:20,\"Start of program\"");
    EXPECT_EQ(joinCommaText({"a,b", "say \"hi\"", "tab\there", "x"}),
              "\"a,b\",\"say \"\"hi\"\"\",\"tab\there\",x");
    EXPECT_EQ(joinCommaText({"", "", "v"}), ",,v");
    EXPECT_EQ(joinCommaText({"caf\xC3\xA9"}), "caf\xC3\xA9");
}

TEST(CommaText, JoinedItemsSplitBackUnchanged) {
    const std::vector<Strings> lists = {
        {"0.0.0.0", "6/12/26", "23:27:20", "Start of program"},
        {"", "middle", "", "end"},
        {"\"", "\"\"", ",", " lead", "trail ", "a\"b,c d"},
        {""},
        {"9:05:07 PM", "x"},
    };
    for (const Strings& items : lists)
        EXPECT_EQ(splitCommaText(joinCommaText(items)), items) << joinCommaText(items);
    // A line cannot carry the last of several trailing empty items.
    EXPECT_EQ(splitCommaText(joinCommaText({"a", "", ""})), (Strings{"a", ""}));
}
