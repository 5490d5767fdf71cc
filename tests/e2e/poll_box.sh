#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A box raised by a poll stays open while the cable changes: polling goes on inside it, and
# the change is decided and logged before anyone presses OK. The log's folder is made
# read-only (a bind mount in a private mount namespace) so that a save fails and the program
# shows its "Cannot create file" box; the box must come up above the always-on-top main window
# with the focus.
set -u
if [ -z "${WV_E2E_IN_MNT:-}" ]; then
    if ! unshare -m true 2>/dev/null; then
        echo "SKIP: this machine cannot create a mount namespace (unshare -m failed)"
        exit 77
    fi
    WV_E2E_IN_MNT=1 exec unshare -m bash "$0" "$@"
fi
mount --make-rprivate /
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/windows.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

# The program in a folder of its own, so it can be made read-only while the test's own logs
# stay writable.
PROG="$WORK/prog"
LOG="$PROG/Vanewire.txt"
mkdir -p "$PROG"
cp "$WORK/wirevane" "$PROG/wirevane"
printf '[General]\r\nMinimizeAtStartup=0\r\n' >"$PROG/Vanewire.ini"
mount --bind "$PROG" "$PROG" || { echo "SKIP: bind mounts are not possible here"; exit 77; }
trap 'umount -l "$PROG" 2>/dev/null; e2e_cleanup' EXIT

QT_QPA_PLATFORM=xcb "$PROG/wirevane" >>"$WORK/app.log" 2>&1 &
APP_PID=$!
has() { grep -q -- "$1" "$LOG" 2>/dev/null; }
e2e_wait_for 10 has "Start of program" || e2e_fail "no start entry: $(cat "$WORK/app.log")"
e2e_wait_for 10 e2e_app_windows Wirevane >/dev/null || e2e_fail "the main window did not show"
MAIN=$(e2e_app_windows Wirevane | head -1)
sleep 1.5
before=$(cat "$LOG")

# The save of the Online entry fails: a box opens from inside the poll.
mount -o remount,bind,ro "$PROG" || e2e_fail "cannot make the folder read-only"
ip link set veth1 up
e2e_wait_for 5 e2e_in_front Wirevane "$MAIN" ||
    e2e_fail "no box above the main window with the focus: $(e2e_describe) $(cat "$WORK/app.log")"
BOX=$WIN

# With the box still open the disk comes back and the cable goes out and in again.
mount -o remount,bind,rw "$PROG" || e2e_fail "cannot make the folder writable again"
ip link set veth1 down
sleep 2
ip link set veth1 up
e2e_wait_for 6 has "^203\.0\.113\.5,.*,Online" ||
    e2e_fail "no entry written while the box was open: $(cat "$LOG")"
e2e_app_windows Wirevane | grep -qx "$BOX" || e2e_fail "the first box closed by itself"
case "$(cat "$LOG")" in
"$before"*) ;;
*) e2e_fail "earlier lines changed: $(cat "$LOG")" ;;
esac

# OK on every box that is open; the program goes on and ends cleanly.
for _ in $(seq 1 10); do
    box=$(e2e_app_windows Wirevane | grep -vx "$(e2e_dec "$MAIN")" | tail -1)
    [ -z "$box" ] && break
    xdo windowfocus "$box" 2>/dev/null
    xdo key Return
    sleep 0.3
done
e2e_stop_app
tail -1 "$LOG" | grep -q '"Stop of program"' || e2e_fail "no stop entry: $(cat "$LOG")"
echo "PASS"
