#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# An installed copy run by an ordinary user: in a private mount namespace a tmpfs covers
# /usr/local/bin and /usr/local/share, `cmake --install` puts the program there, and user
# "nobody" with a temporary HOME runs it under its own Xvfb:
# - settings and log go to that HOME's XDG folders (made with mode 0700), nothing beside the
#   executable, and SIGTERM ends it cleanly;
# - "Load at Startup" ticked writes a valid user autostart entry, the box is ticked again after
#   a restart, unticked removes the entry; with a system entry present, unticking writes a user
#   entry with Hidden=true;
# - with no place to write, it says where and why on standard error and ends, without a box.
# Usage: installed_copy.sh BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/lib.sh"
build=$(cd "$1" && pwd)

if [ -z "${WV_INSTALL_IN_NS:-}" ]; then
    if [ "$(id -u)" -ne 0 ] || ! unshare -m -n true 2>/dev/null; then
        echo "SKIP: needs root for a private mount namespace (unshare -m)"
        exit 77
    fi
    WV_INSTALL_IN_NS=1 exec unshare -m -n --propagation private bash "$0" "$@"
fi
command -v desktop-file-validate >/dev/null || e2e_fail "desktop-file-validate is missing"

WORK=$(mktemp -d /tmp/wirevane-inst.XXXXXX)
chmod 755 "$WORK"
e2e_share_suppressions "$WORK"
cleanup() {
    [ -n "${APP_PID:-}" ] && kill -KILL "$APP_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -z "${KEEP:-}" ] && rm -rf "$WORK"
}
trap cleanup EXIT
mount -t tmpfs tmpfs /usr/local/bin || e2e_fail "cannot mount a tmpfs over /usr/local/bin"
mount -t tmpfs tmpfs /usr/local/share || e2e_fail "cannot mount a tmpfs over /usr/local/share"
cmake --install "$build" --prefix /usr/local >"$WORK/install.log" 2>&1 ||
    e2e_fail "install failed: $(cat "$WORK/install.log")"
exe=/usr/local/bin/wirevane
[ -x "$exe" ] || e2e_fail "nothing installed at $exe"

user=65534
export HOME="$WORK/home"
mkdir -p "$HOME" "$WORK/xdg/autostart"
chown "$user" "$HOME" && chmod 700 "$HOME"
export XDG_CONFIG_DIRS="$WORK/xdg"
unset XDG_CONFIG_HOME XDG_STATE_HOME XDG_DATA_HOME
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chown "$user" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
ip link set lo up

# No access control: the display lives in this namespace only, without TCP, for one user. No
# reset either: the server would otherwise reset whenever the program ends, as it is often the
# only client, and refuse the next start while it does.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -ac \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
e2e_wait_for 5 test -s "$WORK/display" || e2e_fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"
e2e_wait_for 5 xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not answer"

as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
config="$HOME/.config/wirevane"
state="$HOME/.local/state/wirevane"
log="$state/Vanewire.txt"
entry="$HOME/.config/autostart/Wirevane.desktop"

start_app() {
    local before
    before=$(starts)
    "${as_user[@]}" env QT_QPA_PLATFORM=xcb "$exe" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    e2e_wait_for 10 more_starts_than "$before" ||
        e2e_fail "no start entry in $log (app.log: $(cat "$WORK/app.log"))"
    # The termination signals are caught once start-up is through and the window exists.
    e2e_wait_for 10 xdotool search --name '^Wirevane$' >/dev/null ||
        e2e_fail "no main window (app.log: $(cat "$WORK/app.log"))"
}
starts() {
    local n
    n=$(grep -c "Start of program" "$log" 2>/dev/null)
    echo "${n:-0}"
}
more_starts_than() { [ "$(starts)" -gt "$1" ]; }
stop_app() {
    kill -TERM "$APP_PID"
    if ! e2e_wait_for 5 bash -c "! kill -0 $APP_PID 2>/dev/null"; then
        local names
        names=$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')
        e2e_fail "still running 5 s after SIGTERM; windows shown: $names"
    fi
    wait "$APP_PID"
    local rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || e2e_fail "exit code $rc (app.log: $(cat "$WORK/app.log"))"
}
# Shows the Options page and toggles "Load at Startup", its first control.
toggle_startup() {
    local wid
    e2e_wait_for 10 xdotool search --onlyvisible --name '^Wirevane$' >/dev/null ||
        e2e_fail "main window not shown"
    wid=$(xdotool search --onlyvisible --name '^Wirevane$' | head -1)
    # No window manager here: give the window the focus directly.
    xdotool windowfocus "$wid" && sleep 0.3
    xdotool key ctrl+Tab ctrl+Tab && sleep 0.3
    xdotool key Tab && sleep 0.2
    xdotool key space && sleep 0.5
}

# First start: files go to the user's XDG folders, and the window shows from then on.
start_app
stop_app
for f in "$config/Vanewire.ini" "$log"; do
    [ -f "$f" ] || e2e_fail "missing $f"
    [ "$(stat -c %u "$f")" = "$user" ] || e2e_fail "$f not owned by the user"
done
for d in "$config" "$state" "$HOME/.config" "$HOME/.local" "$HOME/.local/state"; do
    [ "$(stat -c %a "$d")" = 700 ] || e2e_fail "$d has mode $(stat -c %a "$d"), not 700"
done
grep -q '"Stop of program"' "$log" || e2e_fail "no stop entry"
[ "$(ls -A /usr/local/bin)" = wirevane ] || e2e_fail "files beside the executable: $(ls -A /usr/local/bin)"
printf '[General]\nMinimizeAtStartup=0\n' >"$config/Vanewire.ini"

# Tick: a valid entry for the installed copy.
start_app
toggle_startup
e2e_wait_for 5 test -f "$entry" || e2e_fail "no autostart entry after ticking"
desktop-file-validate "$entry" || e2e_fail "autostart entry not valid: $(cat "$entry")"
grep -qx "Exec=\"$exe\"" "$entry" || e2e_fail "entry runs something else: $(cat "$entry")"
stop_app
# Ticked after a restart: toggling it once more clears it and removes the entry.
start_app
toggle_startup
e2e_wait_for 5 test ! -e "$entry" || e2e_fail "entry still there after unticking: $(cat "$entry")"
stop_app

# A system entry starts the program unless the user's entry hides it.
printf '[Desktop Entry]\nType=Application\nName=Wirevane\nExec=%s\n' "$exe" \
    >"$XDG_CONFIG_DIRS/autostart/Wirevane.desktop"
start_app
toggle_startup
e2e_wait_for 5 grep -qx 'Hidden=true' "$entry" 2>/dev/null ||
    e2e_fail "no hiding entry after unticking over a system entry: $(cat "$entry" 2>&1)"
desktop-file-validate "$entry" || e2e_fail "hiding entry not valid: $(cat "$entry")"
stop_app
[ "$(starts)" -eq 4 ] || e2e_fail "expected 4 starts in the log: $(cat "$log")"
[ "$(ls -A /usr/local/bin)" = wirevane ] || e2e_fail "files beside the executable: $(ls -A /usr/local/bin)"

# A copy that is not installed, in a folder the user cannot write: its files go per user too.
mkdir -p "$WORK/readonly" && cp "$exe" "$WORK/readonly/wirevane"
rm -rf "$state"
"${as_user[@]}" env QT_QPA_PLATFORM=offscreen "$WORK/readonly/wirevane" >>"$WORK/app.log" 2>&1 &
APP_PID=$!
e2e_wait_for 10 grep -q "Start of program" "$log" 2>/dev/null ||
    e2e_fail "a copy in a read-only folder did not log in $state (app.log: $(cat "$WORK/app.log"))"
sleep 1
stop_app
[ "$(ls -A "$WORK/readonly")" = wirevane ] || e2e_fail "files beside the read-only copy"

# No place to write: HOME is a file. The program says where and why and ends, no box waits.
touch "$WORK/not-a-folder"
out=$("${as_user[@]}" env HOME="$WORK/not-a-folder" QT_QPA_PLATFORM=offscreen timeout 10 "$exe" 2>&1)
rc=$?
[ "$rc" -eq 1 ] || e2e_fail "exit code $rc with no place to write (output: $out)"
grep -q "$WORK/not-a-folder" <<<"$out" || e2e_fail "the message does not say where: $out"
echo PASS
