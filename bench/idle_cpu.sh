#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# CPU used by the running program while it sits idle and polls once a second, over 60 s
# (WV_IDLE_SECONDS to change), read from /proc. Goal: under 0.1 % of one core.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/e2e/lib.sh"
e2e_enter_namespace "$@"
build=$(cd "${1:-build}" && pwd)
secs=${WV_IDLE_SECONDS:-60}
e2e_setup "$build/wirevane"
e2e_make_veth
ip addr add 192.0.2.7/24 dev veth0
ip link set veth1 up
e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "program did not start"
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$APP_PID/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks)
s1=$(date +%s.%N)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$APP_PID/status")
e2e_stop_app
awk -v t0="$t0" -v t1="$t1" -v s0="$s0" -v s1="$s1" -v hz="$hz" -v rss="$rss" 'BEGIN {
    cpu = (t1 - t0) / hz; wall = s1 - s0
    printf "idle_cpu: %.3f s CPU over %.1f s = %.4f %% of one core (goal < 0.1 %%); RSS %d KiB\n",
        cpu, wall, 100 * cpu / wall, rss
}'
