#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# kill -9 while entries are written to a 100,000-entry log, the cable going in and out in a
# network namespace. Half of the kills land at a random moment, half the moment a save's
# temporary file is seen. After every kill the log's earlier bytes are unchanged and no line is
# torn; after the next start no temporary file of the killed copy is left.
# 20 trials; 1000 with WV_SOAK=1.
set -u
. "$(dirname "$0")/../e2e/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"
trials=20
[ "${WV_SOAK:-}" = 1 ] && trials=1000

e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0
# Every poll of the program (once a second) finds the cable changed, so it writes an entry.
(while :; do ip link set veth1 up; sleep 0.6; ip link set veth1 down; sleep 0.6; done) &
FLAP_PID=$!
trap 'kill $FLAP_PID 2>/dev/null; e2e_cleanup' EXIT

log="$WORK/Vanewire.txt"
LC_ALL=C awk 'BEGIN {
    printf "IP,DD/MM/YY,TIME,MESSAGE\r\n"
    for (i = 0; i < 100000; i++)
        printf "%s,6/12/26,%d:%02d:%02d,%s\r\n", (i % 2 ? "0.0.0.0" : "203.0.113.5"),
            int(i / 3600) % 24, int(i / 60) % 60, i % 60, (i % 2 ? "Offline" : "Online")
}' >"$log"
entry='^[0-9.]+,[0-9]{1,2}/[0-9]{1,2}/[0-9]{2},("[^"]*"|[^,"]+),(Online|Offline|"Start of program"|"Stop of program")'$'\r''$'

temps() { compgen -G "$WORK/.Vanewire.txt.tmp${1:-}*"; }
starts() { grep -c 'Start of program' "$log"; }
passed=0
failed=0
in_save=0
killed_pid=
fail_trial() {
    echo "trial $1: $2" >&2
    failed=$((failed + 1))
}

for trial in $(seq 1 "$trials"); do
    cp "$log" "$WORK/before"
    size=$(stat -c %s "$log")
    n=$(starts)
    e2e_start_app
    pid=$APP_PID
    if ! e2e_wait_for 20 bash -c "[ \$(grep -c 'Start of program' '$log') -gt $n ]"; then
        fail_trial "$trial" "no start entry: $(tail -3 "$WORK/app.log")"
        kill -KILL "$pid"; wait "$pid" 2>/dev/null; APP_PID=
        continue
    fi
    ok=1
    # The start removed what the copy killed before left behind.
    if [ -n "$killed_pid" ] && temps "$killed_pid-" >/dev/null; then
        fail_trial "$trial" "leftovers of process $killed_pid after the next start: $(temps "$killed_pid-")"
        ok=0
    fi
    if [ $((trial % 2)) -eq 0 ]; then
        # The moment a save is under way (within 3 s).
        end=$((SECONDS + 3))
        until temps "$pid-" >/dev/null || [ $SECONDS -ge $end ]; do :; done
    else
        sleep "$((RANDOM % 2)).$((RANDOM % 10))"
    fi
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    APP_PID=
    killed_pid=$pid
    temps "$pid-" >/dev/null && in_save=$((in_save + 1))

    if ! cmp -s -n "$size" "$WORK/before" "$log" || [ "$(stat -c %s "$log")" -lt "$size" ]; then
        fail_trial "$trial" "earlier bytes of the log changed"
        ok=0
    fi
    torn=$(tail -c +$((size + 1)) "$log" | LC_ALL=C grep -cvE "$entry")
    if [ "$torn" -ne 0 ] || [ "$(tail -c 2 "$log" | od -An -c | tr -d ' ')" != '\r\n' ]; then
        fail_trial "$trial" "torn or foreign lines: $(tail -c +$((size + 1)) "$log" | LC_ALL=C grep -vE "$entry" | head -3)"
        ok=0
    fi
    [ "$ok" -eq 1 ] && passed=$((passed + 1))
done

# A last start cleans up after the last kill; a clean stop leaves no temporary file at all.
n=$(starts)
e2e_start_app
e2e_wait_for 20 bash -c "[ \$(grep -c 'Start of program' '$log') -gt $n ]" || e2e_fail "last start"
temps "$killed_pid-" >/dev/null && fail_trial last "leftovers of process $killed_pid after the last start"
e2e_stop_app
temps >/dev/null && fail_trial last "temporary files after a clean stop: $(temps)"
tail -1 "$log" | grep -q '"Stop of program"' || fail_trial last "no stop entry"

echo "kills while a save was under way: $in_save of $trials"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
