#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Natively under Wayland: a headless sway with swaybar as the StatusNotifierItem panel, run as
# an unprivileged user (sway refuses root) on a private session bus. The program registers its
# item with swaybar, Activate shows the window, a ContextMenu request (what swaybar sends on a
# right click) never leaves the user without the window, and the menu's Exit ends it cleanly;
# then once more with the panel starting 3 s after the program.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/lib_bus.sh"
HERE=$(cd "$(dirname "$0")" && pwd)

if [ -z "${WV_E2E_AS_USER:-}" ]; then
    for tool in sway swaybar swaymsg setpriv; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing"; exit 77; }
    done
    [ -d /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms ] &&
        ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 &&
        { echo "SKIP: qt6-wayland is missing"; exit 77; }
    e2e_enter_namespace "$@"
    # Everything below runs as nobody, in a folder of its own.
    WORK=$(mktemp -d /tmp/wirevane-e2e.XXXXXX)
    cp "$1" "$WORK/wirevane"
    mkdir -p "$WORK/home" "$WORK/runtime"
    chmod 700 "$WORK/runtime"
    chmod 755 "$WORK"
    # The scripts go along: the checkout may sit in a folder nobody cannot read (/root).
    e2e_copy_scripts "$WORK/e2e"
    chown -R nobody:nogroup "$WORK"
    WV_E2E_AS_USER=1 setpriv --reuid=nobody --regid=nogroup --clear-groups \
        bash "$WORK/e2e/$(basename "$0")" "$WORK/wirevane" "$WORK"
    rc=$?
    [ $rc -ne 0 ] && [ -n "${WV_E2E_KEEP:-}" ] && echo "kept $WORK"
    [ -z "${WV_E2E_KEEP:-}" ] && rm -rf "$WORK"
    exit $rc
fi

e2e_enter_session_bus "$@"
WORK=$2
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/home/.config"
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
HOST="$E2E_PY $HERE/sni_host.py"
# The panel: swaybar, held back while $WORK/bar-hold exists (a panel that starts late).
cat >"$WORK/bar.sh" <<'EOF'
#!/bin/sh
while [ -e "${0%/*}/bar-hold" ]; do sleep 0.1; done
exec swaybar "$@"
EOF
chmod +x "$WORK/bar.sh"
cat >"$WORK/sway.conf" <<EOF
output HEADLESS-1 resolution 1024x768
bar {
    swaybar_command $WORK/bar.sh
    position top
    status_command while :; do sleep 60; done
    tray_output *
}
EOF

SWAY_PID= APP_PID=
cleanup() {
    [ -n "$APP_PID" ] && kill -KILL "$APP_PID" 2>/dev/null
    [ -n "$SWAY_PID" ] && kill "$SWAY_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "--- app.log" >&2
    cat "$WORK/app.log" >&2
    exit 1
}
e2e_fail() { fail "$@"; } # the shared helpers' failures show the program's output too

sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
SWAY_PID=$!
socket() { ls "$XDG_RUNTIME_DIR"/wayland-? >/dev/null 2>&1 && ls "$XDG_RUNTIME_DIR"/sway-ipc.* >/dev/null 2>&1; }
e2e_wait_for 10 socket || fail "sway did not start: $(tail -5 "$WORK/sway.log")"
WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-? | head -n1)")
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* | head -n1)
export WAYLAND_DISPLAY SWAYSOCK
# swaybar runs the watcher and registers as its host.
e2e_wait_for 10 $HOST items >/dev/null 2>&1 || fail "swaybar's watcher did not come"

# The main window as sway shows it, told by its least size (345 wide and more, the window may
# grow) from a menu the program opened, which is a window of that name too: prints "visible"
# while it is on screen.
window_state() {
    swaymsg -t get_tree | "$E2E_PY" -c '
import json, sys
def walk(n):
    if n.get("name") == "Wirevane" and n.get("pid") and n["rect"]["width"] >= 330 \
            and n["rect"]["height"] >= 250:
        print("visible" if n.get("visible") else "hidden")
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
visible() { window_state 2>/dev/null | grep visible >/dev/null; }
hidden() { [ -n "$(window_state 2>/dev/null)" ] && ! visible; }
gone() { [ -z "$(window_state 2>/dev/null)" ]; }
item() { ITEM=$($HOST items | grep . | head -n1) && [ -n "$ITEM" ]; }

# Not a first start: its notice would show in the item's tooltip.
printf '[General]\nMinimizeAtStartup=1\n' >"$WORK/Vanewire.ini"
QT_QPA_PLATFORM=wayland "$WORK/wirevane" >"$WORK/app.log" 2>&1 &
APP_PID=$!
log_has() { grep -q -- "$1" "$WORK/Vanewire.txt" 2>/dev/null; }
e2e_wait_for 10 log_has "Start of program" || fail "no start entry"
e2e_wait_for 10 item || fail "no item registered with swaybar"
grep -q "Registering Status Notifier Item" "$WORK/sway.log" 2>/dev/null ||
    swaymsg -t get_bar_config bar-0 >/dev/null || fail "swaybar is not running"
sleep 0.5
visible && fail "a minimized start shows the window"

$HOST call "$ITEM" Activate
e2e_wait_for 5 visible || fail "Activate did not show the window"

# Hidden by the compositor without the program being told (as a compositor's own minimize
# does): Activate still brings it back.
swaymsg "[pid=$APP_PID] move scratchpad" >/dev/null
e2e_wait_for 5 hidden ||
    fail "the window did not leave the screen"
$HOST call "$ITEM" Activate
e2e_wait_for 5 visible || fail "Activate did not bring back a window the compositor hid"

# The close box hides the window in the tray; a ContextMenu request then brings the window
# back, so the menu bar's commands are at hand whatever the compositor makes of the menu.
swaymsg "[pid=$APP_PID] kill" >/dev/null
e2e_wait_for 5 gone ||
    fail "the close box did not hide the window"
kill -0 "$APP_PID" || fail "the close box ended the program"
$HOST call "$ITEM" ContextMenu
e2e_wait_for 5 visible || fail "ContextMenu left the window hidden"
kill -0 "$APP_PID" || fail "the program ended on ContextMenu"

[ "$($HOST menu "$ITEM" | tr '\n' ' ')" = "Options About Exit " ] ||
    fail "menu is not Options, About, Exit: $($HOST menu "$ITEM")"
e2e_exit_by_menu

# The panel starts 3 s after the program (a log-in race): the item still comes, and works.
touch "$WORK/bar-hold"
pkill -u "$(id -u)" -x swaybar
e2e_wait_for 10 sh -c "! $HOST items >/dev/null 2>&1" || fail "swaybar's watcher did not go"
swaymsg reload >/dev/null
QT_QPA_PLATFORM=wayland "$WORK/wirevane" >>"$WORK/app.log" 2>&1 &
APP_PID=$!
e2e_wait_for 10 sh -c "[ \$(grep -c 'Start of program' '$WORK/Vanewire.txt') -eq 2 ]" ||
    fail "no start entry without a panel"
sleep 3
rm "$WORK/bar-hold"
e2e_wait_for 10 item || fail "no item registered with a panel that started late"
$HOST call "$ITEM" Activate
e2e_wait_for 5 visible || fail "Activate did not show the window after a late panel"
e2e_exit_by_menu
echo "PASS"
