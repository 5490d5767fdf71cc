// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// The colours the program puts on text and marks, taken so that they stay readable on the
// desktop's palette: a shade for light and one for dark backgrounds, then made darker or
// lighter until the contrast with the background is at least 4.5:1.
#include <QColor>
#include <QPalette>

namespace wv {

// Relative luminance and contrast ratio as the Web Content Accessibility Guidelines define them.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);

// Whether text on this background needs a light colour.
bool IsDarkBackground(const QColor& background);

// `wanted`, or the nearest colour of the same hue whose contrast with `background` reaches
// `minRatio`: darker on a light background, lighter on a dark one.
QColor ReadableColour(const QColor& wanted, const QColor& background, double minRatio = 4.5);

enum class ProgramColour {
    StatusOnline,  // "Online" on the Status page, on the window colour
    StatusOffline, // "Offline" on the Status page
    ChartOnline,   // History bars, on the base colour
    ChartOffline,
    ChartNotMonitored,
    Link,      // About links, on the window colour
    LinkHover, // an About link under the mouse or with the focus
};

// The colour for `what` under `palette`, with the background it is drawn on.
QColor ColourFor(ProgramColour what, const QPalette& palette);
QColor BackgroundFor(ProgramColour what, const QPalette& palette);

} // namespace wv
