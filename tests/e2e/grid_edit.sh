#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A row inserted in the Log grid, an address typed into it, and before the cell is left:
# Exit, or a status change (the cable goes in) and then Exit. No older entry changes and the
# typed row is saved as a line of its own where it was inserted.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/windows.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

HEAD=$'IP,DD/MM/YY,TIME,MESSAGE\r\n10.1.2.3,1/12/26,9:00:00,Online\r\n'
TAIL=$'0.0.0.0,1/12/26,9:30:00,Offline\r\n'
GRID_Y=152 # inside the grid's rows, from the window's top, whatever the font and frame

for step in exit cable; do
    ip link set veth1 down
    printf '%s%s' "$HEAD" "$TAIL" >"$WORK/Vanewire.txt"
    printf '[General]\r\nMinimizeAtStartup=0\r\n' >"$WORK/Vanewire.ini"
    e2e_start_app
    e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "$step: no start entry"
    e2e_wait_for 10 e2e_app_windows Wirevane >/dev/null || e2e_fail "$step: no main window"
    MAIN=$(e2e_app_windows Wirevane | head -1)
    sleep 0.5
    xdo windowfocus "$MAIN" 2>/dev/null
    # The Log tab, a click into the grid, then the Offline row (the second) from the keyboard;
    # Insert puts a new row in front of it.
    xdo mousemove --window "$MAIN" 77 30 click 1
    sleep 0.5
    xdo mousemove --window "$MAIN" 55 "$GRID_Y" click 1
    sleep 0.3
    xdo key ctrl+Home Down
    sleep 0.5
    xdo key Insert
    sleep 0.5
    xdo type --delay 30 "192.0.2.77"
    sleep 0.5
    if [ "$step" = cable ]; then
        ip link set veth1 up
        e2e_wait_for 5 e2e_log_has "^203\.0\.113\.5,.*,Online" ||
            e2e_fail "cable: no Online entry: $(cat "$WORK/Vanewire.txt")"
    fi
    xdo key alt+e
    e2e_ended_by "$step: Exit"
    log=$(cat "$WORK/Vanewire.txt")
    case "$log" in
    "$HEAD"$'192.0.2.77\r\n'"$TAIL"*) ;;
    *) e2e_fail "$step: older entries changed or the typed row is missing: $log" ;;
    esac
    tail -1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' || e2e_fail "$step: no stop entry"
    [ "$(grep -c '192.0.2.77' "$WORK/Vanewire.txt")" -eq 1 ] || e2e_fail "$step: typed twice: $log"
done
echo "PASS"
