#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The session ends while the program runs: SIGTERM with a settings file that cannot be written,
# a session manager's checkpoints (which only save) and then its end, a session manager's crash
# (which ends nothing), and the display going away. Each time the program ends by itself with
# exit code 0, nothing waits on a box, and "Stop of program" is the last entry.
set -u
. "$(dirname "$0")/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"

# The last entry is the one stop of this run ($1 stop entries in all).
check_stopped() {
    tail -n1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' ||
        e2e_fail "last entry is not the stop: $(cat "$WORK/Vanewire.txt")"
    [ "$(e2e_log_count 'Stop of program')" -eq "$1" ] ||
        e2e_fail "expected $1 stop entries: $(cat "$WORK/Vanewire.txt")"
}

# 1. SIGTERM while the settings cannot be written (a folder stands where the file goes).
mkdir "$WORK/Vanewire.ini"
e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "no start entry: $(cat "$WORK/app.log")"
sleep 1
e2e_stop_app # within 1 s, exit code 0
check_stopped 1
grep -q "Error in TfrmMain.SaveAll" "$WORK/app.log" ||
    e2e_fail "standard error does not say the settings were not saved: $(cat "$WORK/app.log")"
# A stray signal can be told from the session's own: the reason names who sent it.
grep -q "signal 15 (Terminated) from process $BASHPID (bash): ending" "$WORK/app.log" ||
    e2e_fail "standard error does not name the signal's sender: $(cat "$WORK/app.log")"
rmdir "$WORK/Vanewire.ini"

# 2. Under a session manager, a first start (no settings file) running hidden: checkpoints come
# and go while the session goes on, and only save; the session's end then ends the program.
rm -f "$WORK/Vanewire.ini"
: >"$WORK/app.log"
e2e_start_session_manager
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -eq 2 ]" ||
    e2e_fail "no start entry under the session manager: $(cat "$WORK/app.log")"
e2e_wait_for 10 e2e_sm_seen "save-done 1" 1 ||
    e2e_fail "the program did not register and save: $(cat "$WORK/sm.out")"
rm -f "$WORK/Vanewire.ini"
for n in 2 3 4; do
    e2e_sm checkpoint
    e2e_wait_for 10 e2e_sm_seen "save-done 1" $n ||
        e2e_fail "a checkpoint not answered: $(cat "$WORK/sm.out")"
done
sleep 1
kill -0 "$APP_PID" 2>/dev/null || e2e_fail "a checkpoint ended the program: $(cat "$WORK/app.log")"
[ "$(e2e_log_count 'Stop of program')" -eq 1 ] || e2e_fail "a stop entry at a checkpoint"
[ -f "$WORK/Vanewire.ini" ] || e2e_fail "a checkpoint did not save the settings"
e2e_sm shutdown
e2e_wait_for 10 e2e_sm_seen "save-done 1" 5 ||
    e2e_fail "the session's save request not answered: $(cat "$WORK/sm.out")"
e2e_sm die
e2e_ended_by "the session's end"
check_stopped 2
grep -q "the desktop session asked to quit: ending" "$WORK/app.log" ||
    e2e_fail "standard error does not say the session ended: $(cat "$WORK/app.log")"
exec 7>&- # the session manager ends with its input

# 3. A session manager that crashes while the session goes on takes nothing along: the program runs
# on, idle (not woken again and again by the closed link), and still ends cleanly.
: >"$WORK/app.log"
e2e_start_session_manager
e2e_start_app
e2e_wait_for 10 e2e_sm_seen "save-done 1" 1 || e2e_fail "no registration: $(cat "$WORK/sm.out")"
kill -KILL "$SM_PID"
sleep 2
kill -0 "$APP_PID" 2>/dev/null ||
    e2e_fail "the session manager's crash ended the program: $(cat "$WORK/app.log")"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$APP_PID/stat"; }
before=$(cpu_ticks)
sleep 2
# A busy loop would take about 200 ticks in these 2 s; a program at rest takes next to none.
[ $(($(cpu_ticks) - before)) -lt 50 ] || e2e_fail "busy after the session manager's crash"
e2e_stop_app
check_stopped 3
grep -q "the connection to the session manager broke: going on without it" "$WORK/app.log" ||
    e2e_fail "standard error does not say the session manager went away: $(cat "$WORK/app.log")"
unset SESSION_MANAGER
exec 7>&-

# 4. The display goes away under the running program.
: >"$WORK/app.log"
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -eq 4 ]" ||
    e2e_fail "fourth start entry missing: $(cat "$WORK/app.log")"
sleep 1
kill "$TRAYER_PID" "$XVFB_PID"
e2e_ended_by "display loss"
check_stopped 4
grep -qi '^rbList=' "$WORK/Vanewire.ini" || e2e_fail "settings not saved at display loss"
echo "PASS"
