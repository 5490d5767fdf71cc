// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <functional>

namespace wv {

// The desktop's notifications: a short message that pops up beside the screen's edge and
// reports a click back to the program.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;

    // Shows a notification of the program "Wirevane"; false when the desktop has no way to
    // show one (then nothing happens).
    virtual bool Notify(const QString& summary, const QString& body) = 0;

    // Called when the user clicks a notification that this program showed.
    std::function<void()> OnClicked;
};

} // namespace wv
