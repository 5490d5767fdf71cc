#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Starts Wirevane. On a desktop it simply runs there. Without a display it starts a private
# virtual display with a notification area (Xvfb + trayer) and runs the program in it.
# Ctrl+C ends the program the way a log-off does (settings saved, "Stop of program" logged).
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
folder=$(dirname "$exe")

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe"
fi

for n in $(seq 77 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
export DISPLAY=":$n"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/wirevane-runtime.XXXXXX)
    export XDG_RUNTIME_DIR
fi
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
trayer --edge top --align right --widthtype request --height 24 --transparent false \
    >/dev/null 2>&1 &
trayer=$!
sleep 0.5

QT_QPA_PLATFORM=xcb "$exe" &
app=$!
cleanup() {
    kill "$trayer" "$xvfb" 2>/dev/null
    wait 2>/dev/null
}
stop() {
    echo
    echo "Stopping Wirevane (as at log-off)..."
    kill -TERM "$app" 2>/dev/null
}
trap stop INT TERM

cat <<MSG
Wirevane is running on the private display $DISPLAY (Xvfb, trayer as notification area).
  Screenshot:      DISPLAY=$DISPLAY import -window root /tmp/wirevane.png
  Open the window: DISPLAY=$DISPLAY xdotool mousemove 1012 12 click --repeat 2 --delay 80 1
                   (a double click on the tray icon at the top right; a right click there
                   opens its menu)
  Log:             $folder/Vanewire.txt
  Settings:        $folder/Vanewire.ini
Press Ctrl+C to end it.
MSG
rc=0
while kill -0 "$app" 2>/dev/null; do
    wait "$app"
    rc=$?
done
cleanup
exit $rc
