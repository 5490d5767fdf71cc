#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The internet check against an HTTP server of the test's own (probe_server.py) in a second
# network namespace beyond the cable, never anything else. With another way chosen the server
# sees no request. With the internet check (every 5 s here) the tip and the log follow the
# server's answers within their bounds; a redirect reads "Sign-in required" and the tray menu's
# "Open sign-in page" hands the page to the browser (a stub xdg-open first in PATH); the cable
# pulled while a probe hangs is "Offline" at once.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_bus.sh"
e2e_enter_namespace "$@"
e2e_enter_session_bus "$@"
HOST="$E2E_PY $(dirname "$0")/sni_host.py"
# The probe goes straight to the server: no proxy from the caller's environment.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
e2e_setup "$1"
e2e_sni_panel
e2e_make_veth
ip addr add 198.51.100.2/24 dev veth0
e2e_far_side
e2e_far ip addr add 198.51.100.1/24 dev veth1
e2e_far ip link set veth1 up
SRV="$WORK/srv"
mkdir -p "$SRV" "$WORK/bin"
echo ok >"$SRV/mode"
nsenter -t "$FAR_PID" -n "$E2E_PY" "$(dirname "$0")/probe_server.py" 198.51.100.1 8080 "$SRV" &
SERVER_PID=$!
trap 'kill "$SERVER_PID" "$FAR_PID" "$WATCHER_PID" "$KEEPER_PID" 2>/dev/null; e2e_cleanup' EXIT
e2e_wait_for 5 test -e "$SRV/ready" || e2e_fail "the server did not start"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$WORK/opened" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

requests() { cat "$SRV/requests" 2>/dev/null | wc -l; }
settings() {
    printf '[General]\nrbList=%s\nrbLocalIP=0\nrbInternet=%s\n' "$1" "$2" >"$WORK/Vanewire.ini"
    printf 'ProbeURL=http://198.51.100.1:8080/nm\nProbeExpect=\nProbeInterval=5\n' \
        >>"$WORK/Vanewire.ini"
}
last_entry_is() { tail -1 "$WORK/Vanewire.txt" | tr -d '\r' | grep -q ",$1\$"; }

# "IP's List": online by the address alone, and not one request.
settings 1 0
e2e_start_app
e2e_sni_item
e2e_wait_for 5 e2e_tip_is 198.51.100.2 || e2e_fail "not online by the list"
sleep 7
[ "$(requests)" -eq 0 ] || e2e_fail "$(requests) requests with another way chosen"
e2e_stop_app

# The internet check. Each row: what the server answers from now on | the tip within so many
# seconds | the log's last entry then. 17 s is the bound for a silent server at a 5 s
# interval (5 to the next probe, 5 timeout, 2 to the confirmation, 5 timeout), plus slack.
settings 0 1
e2e_start_app
e2e_sni_item
while IFS='|' read -r -u 3 answer tip within entry; do
    echo "$answer" >"$SRV/mode"
    e2e_wait_for "$within" e2e_tip_is "$tip" ||
        e2e_fail "server $answer: tip '$($HOST prop "$ITEM" ToolTip)', not '$tip' in $within s"
    last_entry_is "$entry" || e2e_fail "server $answer: log ends $(tail -1 "$WORK/Vanewire.txt")"
    if [ "$answer" = redirect ]; then
        $HOST menu "$ITEM" | grep -qx "Open sign-in page" || e2e_fail "no menu item to sign in"
        $HOST click "$ITEM" "Open sign-in page" || e2e_fail "the item could not be clicked"
        e2e_wait_for 5 grep -qx "http://198.51.100.1:8080/login" "$WORK/opened" ||
            e2e_fail "the browser was not given the page: $(cat "$WORK/opened" 2>/dev/null)"
    else
        $HOST menu "$ITEM" | grep -q "sign-in" && e2e_fail "sign-in item shown while $answer"
    fi
done 3<<'EOF'
ok|198.51.100.2|6|Online
silent|Offline|21|Offline
ok|198.51.100.2|10|Online
redirect|Sign-in required|7|Offline
ok|198.51.100.2|10|Online
EOF
# Three Online entries in this run, one in the first.
[ "$(e2e_log_count ',Online')" -eq 4 ] && [ "$(e2e_log_count ',Offline')" -eq 2 ] ||
    e2e_fail "not one entry per change: $(cat "$WORK/Vanewire.txt")"

# The cable out while a probe hangs: offline at once, the poll is not held up by the probe.
echo silent >"$SRV/mode"
n=$(requests)
e2e_wait_for 7 sh -c "[ \$(cat '$SRV/requests' | wc -l) -gt $n ]" || e2e_fail "no probe came"
e2e_far ip link set veth1 down
e2e_wait_for 2 e2e_tip_is Offline || e2e_fail "not offline within 2 s of the cable going out"
last_entry_is Offline || e2e_fail "no Offline entry: $(tail -1 "$WORK/Vanewire.txt")"
e2e_stop_app
grep -q '^rbInternet=1' "$WORK/Vanewire.ini" || e2e_fail "the way was not saved"
echo "PASS"
