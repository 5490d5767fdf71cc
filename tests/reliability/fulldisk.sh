#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A full disk: the program's folder is a small tmpfs (private mount namespace) that a filler
# file keeps full, so no save of the log fits, while the cable goes in and out (private network
# namespace). Each trial checks that the old log stays byte for byte, that one box at a time
# tells of it (none after it was closed, in the same episode), that the program goes on
# monitoring, and that once the filler is removed every held entry is written, once, in order.
# The first trial starts the program on the full disk; the others fill it while it runs; a last
# one starts with no log at all on a disk with no room left. The second half of the trials runs under a real window manager (openbox), when there is one.
# Last, space returning under a first start that runs hidden: an installed copy with no settings
# file and a 15,000-entry log on a 2 MB tmpfs; cable in, disk filled to 64 kB free, cable out (the
# box stays open), 2.5 s later the filler goes and the cable comes in, 2.5 s later out, 2.5 s
# later SIGTERM. The program must run until the signal and log each step. Every other trial runs
# under a session manager that asks for a checkpoint the moment the space returns.
# Usage: fulldisk.sh EXECUTABLE. WV_SOAK=1 runs more trials.
set -u
. "$(dirname "$0")/../e2e/lib.sh"

if [ -z "${WV_E2E_IN_NS:-}" ]; then
    if ! unshare -m -n true 2>/dev/null; then
        echo "SKIP: this machine cannot create mount and network namespaces"
        exit 77
    fi
    WV_E2E_IN_NS=1 exec unshare -m -n bash "$0" "$@"
fi
ip link set lo up
mount --make-rprivate / || e2e_fail "cannot make the mounts private"

TRIALS=2
FLAPS=2
HIDDEN_TRIALS=3
if [ -n "${WV_SOAK:-}" ]; then
    TRIALS=12
    FLAPS=8
    HIDDEN_TRIALS=50
fi

e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

# The program's folder: a tmpfs holding the executable, the log and the filler.
APPDIR="$WORK/app"
mkdir -p "$APPDIR"
# Room for the executable (larger in sanitizer builds), the log and some slack.
SIZE_KB=$(($(stat -c %s "$1") / 1024 + 8192))
mount -t tmpfs -o size=${SIZE_KB}k,mode=755 tmpfs "$APPDIR" || e2e_fail "cannot mount a tmpfs"
fulldisk_cleanup() {
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
    if [ -n "${APP_PID:-}" ]; then
        kill -KILL "$APP_PID" 2>/dev/null
        wait "$APP_PID" 2>/dev/null
        APP_PID=
    fi
    umount "$APPDIR" 2>/dev/null
    e2e_cleanup
}
trap fulldisk_cleanup EXIT
cp "$1" "$APPDIR/wirevane" || e2e_fail "cannot copy the executable"
LOG="$APPDIR/Vanewire.txt"
# An old log of about 640 KB: far more than the room left when the disk is "full".
awk 'BEGIN { printf "IP,DD/MM/YY,TIME,MESSAGE\r\n";
             for (i = 0; i < 20000; i++)
                 printf "0.0.0.0,5/1/09,%d:%02d:%02d,Offline\r\n", 9 + i / 3600, (i / 60) % 60, i % 60 }' \
    >"$LOG"
OLD_LINES=$(wc -l <"$LOG")

# Fills the tmpfs, then leaves 64 KB: small files still fit, a copy of the log does not.
fill_disk() {
    dd if=/dev/zero of="$APPDIR/filler" bs=64k >/dev/null 2>&1
    truncate -s -64K "$APPDIR/filler"
}
free_disk() { rm -f "$APPDIR/filler"; }

# Visible windows titled "Wirevane": the main window stays hidden here, so these are boxes.
boxes() { xdotool search --onlyvisible --name '^Wirevane$' 2>/dev/null | wc -l; }
has_box() { [ "$(boxes)" -ge 1 ]; }
close_box() {
    local id
    id=$(xdotool search --onlyvisible --name '^Wirevane$' 2>/dev/null | head -n1)
    [ -n "$id" ] || return 1
    if [ -n "${WM_PID:-}" ]; then
        xdotool windowactivate --sync "$id" 2>/dev/null
    else
        xdotool windowfocus --sync "$id" 2>/dev/null
    fi
    xdotool key Return
    e2e_wait_for 5 no_box
}

EXPECTED=()  # the messages the run must have written, in order
ERRORS=""    # what went wrong in the current trial
check() {    # check DESCRIPTION COMMAND...
    local what=$1
    shift
    "$@" || ERRORS="$ERRORS; $what"
}
same_old_log() { cmp -s "$LOG" "$WORK/before"; }
at_most_one_box() { [ "$(boxes)" -le 1 ]; }
no_box() { [ "$(boxes)" -eq 0 ]; }
running() { kill -0 "$APP_PID" 2>/dev/null; }
# A failed save removes its temporary file: nothing but the program's own files is left.
no_leftovers() { ! ls -A "$APPDIR" | grep -q '\.tmp'; }
# The log holds the old lines unchanged, then exactly the expected messages.
log_complete() {
    head -n "$OLD_LINES" "$LOG" | cmp -s - "$WORK/old" || return 1
    local got want
    got=$(tail -n +$((OLD_LINES + 1)) "$LOG" | tr -d '\r' | sed 's/.*,//; s/"//g')
    want=$(printf '%s\n' "${EXPECTED[@]}")
    [ "$got" = "$want" ]
}
# Moves the cable in or out and waits for a poll to see it.
CABLE=down
toggle_cable() {
    if [ "$CABLE" = down ]; then CABLE=up; else CABLE=down; fi
    ip link set veth1 "$CABLE"
    if [ "$CABLE" = up ]; then EXPECTED+=("Online"); else EXPECTED+=("Offline"); fi
    sleep 1.5
}
# Moves the cable N times while the disk is full, checking the log and the boxes each time.
flap_while_full() {
    local n
    for n in $(seq 1 "$1"); do
        toggle_cable
        check "old log changed while full" same_old_log
        check "more than one box" at_most_one_box
    done
}

cp "$LOG" "$WORK/old"
passed=0
failed=0
WM_PID=
for trial in $(seq 1 "$TRIALS"); do
    ERRORS=""
    if [ -z "$WM_PID" ] && [ "$trial" -gt $((TRIALS / 2)) ] && command -v openbox >/dev/null; then
        openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
        WM_PID=$!
        sleep 1
    fi
    fill_disk
    cp "$LOG" "$WORK/before"
    if [ "$trial" -eq 1 ]; then
        # Start-up on the full disk: the start entry cannot be saved.
        QT_QPA_PLATFORM=xcb "$APPDIR/wirevane" >>"$WORK/app.log" 2>&1 &
        APP_PID=$!
        EXPECTED+=("Start of program")
        sleep 2
        check "start-up refused to run on a full disk" running
    else
        # The disk fills while the program runs: the next entry cannot be saved.
        toggle_cable
    fi
    check "no box told of the failed save" e2e_wait_for 5 has_box
    flap_while_full "$FLAPS"
    check "the box did not close" close_box
    # Same episode: failures after the box was closed open no new box.
    flap_while_full 2
    check "a new box in the same episode" no_box
    check "the program stopped" running
    free_disk
    # Held entries go to the disk on their own (odd trials), or with the next entry (even).
    [ $((trial % 2)) -eq 0 ] && toggle_cable
    check "held entries not written once space returned" e2e_wait_for 10 log_complete
    check "a box after space returned" no_box
    check "temporary files left behind" no_leftovers
    if [ -z "$ERRORS" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "trial $trial failed${ERRORS}" >&2
        echo "  expected: ${EXPECTED[*]}" >&2
        echo "  log tail: $(tail -n +$((OLD_LINES + 1)) "$LOG" | tr -d '\r' | tr '\n' '|')" >&2
        # Close whatever is open and line the expectation up with the log for the next trial.
        while has_box; do close_box || break; done
        mapfile -t EXPECTED < <(tail -n +$((OLD_LINES + 1)) "$LOG" | tr -d '\r' | sed 's/.*,//; s/"//g')
    fi
    running || break
done

if running; then
    e2e_stop_app
    tail -n1 "$LOG" | grep -q '"Stop of program"' || { echo "no stop entry at the end" >&2; failed=$((failed + 1)); }
else
    echo "the program ended during the trials: $(cat "$WORK/app.log")" >&2
    APP_PID=
fi
# A first start with no log at all on a disk without a byte of room: the box tells which file
# and that the disk is full, the program ends with code 1, and no empty log is left behind.
mv "$LOG" "$WORK/kept-log"
dd if=/dev/zero of="$APPDIR/filler" bs=64k >/dev/null 2>&1
: >"$WORK/app.log"
QT_QPA_PLATFORM=xcb "$APPDIR/wirevane" >>"$WORK/app.log" 2>&1 &
APP_PID=$!
ERRORS=""
check "no box about the log that cannot be made" e2e_wait_for 5 has_box
close_box
wait "$APP_PID"
rc=$?
APP_PID=
[ "$rc" -eq 1 ] || ERRORS="$ERRORS; exit code $rc"
check "the reason does not name the log" grep -q "Cannot create file $LOG" "$WORK/app.log"
check "the reason is not told in plain words" grep -q "The disk is full." "$WORK/app.log"
check "an empty log was left behind" test ! -e "$LOG"
if [ -z "$ERRORS" ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "first start on a full disk failed${ERRORS}: $(cat "$WORK/app.log")" >&2
fi
free_disk

# Space returning under a first start that runs hidden (see the top). The copy counts as
# installed, so its log goes to the state folder, which is the small tmpfs.
[ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
WM_PID=
PREFIX="$WORK/prefix"
mkdir -p "$PREFIX/bin" "$PREFIX/share/applications"
cp "$1" "$PREFIX/bin/wirevane" || e2e_fail "cannot copy the executable"
touch "$PREFIX/share/applications/io.github.wirevane.Wirevane.desktop"
HIDDEN_WANT="Start of program Online Offline Online Offline Stop of program"
e2e_start_session_manager
SM_ADDRESS=$SESSION_MANAGER
unset SESSION_MANAGER
for trial in $(seq 1 "$HIDDEN_TRIALS"); do
    UNDER_SM=$((trial % 2))
    T="$WORK/hidden$trial"
    mkdir -p "$T/config" "$T/state/wirevane"
    mount -t tmpfs -o size=2048k,mode=700 tmpfs "$T/state/wirevane" || e2e_fail "cannot mount a tmpfs"
    HLOG="$T/state/wirevane/Vanewire.txt"
    head -n 15001 "$WORK/old" >"$HLOG"
    ip link set veth1 down
    [ "$UNDER_SM" -eq 1 ] && export SESSION_MANAGER=$SM_ADDRESS
    XDG_CONFIG_HOME="$T/config" XDG_STATE_HOME="$T/state" QT_QPA_PLATFORM=xcb \
        "$PREFIX/bin/wirevane" >"$T/app.log" 2>&1 &
    unset SESSION_MANAGER
    APP_PID=$!
    ERRORS=""
    e2e_wait_for 10 grep -q "Start of program" "$HLOG" || ERRORS="$ERRORS; no start entry"
    ip link set veth1 up
    sleep 2
    dd if=/dev/zero of="$T/state/wirevane/filler" bs=64k >/dev/null 2>&1
    truncate -s -64K "$T/state/wirevane/filler"
    ip link set veth1 down
    sleep 2.5
    rm -f "$T/state/wirevane/filler"
    [ "$UNDER_SM" -eq 1 ] && e2e_sm checkpoint
    ip link set veth1 up
    sleep 2.5
    ip link set veth1 down
    sleep 2.5
    running || ERRORS="$ERRORS; ended before the signal"
    kill -TERM "$APP_PID" 2>/dev/null
    wait "$APP_PID"
    rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || ERRORS="$ERRORS; exit code $rc"
    head -n 15001 "$HLOG" | cmp -s - <(head -n 15001 "$WORK/old") || ERRORS="$ERRORS; old entries changed"
    got=$(tail -n +15002 "$HLOG" | tr -d '\r' | sed 's/.*,//; s/"//g' | tr '\n' ' ')
    [ "$got" = "$HIDDEN_WANT " ] || ERRORS="$ERRORS; log tail: $got"
    umount "$T/state/wirevane"
    if [ -z "$ERRORS" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        [ "$UNDER_SM" -eq 1 ] && ERRORS=" (session manager)$ERRORS"
        echo "hidden start trial $trial failed${ERRORS}: $(cat "$T/app.log")" >&2
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
