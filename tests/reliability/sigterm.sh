#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# SIGTERM at random moments from 0 to 2 s after exec, start-up included. Every trial: exit code
# 0; when "Start of program" was written, "Stop of program" is the last entry and the settings
# file was written. 20 trials, 200 with WV_SOAK=1.
set -u
. "$(dirname "$0")/../e2e/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"

trials=20
[ -n "${WV_SOAK:-}" ] && trials=200
max_ms=${WV_SIGTERM_MAX_MS:-2000} # the latest moment, in ms after exec
passed=0
failed=0

# run_trial N DELAY_MS: one fresh program folder, one signal; prints why it failed, if it did.
run_trial() {
    local dir="$WORK/trial$1" delay_ms=$2
    mkdir -p "$dir" && cp "$WORK/wirevane" "$dir/wirevane"
    QT_QPA_PLATFORM=xcb "$dir/wirevane" >"$dir/out.log" 2>&1 &
    local pid=$!
    # The moment of exec: the process runs the program's file (builtin tests only, no fork).
    local spin=0
    while ! [[ /proc/$pid/exe -ef $dir/wirevane ]] && [ $spin -lt 100000 ]; do
        spin=$((spin + 1))
    done
    local t0=${EPOCHREALTIME/./}
    # Before the program's first instruction the dynamic loader maps its libraries (a few ms);
    # no program can catch a signal then, so the signal is held until SIGTERM is caught.
    local line caught=0
    while [ $caught -eq 0 ] && [ $spin -lt 200000 ]; do
        spin=$((spin + 1))
        while read -r line; do
            [[ $line == SigCgt:* ]] && (((0x${line##*[[:space:]]} >> 14) & 1)) && caught=1
        done </proc/$pid/status 2>/dev/null
    done
    local left_ms=$((delay_ms - (${EPOCHREALTIME/./} - t0) / 1000))
    [ "$left_ms" -gt 0 ] && sleep "$(printf '%d.%03d' $((left_ms / 1000)) $((left_ms % 1000)))"
    kill -TERM "$pid"
    local i
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        wait "$pid"
        echo "still running 5 s after SIGTERM"
        return
    fi
    wait "$pid"
    local rc=$?
    [ "$rc" -eq 0 ] || { echo "exit code $rc ($(tr '\n' ' ' <"$dir/out.log"))"; return; }
    if grep -q "Start of program" "$dir/Vanewire.txt" 2>/dev/null; then
        tail -n1 "$dir/Vanewire.txt" | grep -q '"Stop of program"' ||
            { echo "last entry is not the stop: $(tail -n1 "$dir/Vanewire.txt")"; return; }
        [ "$(grep -c 'Stop of program' "$dir/Vanewire.txt")" -eq 1 ] ||
            { echo "stop entries: $(grep -c 'Stop of program' "$dir/Vanewire.txt")"; return; }
        grep -qi '^rbList=' "$dir/Vanewire.ini" 2>/dev/null ||
            { echo "settings not written"; return; }
    elif [ -e "$dir/Vanewire.ini" ]; then
        echo "settings written without a start entry"
        return
    fi
    rm -rf "$dir"
}

for n in $(seq 1 "$trials"); do
    delay=$((RANDOM % (max_ms + 1)))
    why=$(run_trial "$n" "$delay")
    if [ -z "$why" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "trial $n (SIGTERM after $delay ms): $why" >&2
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
