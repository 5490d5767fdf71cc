#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Another local user (nobody, through setpriv) against the one-copy lock and its socket: a lock
# file crafted in a shared folder, an flock holder, a squatter on the socket's name without
# XDG_RUNTIME_DIR; then a start while the running copy ends on a slow disk (fsync slowed by an
# LD_PRELOAD shim). Two paths to one log are the instance lock's unit test.
# Usage: hostile_users.sh WIREVANE SLOW_FSYNC_SHIM
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
[ "$(id -u)" -eq 0 ] || { echo "SKIP: acting as another user needs root (setpriv)"; exit 77; }
command -v setpriv >/dev/null || { echo "SKIP: setpriv is missing"; exit 77; }
e2e_enter_namespace "$@"
e2e_setup "$1"
SHIM=$2
chmod 755 "$WORK"
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
visible() { xdotool search --onlyvisible --name '^Wirevane$' >/dev/null 2>&1; }
# copy_to DIR [MODE]: a copy of the program in DIR; its log is DIR/Vanewire.txt.
copy_to() {
    mkdir -p "$1" && chmod "${2:-755}" "$1" && cp "$WORK/wirevane" "$1/"
    printf '[General]\nMinimizeAtStartup=1\n' >"$1/Vanewire.ini"
}
# run_bg DIR [VAR=VALUE...]: starts DIR's copy in the background; its process id in $pid.
run_bg() {
    local dir=$1
    shift
    env "$@" QT_QPA_PLATFORM=xcb "$dir/wirevane" >>"$dir/app.log" 2>&1 &
    pid=$!
}
starts() { grep -c 'Start of program' "$1/Vanewire.txt" 2>/dev/null || echo 0; }
# started DIR N WHAT: waits until DIR's log holds N start entries.
started() {
    e2e_wait_for 12 bash -c "[ \$(grep -c 'Start of program' '$1/Vanewire.txt' 2>/dev/null) -ge $2 ]" ||
        e2e_fail "$3: $(cat "$1"/app.log "$1/Vanewire.txt")"
}
# stop PID: ends a copy as a log-off would and checks that it ended with 0.
stop() {
    kill -TERM "$1"
    e2e_wait_for 15 sh -c "! kill -0 $1 2>/dev/null" || e2e_fail "copy $1 did not end"
    wait "$1" || e2e_fail "copy $1 ended with $?"
}
# The other user's program: holds LOCK (when given, writing SOCKET's name into it) and answers
# "ok" on SOCKET, noting each connection in SOCKET.seen.
cat >"$WORK/other.py" <<'PY'
import fcntl, os, socket, sys
sock, lock = sys.argv[1], sys.argv[2:]
if lock:
    f = open(lock[0], "w")
    f.write(sock + "\n")
    f.flush()
    os.chmod(lock[0], 0o644)
    fcntl.flock(f, fcntl.LOCK_EX)
s = socket.socket(socket.AF_UNIX)
s.bind(sock)
os.chmod(sock, 0o777)
s.listen(8)
while True:
    c, _ = s.accept()
    open(sock + ".seen", "a").write("connection\n")
    c.sendall(b"ok\n")
    c.close()
PY
mkdir -p "$WORK/other" && chown 65534:65534 "$WORK/other"
other() { # SOCKET [LOCK]
    as_nobody /usr/bin/python3 "$WORK/other.py" "$@" >>"$WORK/other.log" 2>&1 &
    other_pid=$!
    e2e_wait_for 5 test -S "$1" || e2e_fail "the other user's program did not start: $(cat "$WORK/other.log")"
}
untouched_by() { [ ! -e "$1.seen" ] || e2e_fail "a start talked to the other user's socket $1"; }

# 1. A lock file crafted and held by the other user in a folder both can write (1777): the start
# says in a box whose file it is and does not run; it never talks to the named socket.
shared="$WORK/shared"
copy_to "$shared" 1777
other "$WORK/other/sock" "$shared/.Vanewire.txt.lock"
run_bg "$shared"
box() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 | grep -q .; }
e2e_wait_for 10 box || e2e_fail "no box for a lock file of another user: $(cat "$shared/app.log")"
grep -q "lock file $shared/.Vanewire.txt.lock belongs to the user nobody" "$shared/app.log" ||
    e2e_fail "the box does not name the file and its owner: $(cat "$shared/app.log")"
xdotool key --window "$(xdotool search --onlyvisible --pid "$pid" | head -1)" Return 2>/dev/null || xdotool key Return
e2e_wait_for 5 sh -c "! kill -0 $pid 2>/dev/null" || e2e_fail "the box did not end the start"
wait "$pid" && e2e_fail "a start that did not run reported success"
[ ! -e "$shared/Vanewire.txt" ] || e2e_fail "the log was written beside another user's lock"
untouched_by "$WORK/other/sock"
kill "$other_pid"
rm -f "$shared/.Vanewire.txt.lock" "$WORK/other/sock"*

# 2. The flock holder: the lock file is the user's own and private, the other user cannot open it
# to hold it, and the next start runs.
run_bg "$shared"
first=$pid
started "$shared" 1 "no start in the shared folder"
[ "$(stat -c '%a %u' "$shared/.Vanewire.txt.lock")" = "600 0" ] ||
    e2e_fail "lock file: $(stat -c '%a %U' "$shared/.Vanewire.txt.lock")"
stop "$first"
as_nobody flock "$shared/.Vanewire.txt.lock" sleep 30 2>/dev/null &
sleep 0.5
run_bg "$shared"
started "$shared" 2 "the other user's flock kept the program from running"
stop "$pid"

# 3. The squatter: without XDG_RUNTIME_DIR the socket lives under the temporary folder; the other
# user takes the folder name this user's copy would use, with a socket of the right name in it.
# The copy runs, a later start reaches it and only it.
mkdir -m 1777 "$WORK/tmp"
sq="$WORK/sq"
copy_to "$sq"
hash=$(/usr/bin/python3 -c 'import hashlib, os, sys; print(hashlib.sha256(os.path.realpath(sys.argv[1]).encode()).hexdigest()[:24])' "$sq/Vanewire.txt")
as_nobody mkdir -m 777 "$WORK/tmp/wirevane-0"
other "$WORK/tmp/wirevane-0/wirevane-$hash"
run_bg "$sq" -u XDG_RUNTIME_DIR TMPDIR="$WORK/tmp"
first=$pid
started "$sq" 1 "no start beside a squatter"
sleep 0.5
env -u XDG_RUNTIME_DIR TMPDIR="$WORK/tmp" QT_QPA_PLATFORM=xcb timeout 10 "$sq/wirevane" >>"$sq/app.log" 2>&1 ||
    e2e_fail "the later start did not hand over ($?): $(cat "$sq/app.log")"
e2e_wait_for 5 visible || e2e_fail "the running copy did not show its window"
untouched_by "$WORK/tmp/wirevane-0/wirevane-$hash"
[ "$(starts "$sq")" -eq 1 ] || e2e_fail "two copies on one log"
stop "$first"
kill "$other_pid"

# 4. A start while the running copy ends on a slow disk: it is not told "ok"; it waits for the
# lock and then runs, so one copy runs afterwards.
race="$WORK/race"
copy_to "$race"
run_bg "$race" LD_PRELOAD="$SHIM" WV_SLOW_FSYNC_FLAG="$WORK/slow" WV_SLOW_FSYNC_MS=1500
first=$pid
started "$race" 1 "no start"
touch "$WORK/slow"
kill -TERM "$first"
sleep 0.3
run_bg "$race"
later=$pid
e2e_wait_for 15 sh -c "! kill -0 $first 2>/dev/null" || e2e_fail "the ending copy did not end"
wait "$first" || e2e_fail "the ending copy ended with $?"
started "$race" 2 "the later start did not take over"
kill -0 "$later" 2>/dev/null || e2e_fail "the later start ended: $(cat "$race/app.log")"
tail -2 "$race/Vanewire.txt" | head -1 | grep -q '"Stop of program"' ||
    e2e_fail "the ending copy's stop entry is not just before the new start: $(cat "$race/Vanewire.txt")"
stop "$later"
echo "PASS"
