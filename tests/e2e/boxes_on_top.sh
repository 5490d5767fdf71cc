#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The main window stays on top once shown; About and Help opened over it come up above it and
# take the focus, and so does a message box (run with and without a window manager). A box
# raised by a poll: poll_box.sh.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/windows.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"
printf '[General]\r\nMinimizeAtStartup=0\r\n' >"$WORK/Vanewire.ini"

e2e_start_app
e2e_wait_for 10 e2e_app_windows Wirevane >/dev/null ||
    e2e_fail "the main window did not show"
MAIN=$(e2e_app_windows Wirevane | head -1)
sleep 0.5

# key: the keys that open the window; title: its title; close: the keys that close it.
while read -r key title close; do
    xdo windowfocus "$MAIN" 2>/dev/null
    xdo key "$key"
    e2e_wait_for 5 e2e_in_front "${title//_/ }" "$MAIN" ||
        e2e_fail "'${title//_/ }' is not above the main window with the focus: $(e2e_describe)"
    xdo key "$close"
    e2e_wait_for 5 e2e_gone "${title//_/ }" || e2e_fail "'${title//_/ }' did not close"
done <<'LIST'
alt+a About_Wirevane Escape
alt+h Help Escape
LIST

# A message box: a search on the Log page for an address the log does not hold.
xdo windowfocus "$MAIN" 2>/dev/null
xdo mousemove --window "$MAIN" 77 30 click 1 # the Log tab
sleep 0.5
xdo mousemove --window "$MAIN" 110 52 click 1 # the address box
xdo type --delay 20 "<b>192.0.2.99</b>"
xdo mousemove --window "$MAIN" 20 52 click 1 # the "IP" button
e2e_wait_for 5 e2e_in_front Wirevane "$MAIN" ||
    e2e_fail "the not-found box is not above the main window with the focus: $(e2e_describe)"
BOX=$WIN
xdo key Return
e2e_wait_for 5 bash -c "! xdotool search --all --onlyvisible --pid $APP_PID --name '^Wirevane\$' |
    grep -qx $BOX" || e2e_fail "the box did not close"
echo "PASS"
