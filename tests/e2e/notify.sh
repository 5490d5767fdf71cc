#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# "Notify on change": with the box on, the cable going in and out raises one notification
# each on the desktop's notification service (a recording one of the test's own, on a private
# session bus), each replacing the one before and expiring, and a click on it shows the window;
# with the box off, none; without a service, the tray's balloon; with a service the bus starts
# on demand, that service. A first start says once that the program is in the notification area.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_enter_namespace "$@"
if [ -z "${WV_E2E_IN_BUS:-}" ]; then
    if ! command -v dbus-run-session >/dev/null || ! /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
        echo "SKIP: dbus-run-session or python3-dbus/python3-gi missing"
        exit 77
    fi
    # Services the bus can start on demand: the folder is filled later by the test.
    WV_E2E_SERVICES=$(mktemp -d)
    mkdir -p "$WV_E2E_SERVICES/dbus-1/services"
    export WV_E2E_SERVICES XDG_DATA_DIRS="$WV_E2E_SERVICES:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
    WV_E2E_IN_BUS=1 dbus-run-session -- bash "$0" "$@"
    rc=$?
    rm -rf "$WV_E2E_SERVICES"
    exit $rc
fi
e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

/usr/bin/python3 "$here/notify_server.py" "$WORK/notes" "$WORK/click" >"$WORK/server.log" 2>&1 &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null; e2e_cleanup' EXIT
service_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null |
        grep -q true
}
e2e_wait_for 10 service_up || e2e_fail "notification service did not start: $(cat "$WORK/server.log")"

notes() { [ -f "$WORK/notes" ] && wc -l <"$WORK/notes" || echo 0; }
window_shown() { xdotool search --onlyvisible --name '^Wirevane$' >/dev/null 2>&1; }

# cable_cycle N: plugs the cable in and out, waiting for the N-th Online and Offline entries.
cable_cycle() {
    ip link set veth1 up
    e2e_wait_for 5 bash -c "[ \$(grep -c ',Online' '$WORK/Vanewire.txt') -ge $1 ]" ||
        e2e_fail "no Online entry: $(cat "$WORK/Vanewire.txt")"
    sleep 1
    ip link set veth1 down
    e2e_wait_for 5 bash -c "[ \$(grep -c ',Offline' '$WORK/Vanewire.txt') -ge $1 ]" ||
        e2e_fail "no Offline entry: $(cat "$WORK/Vanewire.txt")"
    sleep 1
}

# The box on: one notification for each change, with the right texts.
printf '[General]\nNotifyOnChange=1\n' >"$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "no start entry"
sleep 1
cable_cycle 1
[ "$(notes)" -eq 2 ] || e2e_fail "expected 2 notifications, got: $(cat "$WORK/notes" 2>/dev/null)"
first=$(sed -n 1p "$WORK/notes")
second=$(sed -n 2p "$WORK/notes")
echo "$first" | grep -qP '^1\tWirevane\tOnline\tOnline again after \d+ s \x{2014} 203\.0\.113\.5\tdefault' ||
    echo "$first" | grep -qP '^1\tWirevane\tOnline\tOnline again after \d+ s — 203\.0\.113\.5\tdefault' ||
    e2e_fail "wrong Online notification: $first"
echo "$second" | grep -qP '^2\tWirevane\tOffline\tOffline since ' || e2e_fail "wrong Offline notification: $second"
# The second replaces the first; both expire.
echo "$first" | grep -qP '\t0\t[1-9]\d*$' || e2e_fail "the first notification: $first"
echo "$second" | grep -qP '\t1\t[1-9]\d*$' || e2e_fail "the second does not replace the first: $second"

echo "notifications: $(cat "$WORK/notes")"

# A click on the notification shows the hidden window.
window_shown && e2e_fail "window shown before the click"
touch "$WORK/click"
e2e_wait_for 5 window_shown || e2e_fail "the click did not show the window"
e2e_stop_app

# The box off: the same changes raise nothing.
rm -f "$WORK/notes"
printf '[General]\nNotifyOnChange=0\n' >"$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -ge 2 ]" ||
    e2e_fail "no second start entry"
sleep 1
cable_cycle 2
[ "$(notes)" -eq 0 ] || e2e_fail "notifications with the box off: $(cat "$WORK/notes")"
e2e_stop_app

# The box on but no notification service on the bus: the tray icon's balloon stands in, a click
# on it shows the window; the changes are logged as ever and the program ends normally.
kill "$SERVER_PID" && wait "$SERVER_PID" 2>/dev/null
e2e_wait_for 5 bash -c '! dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q true' ||
    e2e_fail "the notification service is still there"
printf '[General]\nNotifyOnChange=1\n' >"$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -ge 3 ]" ||
    e2e_fail "no third start entry"
sleep 1
balloon() {
    local w
    for w in $(xdotool search --all --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && echo "$w" && return 0
    done
    return 1
}
ip link set veth1 up
e2e_wait_for 5 bash -c "[ \$(grep -c ',Online' '$WORK/Vanewire.txt') -ge 3 ]" || e2e_fail "no third Online entry"
e2e_wait_for 5 balloon >/dev/null || e2e_fail "no balloon in the notification area"
window_shown && e2e_fail "window shown before the balloon's click"
eval "$(xdotool getwindowgeometry --shell "$(balloon)")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
e2e_wait_for 5 window_shown || e2e_fail "a click on the balloon did not show the window"
ip link set veth1 down
e2e_wait_for 5 bash -c "[ \$(grep -c ',Offline' '$WORK/Vanewire.txt') -ge 3 ]" || e2e_fail "no third Offline entry"
[ "$(notes)" -eq 0 ] || e2e_fail "a notification reached a service that is gone"
e2e_stop_app

# A service that does not run but that the bus starts on demand (as dunst and mako usually are):
# the program calls it and no balloon stands in.
cat >"$WV_E2E_SERVICES/dbus-1/services/org.freedesktop.Notifications.service" <<EOF
[D-BUS Service]
Name=org.freedesktop.Notifications
Exec=/usr/bin/python3 $here/notify_server.py $WORK/notes $WORK/click
EOF
dbus-send --session --type=method_call --dest=org.freedesktop.DBus / org.freedesktop.DBus.ReloadConfig
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -ge 4 ]" ||
    e2e_fail "no fourth start entry"
sleep 1
cable_cycle 4
e2e_wait_for 5 bash -c "[ \$(wc -l <'$WORK/notes' 2>/dev/null || echo 0) -ge 2 ]" ||
    e2e_fail "the service the bus starts got no notification: $(cat "$WORK/notes" 2>/dev/null)"
balloon >/dev/null && e2e_fail "a balloon beside a service the bus started"
sed -n 2p "$WORK/notes" | grep -qP '^2\tWirevane\tOffline\t.*\t1\t[1-9]\d*$' ||
    e2e_fail "on-demand service: $(cat "$WORK/notes")"
# The service stalls through four changes: when it resumes it gets the one call that was on its
# way and then only the latest, replacing it, not a stack of old ones.
server=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.freedesktop.Notifications | awk '/uint32/ {print $2}')
kill -STOP "$server"
cable_cycle 5
cable_cycle 6
kill -CONT "$server"
e2e_wait_for 5 bash -c "[ \$(wc -l <'$WORK/notes') -ge 4 ]" || e2e_fail "nothing after the stall"
sleep 1
[ "$(notes)" -eq 4 ] || e2e_fail "stale notifications after the stall: $(cat "$WORK/notes")"
sed -n 4p "$WORK/notes" | grep -qP '^4\tWirevane\tOffline\t.*\t3\t[1-9]\d*$' ||
    e2e_fail "after the stall: $(cat "$WORK/notes")"
e2e_stop_app
kill "$server" 2>/dev/null
rm -f "$WV_E2E_SERVICES/dbus-1/services/org.freedesktop.Notifications.service" "$WORK/notes"
dbus-send --session --type=method_call --dest=org.freedesktop.DBus / org.freedesktop.DBus.ReloadConfig
for _ in $(seq 50); do service_up || break; sleep 0.1; done

# A first start (no settings file) that stays hidden says once where it went; later starts are
# silent; with no notification area at all the window shows instead.
rm -f "$WORK/Vanewire.ini" "$WORK/Vanewire.txt"
/usr/bin/python3 "$here/notify_server.py" "$WORK/notes" "$WORK/click" >>"$WORK/server.log" 2>&1 &
SERVER_PID=$!
e2e_wait_for 10 service_up || e2e_fail "notification service did not come back"
e2e_start_app
e2e_wait_for 10 bash -c "[ -s '$WORK/notes' ]" || e2e_fail "no notice on a first start"
grep -qP '^1\tWirevane\tWirevane\tWirevane is running in the notification area\. Click its icon to open it\.\t' \
    "$WORK/notes" || e2e_fail "wrong first-start notice: $(cat "$WORK/notes")"
window_shown && e2e_fail "a first start with a notification area showed the window"
e2e_stop_app
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -ge 2 ]" ||
    e2e_fail "no second start entry"
sleep 1.5
e2e_stop_app
[ "$(notes)" -eq 1 ] || e2e_fail "a later start notified again: $(cat "$WORK/notes")"
kill "$TRAYER_PID" && wait "$TRAYER_PID" 2>/dev/null
TRAYER_PID=
rm -f "$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 window_shown || e2e_fail "a first start without a notification area hid the window"
e2e_stop_app
[ "$(notes)" -eq 1 ] || e2e_fail "a notice without a notification area: $(cat "$WORK/notes")"
echo "PASS"
