#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The tray icon in a real notification area: a private Xvfb display with trayer as the panel.
# The probe starts before the panel (a login race), so its icon must dock once trayer appears;
# then a double click must reach OnDblClick and a right click must open the menu and, after the
# menu closed, reach OnRightClick.
# Usage: real_tray_test.sh <tray_probe executable>
set -u
probe=$1
for tool in Xvfb trayer xdotool xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 0
    fi
done

work=$(mktemp -d)
xvfb_pid= trayer_pid= probe_pid=
cleanup() {
    for pid in $probe_pid $trayer_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null
    done
    for pid in $probe_pid $trayer_pid $xvfb_pid; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

fail() {
    echo "FAIL: $*"
    echo "--- probe output"; cat "$work/probe.out"
    echo "--- probe errors"; cat "$work/probe.err"
    echo "--- window tree"; xwininfo -root -tree 2>&1 | head -40
    exit 1
}

# wait_for <seconds> <command...>: retries the command every 0.2 s.
wait_for() {
    limit=$(( $1 * 5 )); shift
    i=0
    while [ "$i" -lt "$limit" ]; do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.2
        i=$((i + 1))
    done
    return 1
}

# Xvfb picks a free display itself and writes its number; it never resets, so a client that
# connects just as another leaves is not refused.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
wait_for 10 xwininfo -root || fail "display $DISPLAY does not answer"

# No D-Bus session: Qt uses the X11 notification area protocol that trayer speaks.
env -u DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=xcb "$probe" >"$work/probe.out" 2>"$work/probe.err" &
probe_pid=$!
wait_for 10 grep -q '^ACTIVE' "$work/probe.out" || fail "probe did not activate its icon"
grep -q '^ACTIVE 0' "$work/probe.out" || fail "a notification area was reported before there was one"

trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
    >"$work/trayer.log" 2>&1 &
trayer_pid=$!

# The probe's icon window, once it sits inside trayer's panel.
icon_in_panel() {
    panel=$(xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { print $1; exit }')
    [ -n "$panel" ] || return 1
    xwininfo -tree -id "$panel" | awk '/\("tray_probe" "[^"]*"\)/ { print $1; found=1; exit }
                                       END { exit !found }'
}
wait_for 20 icon_in_panel || fail "the icon did not appear in the notification area"
icon=$(icon_in_panel)

# The icon's centre in screen coordinates.
geometry=$(xwininfo -id "$icon")
x=$(echo "$geometry" | awk '/Absolute upper-left X/ { print $4 }')
y=$(echo "$geometry" | awk '/Absolute upper-left Y/ { print $4 }')
w=$(echo "$geometry" | awk '/Width:/ { print $2 }')
h=$(echo "$geometry" | awk '/Height:/ { print $2 }')
cx=$((x + w / 2))
cy=$((y + h / 2))
xdotool mousemove "$cx" "$cy"
sleep 0.3

xdotool click --repeat 2 --delay 80 1
wait_for 10 grep -q '^DBLCLICK' "$work/probe.out" || fail "a double click did not reach OnDblClick"

xdotool click 3
wait_for 10 grep -q '^MENU_SHOWN' "$work/probe.out" || fail "a right click did not open the menu"
grep -q '^RIGHTCLICK' "$work/probe.out" && fail "OnRightClick came before the menu closed"
xdotool key Escape
wait_for 10 grep -q '^RIGHTCLICK 1 ' "$work/probe.out" ||
    fail "OnRightClick did not follow the closed menu"
# OnRightClick gets the cursor position of the click.
grep -q "^RIGHTCLICK 1 $cx $cy\$" "$work/probe.out" || fail "OnRightClick got another position"

echo "PASS"
exit 0
