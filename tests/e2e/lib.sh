# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Helpers for end-to-end tests of the real executable. Each test script re-executes itself in
# a private network namespace (unshare -n) with its own Xvfb display and trayer as the
# notification area, so nothing touches the host's network or display.

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# Under AddressSanitizer a library that a test puts first through LD_PRELOAD (libfaketime, the
# slow-fsync shim) is allowed ahead of the sanitizer's runtime.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"

# Re-run the calling script inside a new network namespace unless already inside one.
e2e_enter_namespace() {
    if [ -z "${WV_E2E_IN_NS:-}" ]; then
        if ! unshare -n true 2>/dev/null; then
            echo "SKIP: this machine cannot create a network namespace (unshare -n failed)"
            exit 77
        fi
        WV_E2E_IN_NS=1 exec unshare -n bash "$0" "$@"
    fi
    ip link set lo up
}

# e2e_copy_scripts DEST: copies the end-to-end scripts and their helpers to DEST, readable by
# everybody, for a part of a test that runs as another user (the checkout may be private).
# Under the sanitizers, their suppressions file goes along too.
e2e_copy_scripts() {
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    mkdir -p "$1" && cp "$here"/*.sh "$here"/*.py "$1"/ || return 1
    e2e_share_suppressions "$1"
    chmod -R a+rX "$1"
}

# e2e_share_suppressions DIR: under the sanitizers, a copy of their suppressions file in DIR
# (readable by everybody) takes the place of the checkout's, which another user may not reach.
e2e_share_suppressions() {
    local supp
    supp=$(printf ':%s' "${LSAN_OPTIONS:-}" | sed -n 's/.*:suppressions=\([^:]*\).*/\1/p')
    [ -n "$supp" ] && [ -f "$supp" ] || return 0
    cp "$supp" "$1/lsan.supp" && chmod a+r "$1/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS//$supp/$1/lsan.supp}
}

# e2e_setup EXE: copies the executable into a fresh folder ($WORK) and starts Xvfb + trayer.
e2e_setup() {
    local exe=$1
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/wirevane-e2e.XXXXXX")
    cp "$exe" "$WORK/wirevane"
    export XDG_CONFIG_DIRS="$WORK/xdg"
    export XDG_RUNTIME_DIR="$WORK/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    export HOME="$WORK/home" && mkdir -p "$HOME"
    # Xvfb picks a free display itself and writes its number, so parallel runs never collide.
    # -noreset: no server reset when the last client leaves, which would briefly drop its
    # socket and let a client find another display of the same number.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$WORK/display")"
    for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not start"
    e2e_start_wm
    trayer --edge top --align right --widthtype request --height 24 --expand true \
        --transparent false >"$WORK/trayer.log" 2>&1 &
    TRAYER_PID=$!
    sleep 0.5
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
    [ -n "${APP_PID:-}" ] && kill -KILL "$APP_PID" 2>/dev/null
    [ -n "${TRAYER_PID:-}" ] && kill "$TRAYER_PID" 2>/dev/null
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    # Whatever has not ended 5 s after being asked is killed, so the clean-up never hangs.
    local pid i
    for pid in $(jobs -p); do
        for i in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    [ -n "${WORK:-}" ] && [ -z "${WV_E2E_KEEP:-}" ] && rm -rf "$WORK"
    return 0
}

# Starts the copied program; its output goes to $WORK/app.log.
e2e_start_app() {
    QT_QPA_PLATFORM=xcb "$WORK/wirevane" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
}

# e2e_wait_for SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds.
e2e_wait_for() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    while ! "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.1
    done
}

e2e_log_has() { [ -f "$WORK/Vanewire.txt" ] && grep -q -- "$1" "$WORK/Vanewire.txt"; }
e2e_log_count() { grep -c -- "$1" "$WORK/Vanewire.txt" 2>/dev/null || true; }

# e2e_ended_by WHAT: the program ends by itself within 5 s after WHAT, with exit code 0.
e2e_ended_by() {
    e2e_wait_for 5 bash -c "! kill -0 $APP_PID 2>/dev/null" || e2e_fail "still running after $1"
    wait "$APP_PID"
    local rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || e2e_fail "exit code $rc after $1: $(cat "$WORK/app.log")"
}

# Stops the program with SIGTERM and checks it ends within a second with exit code 0.
e2e_stop_app() {
    kill -TERM "$APP_PID"
    local i
    for i in $(seq 1 10); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$APP_PID" 2>/dev/null; then
        e2e_fail "program still running 1 s after SIGTERM"
    fi
    wait "$APP_PID"
    local rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || e2e_fail "exit code $rc after SIGTERM (app.log: $(cat "$WORK/app.log"))"
}

# A veth pair: the program's side veth0 carries the addresses, its peer veth1 is the "cable".
e2e_make_veth() {
    ip link add veth0 type veth peer name veth1
    ip link set veth0 up
}

# A real window manager on the test display when WV_E2E_WM=openbox (the window tests run with
# and without one); nothing when unset. Skips (77) when openbox is not installed.
e2e_start_wm() {
    case "${WV_E2E_WM:-}" in
    "") return 0 ;;
    openbox)
        command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
        local try
        for try in 1 2 3; do
            openbox --sm-disable >"$WORK/wm.log" 2>&1 &
            WM_PID=$!
            e2e_wait_for 10 e2e_wm_running && return 0
            kill "$WM_PID" 2>/dev/null
            sleep 0.5
        done
        e2e_fail "openbox did not start: $(cat "$WORK/wm.log")"
        ;;
    *) e2e_fail "unknown window manager: $WV_E2E_WM" ;;
    esac
}
e2e_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Visible top-level windows of the program titled exactly $1, one id per line.
e2e_app_windows() { xdotool search --all --onlyvisible --pid "$APP_PID" --name "^$1\$" 2>/dev/null; }

# A second network namespace beyond the cable: the far end veth1 of e2e_make_veth moves into a
# namespace of its own, held by a sleeping process ($FAR_PID). e2e_far CMD... runs a command
# there (a server, or `ip link set veth1 down` to pull the cable). The caller kills $FAR_PID.
e2e_far_side() {
    unshare -n sleep infinity &
    FAR_PID=$!
    local ours
    ours=$(readlink /proc/self/ns/net)
    e2e_wait_for 5 sh -c "[ \"\$(readlink /proc/$FAR_PID/ns/net)\" != '$ours' ]" ||
        e2e_fail "no second network namespace"
    ip link set veth1 netns "$FAR_PID" || e2e_fail "cannot move the cable's far end"
    e2e_far ip link set lo up
}
e2e_far() { nsenter -t "$FAR_PID" -n "$@"; }

# An X session manager of the test's own (session_manager.cpp, path in WV_E2E_SESSION_MANAGER),
# for the programs started after it: SESSION_MANAGER is exported, its process is $SM_PID.
# e2e_sm COMMAND sends it checkpoint, shutdown or die; what it saw goes to $WORK/sm.out one line
# each ("registered", "save-done 1", "closed"). e2e_sm_seen LINE N: LINE is there N times or more.
e2e_start_session_manager() {
    [ -x "${WV_E2E_SESSION_MANAGER:-}" ] || e2e_fail "WV_E2E_SESSION_MANAGER names no executable"
    rm -f "$WORK/sm.in" && mkfifo "$WORK/sm.in"
    "$WV_E2E_SESSION_MANAGER" <"$WORK/sm.in" >"$WORK/sm.out" 2>&1 &
    SM_PID=$!
    exec 7>"$WORK/sm.in"
    e2e_wait_for 5 grep -q '^SESSION_MANAGER=' "$WORK/sm.out" ||
        e2e_fail "the session manager did not start: $(cat "$WORK/sm.out")"
    export SESSION_MANAGER
    SESSION_MANAGER=$(sed -n 's/^SESSION_MANAGER=//p' "$WORK/sm.out")
}
e2e_sm() { echo "$1" >&7; }
e2e_sm_seen() { [ "$(grep -cx -- "$1" "$WORK/sm.out" 2>/dev/null)" -ge "$2" ]; }
