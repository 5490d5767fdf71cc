#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Two starts on one log. A later start asks the running copy to show its window and ends with
# exit code 0, leaving log and settings as they were; a running copy that does not answer is
# reported in a box. A copy killed with -9 never blocks the next start. The handover is tried
# without a window manager and under openbox.
set -u
. "$(dirname "$0")/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"

visible() { xdotool search --onlyvisible --name '^Wirevane$' >/dev/null 2>&1; }
snapshot() { cp "$WORK/Vanewire.txt" "$WORK/log.before" && cp "$WORK/Vanewire.ini" "$WORK/ini.before"; }
untouched() {
    cmp -s "$WORK/log.before" "$WORK/Vanewire.txt" || e2e_fail "$1: the log changed: $(ls -la "$WORK"; cat "$WORK/Vanewire.txt" "$WORK/second.log")"
    cmp -s "$WORK/ini.before" "$WORK/Vanewire.ini" || e2e_fail "$1: the settings changed"
}
# Starts another copy in the foreground; its exit code is in $rc.
second_start() {
    QT_QPA_PLATFORM=xcb timeout 10 "$WORK/wirevane" >>"$WORK/second.log" 2>&1
    rc=$?
}
# Starts the first copy and waits until it has written its start entry ($1 of them in the log).
first_start() {
    e2e_start_app
    e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt' 2>/dev/null || echo 0) -ge $1 ]" ||
        e2e_fail "no start entry: $(cat "$WORK/app.log")"
    sleep 0.5
}
handover() { # $1: what runs the display
    visible && e2e_fail "$1: the window shows before the later start"
    snapshot
    second_start
    [ "$rc" -eq 0 ] || e2e_fail "$1: the later start ended with $rc: $(cat "$WORK/second.log")"
    e2e_wait_for 3 visible || e2e_fail "$1: the running copy did not show its window"
    kill -0 "$APP_PID" 2>/dev/null || e2e_fail "$1: the running copy ended"
    untouched "$1"
    # Once more while the window is shown: still handed over, still nothing written.
    second_start
    [ "$rc" -eq 0 ] || e2e_fail "$1: the third start ended with $rc"
    untouched "$1"
}

printf '[General]\nMinimizeAtStartup=1\nCheckedCount=1\nCheckedItems_0=192.0.2.1\n' >"$WORK/Vanewire.ini"

# Options that answer by themselves need no display and touch no file; so does --quit with
# nothing to end. Each case: arguments | exit code | what the output says.
while IFS='|' read -r args code says; do
    out=$(cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 5 "$WORK/wirevane" $args 2>&1)
    rc=$?
    [ "$rc" -eq "$code" ] || e2e_fail "wirevane $args: exit code $rc, not $code: $out"
    grep -q -- "$says" <<<"$out" || e2e_fail "wirevane $args: no \"$says\" in: $out"
done <<'CASES'
--help|0|--quit
-h|0|^Usage: wirevane
--version|0|^Wirevane [0-9.]*$
--bogus|2|Unknown option 'bogus'
--show --quit|2|cannot be combined
--history 12|2|period is 7, 30, 90 or all
--log x|2|--log goes with --history
stray|2|^Usage: wirevane
--quit|1|no copy is running
CASES
[ -z "$(find "$HOME" -iname '*wirevane*')" ] ||
    e2e_fail "the command line wrote into HOME: $(find "$HOME" -iname '*wirevane*')"
[ ! -e "$WORK/Vanewire.txt" ] && [ ! -e "$WORK/.Vanewire.txt.lock" ] ||
    e2e_fail "the command line made the log or its lock"

# Without a window manager.
first_start 1
handover "no window manager"

# The command line, against the running copy: --show hands over as a plain start does.
snapshot
(cd "$WORK" && timeout 10 "$WORK/wirevane" --show >>"$WORK/second.log" 2>&1) ||
    e2e_fail "--show to a running copy failed: $(cat "$WORK/second.log")"
e2e_wait_for 3 visible || e2e_fail "--show did not bring up the window"
untouched "--show"

# A running copy that does not answer (stopped): the later start says so in a box and ends.
snapshot
kill -STOP "$APP_PID"
QT_QPA_PLATFORM=xcb "$WORK/wirevane" >>"$WORK/second.log" 2>&1 &
silent=$!
box() { box_id=$(xdotool search --onlyvisible --pid "$silent" 2>/dev/null | head -1) && [ -n "$box_id" ]; }
e2e_wait_for 8 box || e2e_fail "no box from a start whose running copy is silent"
xdotool windowactivate --sync "$box_id" key Return 2>/dev/null || xdotool key Return
e2e_wait_for 5 bash -c "! kill -0 $silent 2>/dev/null" || e2e_fail "the box did not end the later start"
wait "$silent"
[ $? -ne 0 ] || e2e_fail "a start that could not hand over reported success"
kill -CONT "$APP_PID"
untouched "silent running copy"

# Killed with -9: the lock and the socket go with it, the next start runs.
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null
APP_PID=
lines=$(wc -l <"$WORK/Vanewire.txt")
first_start 2
[ "$(wc -l <"$WORK/Vanewire.txt")" -eq $((lines + 1)) ] || e2e_fail "the start after a kill did not log"

# Under openbox: the window comes up above the others, the later start still ends at once.
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
sleep 1
handover "openbox"
kill "$WM_PID" 2>/dev/null
# --quit ends the running copy as Exit does and returns once it has ended.
printf '[General]\nMinimizeAtStartup=1\nCheckedCount=1\nCheckedItems_0=192.0.2.1\nrbList=0\n' \
    >"$WORK/Vanewire.ini"
(cd "$WORK" && timeout 15 "$WORK/wirevane" --quit) || e2e_fail "--quit failed"
ended() { [[ $(ps -o stat= -p "$APP_PID") == Z* || -z $(ps -o stat= -p "$APP_PID") ]]; }
e2e_wait_for 2 ended || e2e_fail "the running copy still runs after --quit"
wait "$APP_PID" || e2e_fail "the running copy ended with an error after --quit"
APP_PID=
[ "$(e2e_log_count 'Start of program')" -eq 2 ] || e2e_fail "later starts wrote to the log"
tail -1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' || e2e_fail "no stop entry"
grep -q '^CheckedItems_0=192.0.2.1$' "$WORK/Vanewire.ini" || e2e_fail "settings lost"
grep -qi '^rbList=1$' "$WORK/Vanewire.ini" || e2e_fail "settings not saved at --quit"

# With no copy running: --show starts one with its window up; --quit then ends it.
(cd "$WORK" && exec env QT_QPA_PLATFORM=xcb "$WORK/wirevane" --show >>"$WORK/app.log" 2>&1) &
APP_PID=$!
e2e_wait_for 10 visible || e2e_fail "--show did not start with the window shown"
"$WORK/wirevane" --quit || e2e_fail "--quit of the copy --show started failed"
wait "$APP_PID"
APP_PID=
echo "PASS"
