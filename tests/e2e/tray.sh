#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The notification area, as a user drives it: a minimized start shows only the tray icon; a
# double click on it brings the window; the icon's menu ends the program with its Exit item.
set -u
. "$(dirname "$0")/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"

e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "no start entry"
visible() { xdotool search --onlyvisible --name '^Wirevane$' >/dev/null 2>&1; }
sleep 1
visible && e2e_fail "a minimized start shows the window"

# The icon docked in trayer's panel, top right.
icon_geometry() {
    local panel icon
    panel=$(xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { print $1; exit }')
    [ -n "$panel" ] || return 1
    icon=$(xwininfo -tree -id "$panel" | awk '/\("wirevane" "Wirevane"\)/ { print $1; exit }')
    [ -n "$icon" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    cx=$((X + WIDTH / 2))
    cy=$((Y + HEIGHT / 2))
}
e2e_wait_for 10 icon_geometry || e2e_fail "the icon is not in the notification area"

xdotool mousemove "$cx" "$cy"
sleep 0.3
xdotool click --repeat 2 --delay 80 1
e2e_wait_for 5 visible || e2e_fail "a double click on the icon did not show the window"

# Right click: the menu opens at the cursor; Up wraps to its last item, "Exit".
xdotool click 3
sleep 1
xdotool key Up Return
e2e_ended_by "the menu's Exit"
tail -1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' || e2e_fail "no stop entry"
grep -q '^MinimizeAtStartup=' "$WORK/Vanewire.ini" || e2e_fail "settings not saved on Exit"
echo "PASS"
