// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QString>

#include <functional>

namespace wv {

// Qt's window-system plugins end the process on their own when the connection to the display
// breaks (the X server died, the Wayland compositor went away): they print a warning, then call
// exit(1) or _exit(1) from inside the event loop. The watch sees that warning first, through
// Qt's message handler, and runs its handler on the GUI thread while every object is still
// alive; then the process ends with exit code 0. As a second net, an exit() made while the watch
// is installed runs the handler too.
//
// The handler runs at most once per installation and must not touch any window.
class DisplayLossWatch {
public:
    using Handler = std::function<void()>;
    // How the process ends after the handler (tests put a recorder in its place).
    using Ending = std::function<void(int code)>;

    static void Install(Handler onLost, Ending ending = {});
    static void Uninstall();
    static bool IsInstalled();

    // Whether a warning of Qt's says that the display connection broke.
    static bool IsDisplayLossMessage(const QString& text);
};

} // namespace wv
