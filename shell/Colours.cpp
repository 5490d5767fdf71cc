// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/Colours.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {
double channel(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Shades {
    QColor light; // on a light background
    QColor dark;  // on a dark background
};

// Online and offline differ in lightness as well as in hue (the offline shade is the darker
// one on light backgrounds and the less light one on dark ones), so that readers who do not
// tell red from green still see them apart; the chart hatches offline time besides.
Shades shadesOf(ProgramColour what) {
    switch (what) {
    case ProgramColour::StatusOnline:
        return {QColor(0, 128, 0), QColor(150, 245, 150)};
    case ProgramColour::StatusOffline:
        return {QColor(128, 0, 0), QColor(235, 95, 95)};
    case ProgramColour::ChartOnline:
        return {QColor(36, 130, 54), QColor(130, 225, 140)};
    case ProgramColour::ChartOffline:
        return {QColor(150, 20, 20), QColor(240, 90, 90)};
    case ProgramColour::ChartNotMonitored:
        return {QColor(110, 110, 110), QColor(150, 150, 150)};
    case ProgramColour::Link:
        return {QColor(0, 0, 128), QColor(140, 180, 255)};
    case ProgramColour::LinkHover:
        return {QColor(0, 110, 0), QColor(0, 255, 0)};
    }
    return {Qt::black, Qt::white};
}
} // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor c = colour.toRgb();
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkBackground(const QColor& background) {
    return ContrastRatio(background, Qt::white) > ContrastRatio(background, Qt::black);
}

QColor ReadableColour(const QColor& wanted, const QColor& background, double minRatio) {
    if (ContrastRatio(wanted, background) >= minRatio)
        return wanted;
    const bool lighter = IsDarkBackground(background);
    const QColor hsl = wanted.toHsl();
    const float hue = hsl.hslHueF();
    const float saturation = hsl.hslSaturationF();
    QColor best = lighter ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 1; step <= 100; ++step) {
        const float l = float(hsl.lightnessF()) + (lighter ? 1.0f : -1.0f) * float(step) / 100.0f;
        const QColor candidate =
            QColor::fromHslF(hue, saturation, std::clamp(l, 0.0f, 1.0f)).toRgb();
        if (ContrastRatio(candidate, background) >= minRatio) {
            best = candidate;
            break;
        }
    }
    return best;
}

QColor BackgroundFor(ProgramColour what, const QPalette& palette) {
    switch (what) {
    case ProgramColour::ChartOnline:
    case ProgramColour::ChartOffline:
    case ProgramColour::ChartNotMonitored:
        return palette.color(QPalette::Base);
    default:
        return palette.color(QPalette::Window);
    }
}

QColor ColourFor(ProgramColour what, const QPalette& palette) {
    const QColor background = BackgroundFor(what, palette);
    const Shades shades = shadesOf(what);
    return ReadableColour(IsDarkBackground(background) ? shades.dark : shades.light, background);
}

} // namespace wv
