#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# What a screen reader sees, over AT-SPI on a private session bus: every focusable control of
# every page has a name, the History chart's days are reached by the keyboard and named, and
# Enter opens the day in the Log page. Then the program under Russian and German: the captions
# are translated while the log keeps its format byte for byte.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_bus.sh"
e2e_enter_namespace "$@"
e2e_enter_session_bus "$@"
LAUNCHER=/usr/libexec/at-spi-bus-launcher
[ -x "$LAUNCHER" ] && "$E2E_PY" -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIP: at-spi2-core or python3-pyatspi is missing"; exit 77; }
command -v localedef >/dev/null || { echo "SKIP: localedef (package locales) is missing"; exit 77; }
PROBE="$E2E_PY $(dirname "$0")/a11y_probe.py"
e2e_setup "$1"
"$LAUNCHER" --launch-immediately >"$WORK/atspi.log" 2>&1 &
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset LC_ALL LANGUAGE
# The locales of the test, made here rather than taken from the system's configuration.
export LOCPATH="$WORK/locale"
for l in ru_RU de_DE; do
    mkdir -p "$LOCPATH" && localedef -i "$l" -f UTF-8 "$LOCPATH/$l.UTF-8" 2>>"$WORK/localedef.log" ||
        e2e_fail "localedef $l: $(cat "$WORK/localedef.log")"
done
e2e_make_veth
ip addr add 203.0.113.5/24 dev veth0

# run LANG EXPECTED-CAPTIONS [CHECKS...]: a run from a fresh log with the cable going in and
# out; its log with every digit masked ends in $WORK/log.LANG.
run() {
    local lang=$1 want=$2
    shift 2
    rm -f "$WORK/Vanewire.txt"
    printf '[General]\r\nMinimizeAtStartup=0\r\n' >"$WORK/Vanewire.ini"
    LANG=$lang e2e_start_app
    e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "$lang: no start entry"
    ip link set veth1 up
    e2e_wait_for 5 e2e_log_has ",Online" || e2e_fail "$lang: no Online entry"
    local got
    got=$($PROBE captions | paste -sd' ') || e2e_fail "$lang: no captions"
    [ "$got" = "$want" ] || e2e_fail "$lang: captions '$got', not '$want'"
    local check
    for check in "$@"; do
        $PROBE "$check" || e2e_fail "$lang: $check"
    done
    ip link set veth1 down
    e2e_wait_for 5 e2e_log_has ",Offline" || e2e_fail "$lang: no Offline entry"
    e2e_stop_app
    sed 's/[0-9]/N/g' "$WORK/Vanewire.txt" >"$WORK/log.$lang"
}

run C.UTF-8 "Status Log Options History" names chart
run ru_RU.UTF-8 "Состояние Журнал Параметры История" names
run de_DE.UTF-8 "Status Protokoll Optionen Verlauf"
for lang in ru_RU.UTF-8 de_DE.UTF-8; do
    cmp "$WORK/log.C.UTF-8" "$WORK/log.$lang" ||
        e2e_fail "the log under $lang differs: $(diff "$WORK/log.C.UTF-8" "$WORK/log.$lang")"
done
[ "$(wc -l <"$WORK/log.C.UTF-8")" -eq 5 ] || e2e_fail "unexpected log: $(cat "$WORK/log.C.UTF-8")"
echo "PASS"
