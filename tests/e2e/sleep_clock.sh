#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Sleep, a shifted clock and crafted logs, end to end:
# - a logind stand-in on a private system bus sends PrepareForSleep(true/false): "Suspend" is in
#   the log before the delay lock is given back, then "Resume" and the verdict;
# - the program's wall clock alone set back an hour (libfaketime, monotonic clocks untouched):
#   "Clock changed" and "Clock set", and no sleep;
# - `wirevane --history` on a prepared log against figures worked out by hand, touching nothing;
# - a log with an entry of the year 206 on the History page: the poll still logs a cable change
#   within 2 s.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/lib_bus.sh"
e2e_enter_namespace "$@"
FAKETIME_LIB=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
if ! command -v dbus-daemon >/dev/null || ! "$E2E_PY" -c 'import dbus, gi' 2>/dev/null ||
    [ ! -f "$FAKETIME_LIB" ]; then
    echo "SKIP: dbus-daemon, python3-dbus/python3-gi or faketime missing"
    exit 77
fi
e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0
ip link set veth1 up

# 1. Sleep through the logind stand-in.
e2e_start_system_bus
"$E2E_PY" "$here/logind_server.py" "$WORK/Vanewire.txt" "$WORK/at_release" "$WORK/sleep" \
    "$WORK/wake" >"$WORK/logind.log" 2>&1 &
LOGIND_PID=$!
trap 'kill $LOGIND_PID $SYSTEM_BUS_PID 2>/dev/null; e2e_cleanup' EXIT
e2e_wait_for 10 e2e_bus_has org.freedesktop.login1 || e2e_fail "no logind stand-in: $(cat "$WORK/logind.log")"

e2e_start_app
e2e_wait_for 10 e2e_log_has ",Online" || e2e_fail "no Online entry: $(cat "$WORK/Vanewire.txt")"
e2e_wait_for 5 grep -q "inhibit sleep delay" "$WORK/logind.log" || e2e_fail "no delay lock taken"
touch "$WORK/sleep"
e2e_wait_for 5 grep -q released "$WORK/logind.log" || e2e_fail "the delay lock was not given back"
tail -1 "$WORK/at_release" | grep -q '^0\.0\.0\.0,.*,Suspend' ||
    e2e_fail "no Suspend entry when the lock was given back: $(cat "$WORK/at_release")"
sleep 1.5
e2e_log_has Resume && e2e_fail "Resume before the wake-up"
touch "$WORK/wake"
e2e_wait_for 5 bash -c "tail -2 '$WORK/Vanewire.txt' | head -1 | grep -q ',Resume' &&
    tail -1 '$WORK/Vanewire.txt' | grep -q '^203\.0\.113\.5,.*,Online'" ||
    e2e_fail "no Resume and Online after waking: $(cat "$WORK/Vanewire.txt")"
# The lock is taken again for the next sleep.
e2e_wait_for 5 bash -c "[ \$(grep -c 'inhibit sleep delay' '$WORK/logind.log') -ge 2 ]" ||
    e2e_fail "no new delay lock after waking"
e2e_stop_app
kill "$LOGIND_PID" 2>/dev/null

# 2. The wall clock set back an hour while the program runs.
echo "+0" >"$WORK/faketime"
LD_PRELOAD=$FAKETIME_LIB FAKETIME_TIMESTAMP_FILE="$WORK/faketime" FAKETIME_CACHE_DURATION=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -ge 2 ]" ||
    e2e_fail "no second start entry"
sleep 2
echo "-1h" >"$WORK/faketime"
e2e_wait_for 6 e2e_log_has "Clock set" || e2e_fail "no clock change logged: $(cat "$WORK/Vanewire.txt")"
changed=$(grep 'Clock changed' "$WORK/Vanewire.txt" | tail -1 | cut -d, -f3)
set_to=$(grep 'Clock set' "$WORK/Vanewire.txt" | tail -1 | cut -d, -f3)
secs() { date -u -d "1970-01-01 $1" +%s; }
shift_s=$(($(secs "$changed") - $(secs "$set_to")))
[ "$shift_s" -ge 3595 ] && [ "$shift_s" -le 3605 ] || [ "$shift_s" -le -82795 ] ||
    e2e_fail "the entries are not an hour apart: $changed, $set_to"
[ "$(e2e_log_count Suspend)" -eq 1 ] || e2e_fail "a clock change taken for a sleep"
e2e_stop_app
cp "$WORK/Vanewire.txt" "$WORK/run.txt"

# 3. `--history` on a prepared log, without display, lock or any file touched.
day=$(TZ=UTC date -d '-2 days' +%-d/%-m/%y)
{
    printf 'IP,DD/MM/YY,TIME,MESSAGE\r\n'
    printf '0.0.0.0,%s,8:00:00,"Start of program"\r\n' "$day"
    printf '203.0.113.5,%s,8:00:02,Online\r\n' "$day"
    printf '0.0.0.0,%s,10:00:00,Offline\r\n' "$day"
    printf '203.0.113.5,%s,10:30:00,Online\r\n' "$day"
    printf '0.0.0.0,%s,11:00:00,Suspend\r\n' "$day"
    printf '0.0.0.0,%s,19:00:00,Resume\r\n' "$day"
    printf '203.0.113.5,%s,19:00:01,Online\r\n' "$day"
    printf '0.0.0.0,%s,"09:00:00 PM","Stop of program"\r\n' "$day"
    printf '0.0.0.0,1/6/206,10:00:00,Online\r\n'
} >"$WORK/prepared.txt"
# The folder's names, and the log and settings as they are (content and time).
snapshot() { ls -A "$WORK" "$HOME" && stat -c '%n %Y %s' "$WORK"/Vanewire.* "$WORK/prepared.txt" && md5sum "$WORK"/Vanewire.*; }
before=$(snapshot)
out=$(env -u DISPLAY TZ=UTC "$WORK/wirevane" --history 7 --log "$WORK/prepared.txt") ||
    e2e_fail "--history failed"
[ "$(snapshot)" = "$before" ] || e2e_fail "--history touched a file: $(diff <(echo "$before") <(snapshot))"
line=$(echo "$out" | grep "^$(TZ=UTC date -d '-2 days' +%F)	")
[ "$line" = "$(TZ=UTC date -d '-2 days' +%F)	online=16200	offline=1800	unmonitored=68400" ] ||
    e2e_fail "wrong day: $line"
[ "$(echo "$out" | tail -1)" = "availability=90.00	outages=1	outage_seconds=1800	longest_seconds=1800	skipped=1" ] ||
    e2e_fail "wrong summary: $out"
[ "$(echo "$out" | wc -l)" -eq 8 ] || e2e_fail "not 7 days and a summary: $out"
# Without --log: the program's own log beside it.
out=$(env -u DISPLAY TZ=UTC "$WORK/wirevane" --history all) || e2e_fail "--history all failed"
[ "$(snapshot)" = "$before" ] || e2e_fail "--history all touched a file"
echo "$out" | tail -1 | grep -q '^availability=' || e2e_fail "no summary: $out"

# 4. The year 206 in the log while the History page is on display.
ip link set veth1 down
cp "$WORK/prepared.txt" "$WORK/Vanewire.txt"
printf '[General]\r\nMinimizeAtStartup=0\r\n' >"$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 e2e_app_windows Wirevane >/dev/null || e2e_fail "the main window did not show"
MAIN=$(e2e_app_windows Wirevane | head -1)
xdotool windowactivate --sync "$MAIN" 2>/dev/null || xdotool windowfocus --sync "$MAIN"
xdotool key --window "$MAIN" ctrl+Tab ctrl+Tab ctrl+Tab
sleep 0.5
# The period box at the page's top left: "Everything", its last item.
xdotool mousemove --window "$MAIN" 58 54 click 1
sleep 0.5
xdotool key End Return
sleep 1
online_before=$(e2e_log_count ',Online')
ip link set veth1 up
e2e_wait_for 2 bash -c "[ \$(grep -c ',Online' '$WORK/Vanewire.txt') -gt $online_before ]" ||
    e2e_fail "no Online entry within 2 s with the History page shown"
e2e_stop_app
echo "PASS"
