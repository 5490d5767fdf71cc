// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// The program's colours against light, dark and in-between palettes.
#include "shell/Colours.h"

#include <QPalette>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using wv::ProgramColour;

struct Palette {
    const char* name;
    QColor window, base;
};

const Palette kPalettes[] = {
    {"FusionLight", QColor(239, 239, 239), QColor(255, 255, 255)},
    {"AdwaitaLight", QColor(246, 245, 244), QColor(255, 255, 255)},
    {"AdwaitaDark", QColor(53, 53, 53), QColor(45, 45, 45)},
    {"Black", QColor(0, 0, 0), QColor(0, 0, 0)},
    {"MidGrey", QColor(128, 128, 128), QColor(119, 119, 119)},
    {"DarkBlue", QColor(36, 31, 49), QColor(20, 20, 40)},
    {"Cream", QColor(250, 240, 200), QColor(255, 250, 230)},
};

const ProgramColour kAll[] = {
    ProgramColour::StatusOnline, ProgramColour::StatusOffline,     ProgramColour::ChartOnline,
    ProgramColour::ChartOffline, ProgramColour::ChartNotMonitored, ProgramColour::Link,
    ProgramColour::LinkHover,
};

QPalette paletteOf(const Palette& p) {
    QPalette palette;
    palette.setColor(QPalette::Window, p.window);
    palette.setColor(QPalette::Base, p.base);
    return palette;
}

// What a reader without green-sensitive cones sees (Viénot, Brettel and Mollon 1999), in
// linear RGB.
QColor deuteranopia(const QColor& c) {
    auto lin = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    auto gam = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    };
    const double r = lin(c.redF()), g = lin(c.greenF()), b = lin(c.blueF());
    const double r2 = 0.29275 * r + 0.70725 * g;
    const double b2 = -0.02234 * r + 0.02234 * g + b;
    return QColor::fromRgbF(float(gam(r2)), float(gam(r2)), float(gam(b2)));
}

class ColoursOnPalette : public ::testing::TestWithParam<Palette> {};

INSTANTIATE_TEST_SUITE_P(Palettes, ColoursOnPalette, ::testing::ValuesIn(kPalettes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(ColoursOnPalette, EveryColourReadsAtLeast4p5To1OnItsBackground) {
    const QPalette palette = paletteOf(GetParam());
    for (const ProgramColour what : kAll) {
        const QColor colour = wv::ColourFor(what, palette);
        const QColor background = wv::BackgroundFor(what, palette);
        EXPECT_GE(wv::ContrastRatio(colour, background), 4.5)
            << int(what) << " " << colour.name().toStdString() << " on "
            << background.name().toStdString();
    }
}

TEST_P(ColoursOnPalette, OnlineAndOfflineStayApartWithoutRedGreenVision) {
    // On a mid grey only near-black reads at 4.5:1: no room for two lightnesses, and the
    // chart's hatching alone tells offline time.
    if (GetParam().window == QColor(128, 128, 128))
        GTEST_SKIP();
    const QPalette palette = paletteOf(GetParam());
    for (const auto& [online, offline] :
         {std::pair{ProgramColour::StatusOnline, ProgramColour::StatusOffline},
          std::pair{ProgramColour::ChartOnline, ProgramColour::ChartOffline}}) {
        const QColor a = deuteranopia(wv::ColourFor(online, palette));
        const QColor b = deuteranopia(wv::ColourFor(offline, palette));
        EXPECT_GE(wv::ContrastRatio(a, b), 1.4)
            << int(online) << ": " << a.name().toStdString() << " vs " << b.name().toStdString();
    }
}

TEST(Colours, ContrastFollowsTheGuidelines) {
    EXPECT_NEAR(wv::ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(wv::ContrastRatio(Qt::white, Qt::white), 1.0, 1e-9);
    // Reference values: #777777 on white 4.48, navy on white 16.0.
    EXPECT_NEAR(wv::ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
    EXPECT_NEAR(wv::ContrastRatio(QColor(0, 0, 128), Qt::white), 16.0, 0.05);
}

TEST(Colours, AReadableColourIsKeptAndAnotherOneKeepsItsHue) {
    EXPECT_EQ(wv::ReadableColour(QColor(0, 0, 128), Qt::white), QColor(0, 0, 128));
    // Lime on white (1.4:1) becomes a darker green, maroon on near-black a lighter red.
    const QColor green = wv::ReadableColour(QColor(0, 255, 0), Qt::white);
    EXPECT_GE(wv::ContrastRatio(green, Qt::white), 4.5);
    EXPECT_NEAR(green.hslHueF(), QColor(0, 255, 0).hslHueF(), 0.01);
    const QColor red = wv::ReadableColour(QColor(128, 0, 0), QColor(40, 40, 40));
    EXPECT_GE(wv::ContrastRatio(red, QColor(40, 40, 40)), 4.5);
    EXPECT_NEAR(red.hslHueF(), 0.0, 0.01);
    EXPECT_GT(red.lightnessF(), QColor(128, 0, 0).lightnessF());
}

} // namespace
