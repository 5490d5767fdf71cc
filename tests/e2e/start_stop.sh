#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# First start in an empty folder, SIGTERM, second start: the log and settings files.
set -u
. "$(dirname "$0")/lib.sh"
e2e_enter_namespace "$@"
e2e_setup "$1"

e2e_start_app
e2e_wait_for 10 e2e_log_has "Start of program" || e2e_fail "no start entry: $(cat "$WORK/app.log")"
sleep 1.5
e2e_stop_app

log=$(cat "$WORK/Vanewire.txt")
lines=$(wc -l <"$WORK/Vanewire.txt")
[ "$lines" -eq 3 ] || e2e_fail "expected 3 lines, got: $log"
head -c 26 "$WORK/Vanewire.txt" | cmp -s - <(printf 'IP,DD/MM/YY,TIME,MESSAGE\r\n') ||
    e2e_fail "header line wrong: $(head -1 "$WORK/Vanewire.txt" | od -c | head -3)"
sed -n 2p "$WORK/Vanewire.txt" | grep -qE '^0\.0\.0\.0,[0-9]{1,2}/[0-9]{1,2}/[0-9]{2},[^,]+,"Start of program"'$'\r''$' ||
    e2e_fail "start entry wrong: $(sed -n 2p "$WORK/Vanewire.txt" | od -c | head)"
sed -n 3p "$WORK/Vanewire.txt" | grep -qE '^0\.0\.0\.0,.*,"Stop of program"'$'\r''$' ||
    e2e_fail "stop entry wrong: $(sed -n 3p "$WORK/Vanewire.txt")"

ini="$WORK/Vanewire.ini"
[ -f "$ini" ] || e2e_fail "no settings file after exit"
for key in MinimizeAtStartup CheckedCount rbLocalIP rbList; do
    grep -qi "^$key=" "$ini" || e2e_fail "settings file lacks $key: $(cat "$ini")"
done
grep -qi '^\[General\]' "$ini" || e2e_fail "settings file lacks [General]"

# A second run appends after the first run's lines. "Load at Startup" is on through a system
# entry for a copy elsewhere: start-up writes the user's entry with this copy's path.
mkdir -p "$XDG_CONFIG_DIRS/autostart"
printf '[Desktop Entry]\nType=Application\nName=Wirevane\nExec="/opt/old copy/wirevane"\n' \
    >"$XDG_CONFIG_DIRS/autostart/Wirevane.desktop"
e2e_start_app
e2e_wait_for 10 bash -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -eq 2 ]" ||
    e2e_fail "second start entry missing"
user_entry="$HOME/.config/autostart/Wirevane.desktop"
e2e_wait_for 5 grep -qF "Exec=\"$WORK/wirevane\"" "$user_entry" ||
    e2e_fail "autostart entry not rewritten: $(cat "$user_entry" 2>&1)"
grep -qF 'Exec="/opt/old copy/wirevane"' "$XDG_CONFIG_DIRS/autostart/Wirevane.desktop" ||
    e2e_fail "the system entry was changed"
e2e_stop_app
[ "$(e2e_log_count 'Stop of program')" -eq 2 ] || e2e_fail "second stop entry missing"
[ "$(wc -l <"$WORK/Vanewire.txt")" -eq 5 ] || e2e_fail "expected 5 lines: $(cat "$WORK/Vanewire.txt")"
echo "PASS"
