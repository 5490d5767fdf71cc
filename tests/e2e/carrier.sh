#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A cable going in and out: the program follows the carrier of a veth pair within a second or
# so, writing one "Online" entry with the address and one "Offline" entry.
set -u
. "$(dirname "$0")/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "no start entry"
sleep 1.5
e2e_log_has ",Online" && e2e_fail "online while the cable is out: $(cat "$WORK/Vanewire.txt")"

ip link set veth1 up
e2e_wait_for 3 e2e_log_has "^203\.0\.113\.5,.*,Online" ||
    e2e_fail "no Online entry within 3 s: $(cat "$WORK/Vanewire.txt")"
sleep 1.5
[ "$(e2e_log_count ',Online')" -eq 1 ] || e2e_fail "more than one Online entry"

ip link set veth1 down
e2e_wait_for 3 e2e_log_has "^0\.0\.0\.0,.*,Offline" ||
    e2e_fail "no Offline entry within 3 s: $(cat "$WORK/Vanewire.txt")"
sleep 1.5
[ "$(e2e_log_count ',Offline')" -eq 1 ] || e2e_fail "more than one Offline entry"

e2e_stop_app
tail -1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' || e2e_fail "no stop entry"
echo "PASS"
