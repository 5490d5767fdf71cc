# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Helpers for end-to-end tests on a private D-Bus session bus (StatusNotifierItem panels).

# The system's Python, where Debian's python3-dbus and python3-gi live.
E2E_PY=/usr/bin/python3
[ -x "$E2E_PY" ] || E2E_PY=python3

# Re-run the calling script inside its own session bus unless already inside one. Skips when
# the bus or the Python D-Bus bindings that play the panel are missing.
e2e_enter_session_bus() {
    [ -n "${WV_E2E_IN_BUS:-}" ] && return 0
    if ! command -v dbus-run-session >/dev/null 2>&1 ||
        ! "$E2E_PY" -c 'import dbus, dbus.mainloop.glib, gi.repository.GLib' 2>/dev/null; then
        echo "SKIP: dbus-run-session or python3-dbus/python3-gi is missing"
        exit 77
    fi
    WV_E2E_IN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
}

# e2e_exit_by_menu: the item's ($ITEM) menu's Exit, clicked over D-Bus, ends the program
# ($APP_PID) with code 0 and "Stop of program" as its last entry.
e2e_exit_by_menu() {
    $HOST click "$ITEM" Exit || e2e_fail "the menu's Exit could not be clicked"
    e2e_ended_by "the menu's Exit"
    tail -1 "$WORK/Vanewire.txt" | grep -q '"Stop of program"' || e2e_fail "no stop entry"
}

# e2e_start_system_bus: a private bus of the test's own in place of the system bus
# (DBUS_SYSTEM_BUS_ADDRESS), so that a stand-in for a system service can own its name there.
e2e_start_system_bus() {
    dbus-daemon --config-file=/usr/share/dbus-1/session.conf --nofork --print-address=3 \
        3>"$WORK/system_bus" >"$WORK/system_bus.log" 2>&1 &
    SYSTEM_BUS_PID=$!
    e2e_wait_for 5 test -s "$WORK/system_bus" || e2e_fail "the private system bus did not start"
    export DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$WORK/system_bus")
}

# e2e_bus_has NAME: the private system bus has an owner for NAME.
e2e_bus_has() {
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}

# e2e_sni_panel: a StatusNotifierItem panel of the test's own ($HOST watcher) instead of
# trayer; e2e_sni_item then waits for the next item to register and sets $ITEM, and
# e2e_tip_is TEXT checks its tooltip. The caller kills $WATCHER_PID and $KEEPER_PID.
e2e_sni_panel() {
    # A client stays connected, so Xvfb does not reset each time the program ends.
    xprop -root -spy >/dev/null 2>&1 &
    KEEPER_PID=$!
    kill "$TRAYER_PID" && wait "$TRAYER_PID" 2>/dev/null
    TRAYER_PID=
    : >"$WORK/items"
    $HOST watcher "$WORK/items" >>"$WORK/watcher.log" 2>&1 &
    WATCHER_PID=$!
    e2e_wait_for 10 $HOST items >/dev/null 2>&1 || e2e_fail "the watcher did not start"
}
e2e_sni_item() {
    local before
    before=$(wc -l <"$WORK/items")
    e2e_wait_for 10 sh -c "[ \$(wc -l <'$WORK/items') -gt $before ]" ||
        e2e_fail "no item registered: $(cat "$WORK/app.log")"
    ITEM=$(tail -n1 "$WORK/items")
}
e2e_tip_is() { [ "$($HOST prop "$ITEM" ToolTip 2>/dev/null)" = "$1" ]; }
