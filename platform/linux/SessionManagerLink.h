// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

namespace wv {

// The link to the X session manager (XSMP over ICE), which Qt opens when SESSION_MANAGER is set.
// Should that link break (the manager crashed or was restarted while the session goes on),
// libICE's own answer is exit(). KeepRunningWhenBroken() puts a handler of ours in its place:
// the program says so on standard error and goes on without session management; the session's
// end still reaches it through the display and the signals.
class SessionManagerLink {
public:
    // Installs the handler for the whole process; call before the application object exists.
    static void KeepRunningWhenBroken();
};

} // namespace wv
