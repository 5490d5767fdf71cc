#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A StatusNotifierItem panel (our own watcher and host on a private session bus) instead of an
# XEmbed tray: the item registers, its tip and picture follow the cable, Activate shows the
# window, the DBusMenu offers Options, About and Exit and its Exit ends the program. A panel
# that starts 3 s after the program still gets the item.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_bus.sh"
e2e_enter_namespace "$@"
e2e_enter_session_bus "$@"
HOST="$E2E_PY $(dirname "$0")/sni_host.py"
e2e_setup "$1"
# No XEmbed tray here: the panel is the one on the bus. A client stays connected instead, so
# Xvfb does not reset (and stall new clients) each time the program ends.
xprop -root -spy >/dev/null 2>&1 &
KEEPER_PID=$!
kill "$TRAYER_PID" && wait "$TRAYER_PID" 2>/dev/null
TRAYER_PID=
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

start_watcher() {
    $HOST watcher "$WORK/items" >>"$WORK/watcher.log" 2>&1 &
    WATCHER_PID=$!
}
stop_watcher() { kill "$WATCHER_PID" && wait "$WATCHER_PID" 2>/dev/null; }
item() { [ -s "$WORK/items" ] && ITEM=$(tail -n1 "$WORK/items"); }
tip_is() { [ "$($HOST prop "$ITEM" ToolTip 2>/dev/null)" = "$1" ]; }
visible() { xdotool search --onlyvisible --name '^Wirevane$' >/dev/null 2>&1; }
trap 'stop_watcher 2>/dev/null; kill "$KEEPER_PID" 2>/dev/null; e2e_cleanup' EXIT

# The panel is there first. Not a first start: its notice would show in the item's tooltip.
printf '[General]\nMinimizeAtStartup=1\n' >"$WORK/Vanewire.ini"
start_watcher
e2e_wait_for 10 $HOST items >/dev/null 2>&1 || e2e_fail "the watcher did not start"
e2e_start_app
e2e_wait_for 10 item || e2e_fail "no item registered with the watcher"
e2e_wait_for 5 tip_is "Offline" || e2e_fail "tip is not Offline: $($HOST prop "$ITEM" ToolTip)"
offline_icon=$($HOST prop "$ITEM" IconPixmap)

ip link set veth1 up
e2e_wait_for 5 tip_is "203.0.113.5" || e2e_fail "tip did not follow the cable in"
[ "$($HOST prop "$ITEM" IconPixmap)" != "$offline_icon" ] || e2e_fail "picture stayed Offline"
ip link set veth1 down
e2e_wait_for 5 tip_is "Offline" || e2e_fail "tip did not follow the cable out"
[ "$($HOST prop "$ITEM" IconPixmap)" = "$offline_icon" ] || e2e_fail "picture is not Offline"

visible && e2e_fail "a minimized start shows the window"
$HOST call "$ITEM" Activate
e2e_wait_for 5 visible || e2e_fail "Activate did not show the window"

[ "$($HOST menu "$ITEM" | tr '\n' ' ')" = "Options About Exit " ] ||
    e2e_fail "menu is not Options, About, Exit: $($HOST menu "$ITEM")"
e2e_exit_by_menu
stop_watcher

# The panel comes 3 s after the program; the start is not held up meanwhile.
: >"$WORK/items"
starts=$(e2e_log_count "Start of program")
e2e_start_app
e2e_wait_for 5 sh -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -gt $starts ]" ||
    e2e_fail "no start entry before the panel came"
sleep 3
start_watcher
e2e_wait_for 10 item || e2e_fail "the item did not register with a late watcher"
e2e_wait_for 5 tip_is "Offline" || e2e_fail "late item has no tip"
$HOST call "$ITEM" Activate
e2e_wait_for 5 visible || e2e_fail "Activate did not show the window (late panel)"
e2e_exit_by_menu
echo "PASS"
