#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Takes the README's pictures from the real program: Status, Log and Options pages, the tray
# menu, About and Help, the History page under a dark desktop theme and the window enlarged. Runs in a private network namespace on its own Xvfb display with trayer
# as the notification area. Usage: tools/screenshots.sh [build-dir] [out-dir]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/e2e/lib.sh"
e2e_enter_namespace "$@"
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-$root/docs}" && cd "${2:-$root/docs}" && pwd)

e2e_setup "$build/wirevane"
# A real window manager, so the pictures show the windows' frames and titles.
openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
trap 'kill "$WM_PID" 2>/dev/null; e2e_cleanup' EXIT
sleep 0.5
e2e_make_veth
ip addr add 192.0.2.7/24 dev veth0
ip addr add 203.0.113.5/24 dev veth0
ip link set veth1 up
printf '[General]\nMinimizeAtStartup=0\nrbList=1\nrbLocalIP=0\nCheckedCount=1\nCheckedItems_0=192.0.2.7\n' \
    >"$WORK/Vanewire.ini"
printf 'IP,DD/MM/YY,TIME,MESSAGE\r\n0.0.0.0,5/12/26,8:59:58,"Start of program"\r\n%s\r\n%s\r\n%s\r\n%s\r\n' \
    '198.51.100.9,5/12/26,9:00:01,Online' '0.0.0.0,5/12/26,12:41:30,Offline' \
    '198.51.100.9,5/12/26,12:43:02,Online' '0.0.0.0,5/12/26,18:30:12,"Stop of program"' \
    >"$WORK/Vanewire.txt"

e2e_start_app
e2e_wait_for 10 e2e_log_has "^203\.0\.113\.5,.*,Online" || e2e_fail "program did not go online"
sleep 1
wid=$(xdotool search --onlyvisible --name '^Wirevane$' | head -1)
[ -n "$wid" ] || e2e_fail "main window not found"
shot() { import -frame -window "$1" "$out/$2.png" && echo "wrote $out/$2.png"; }

xdotool windowfocus --sync "$wid"
shot "$wid" status
xdotool key ctrl+Tab && sleep 0.5 && shot "$wid" log
xdotool key ctrl+Tab && sleep 0.5 && shot "$wid" options
xdotool key ctrl+Tab && sleep 0.3

xdotool mousemove 5 760
xdotool key alt+a && sleep 0.8
about=$(xdotool search --onlyvisible --name '^About Wirevane$' | head -1)
[ -n "$about" ] && shot "$about" about && xdotool key Escape && sleep 0.3

xdotool windowfocus --sync "$wid"
xdotool key alt+h && sleep 0.8
help=$(xdotool search --onlyvisible --name '^Help$' | head -1)
[ -n "$help" ] && shot "$help" help && xdotool key Escape && sleep 0.3

# The tray icon sits in trayer at the top right; its menu opens at the cursor.
icon=$(xdotool search --onlyvisible --class '^wirevane$' 2>/dev/null | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -le 64 ] && [ "$HEIGHT" -le 64 ] && echo "$w" && break
done)
if [ -n "$icon" ]; then
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    cx=$((X + WIDTH / 2))
    cy=$((Y + HEIGHT / 2))
else
    cx=1012
    cy=12
fi
xdotool mousemove "$cx" "$cy" click 3 && sleep 0.8
import -window root -crop 260x150+$((cx - 240))+0 "$out/tray-menu.png" && echo "wrote $out/tray-menu.png"
xdotool key Escape
e2e_stop_app

# The History page over a month with a few known outages: the machine is on from morning to
# night, off on some days, killed once, and the last 30 days are shown.
month_log() {
    local d day e
    printf 'IP,DD/MM/YY,TIME,MESSAGE\r\n'
    entry() { printf '%s,%s,%s,%s\r\n' "$1" "$day" "$2" "$3"; }
    for d in $(seq 30 -1 1); do
        case $d in 27 | 20 | 13 | 6) continue ;; esac # days the machine stayed off
        day=$(date -d "today -$d days" +%-d/%-m/%y)
        entry 0.0.0.0 08:0$((d % 10)):12 '"Start of program"'
        entry 198.51.100.9 08:0$((d % 10)):12 Online
        case $d in
        25) entry 0.0.0.0 14:02:10 Offline && entry 198.51.100.9 14:47:31 Online ;;
        18) entry 0.0.0.0 09:10:05 Offline && entry 198.51.100.9 09:13:40 Online ;;
        11) entry 0.0.0.0 19:30:00 Offline && entry 198.51.100.9 21:05:12 Online ;;
        4) entry 0.0.0.0 10:00:03 Offline && entry 198.51.100.9 10:12:30 Online &&
            entry 0.0.0.0 16:40:00 Offline && entry 198.51.100.9 16:44:10 Online ;;
        esac
        case $d in
        16) ;; # killed: no stop entry, so its last entry (the morning's Online) ends the run
        22) entry 0.0.0.0 21:40:00 Offline && entry 0.0.0.0 22:00:00 '"Stop of program"' ;;
        *) entry 0.0.0.0 22:3$((d % 10)):40 '"Stop of program"' ;;
        esac
    done
}
month_log >"$WORK/Vanewire.txt"
e2e_start_app
e2e_wait_for 10 e2e_log_has "^203\.0\.113\.5,.*,Online" || e2e_fail "program did not go online"
sleep 1
wid=$(xdotool search --onlyvisible --name '^Wirevane$' | head -1)
[ -n "$wid" ] || e2e_fail "main window not found"
xdotool windowfocus --sync "$wid"
xdotool key ctrl+shift+Tab && sleep 0.8 && shot "$wid" history
e2e_stop_app

# The same month enlarged: the grid and the chart take the room.
e2e_start_app
e2e_wait_for 10 e2e_log_has "^203\.0\.113\.5,.*,Online" || e2e_fail "program did not go online"
sleep 1
wid=$(xdotool search --onlyvisible --name '^Wirevane$' | head -1)
xdotool windowfocus --sync "$wid"
xdotool windowsize --sync "$wid" 720 480 && sleep 0.5
xdotool key ctrl+shift+Tab && sleep 0.8 && shot "$wid" history-large
e2e_stop_app

# Under a dark GTK theme (Adwaita dark through Qt's GTK 3 platform theme), at the size the
# window opens with.
sed -i '/^Window/d' "$WORK/Vanewire.ini"
QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark e2e_start_app
e2e_wait_for 10 e2e_log_has "^203\.0\.113\.5,.*,Online" || e2e_fail "program did not go online"
sleep 1
wid=$(xdotool search --onlyvisible --name '^Wirevane$' | head -1)
xdotool windowfocus --sync "$wid"
xdotool key ctrl+shift+Tab && sleep 0.8 && shot "$wid" history-dark
xdotool key ctrl+Tab && sleep 0.5 && shot "$wid" status-dark
e2e_stop_app
