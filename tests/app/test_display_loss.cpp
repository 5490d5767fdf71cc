// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/DisplayLossWatch.h"

#include <QtGlobal>
#include <gtest/gtest.h>

#include <vector>

namespace {

using wv::DisplayLossWatch;

TEST(DisplayLossWatchTest, KnowsTheWarningsOfABrokenDisplayConnection) {
    const struct {
        const char* text;
        bool loss;
    } rows[] = {
        {"The X11 connection broke (error 1). Did the X11 server die?", true},
        {"The X11 connection broke: I/O error (code 1)", true},
        {"The Wayland connection broke. Did the Wayland compositor die?", true},
        {"The Wayland connection experienced a fatal error: Broken pipe", true},
        {"QXcbConnection: XCB error: 3 (BadWindow)", false},
        {"", false},
        {"Warning: The X11 connection broke", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DisplayLossWatch::IsDisplayLossMessage(QString::fromLatin1(row.text)), row.loss)
            << row.text;
}

TEST(DisplayLossWatchTest, TheWarningRunsTheHandlerOnceThenEndsWithCodeZero) {
    int runs = 0;
    std::vector<int> endings;
    DisplayLossWatch::Install([&runs] { ++runs; },
                              [&endings](int code) { endings.push_back(code); });
    qWarning("QXcbConnection: XCB error: 3 (BadWindow)");
    EXPECT_EQ(runs, 0) << "other warnings end nothing";
    qWarning("The X11 connection broke (error 1). Did the X11 server die?");
    qWarning("The X11 connection broke (error 1). Did the X11 server die?");
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(endings, std::vector<int>{0});

    DisplayLossWatch::Uninstall();
    EXPECT_FALSE(DisplayLossWatch::IsInstalled());
    qWarning("The Wayland connection broke. Did the Wayland compositor die?");
    EXPECT_EQ(runs, 1) << "nothing runs once uninstalled";
}

} // namespace
