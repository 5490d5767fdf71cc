# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Window checks for end-to-end tests (sourced after lib.sh): stacking order and focus, the same
# whether a window manager runs (its client list) or not (the X server's own stacking).

# xdotool, never waiting long on a window that went away.
xdo() { timeout 5 xdotool "$@"; }

# Ids as decimal numbers, so xprop's and xwininfo's hex and xdotool's decimal compare.
e2e_dec() { printf '%d\n' "$1"; }

# Top-level windows, bottom first.
e2e_stacking() {
    if e2e_wm_running; then
        xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' '\n' |
            while read -r id; do [ -n "$id" ] && e2e_dec "$id"; done
    else
        # xwininfo lists the root's children top first.
        xwininfo -root -children | awk '/^ +0x/ { print $1 }' | tac |
            while read -r id; do e2e_dec "$id"; done
    fi
}

# e2e_above A B: window A is stacked above window B.
e2e_above() {
    local a b pos=0 pa=-1 pb=-1 id
    a=$(e2e_dec "$1")
    b=$(e2e_dec "$2")
    while read -r id; do
        [ "$id" = "$a" ] && pa=$pos
        [ "$id" = "$b" ] && pb=$pos
        pos=$((pos + 1))
    done < <(e2e_stacking)
    [ "$pa" -ge 0 ] && [ "$pb" -ge 0 ] && [ "$pa" -gt "$pb" ]
}

# e2e_has_focus W: window W has the keyboard focus.
e2e_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(e2e_dec "$1")" ]; }

# e2e_in_front TITLE MAIN: a window of the program titled TITLE shows, above MAIN, with the
# focus. Sets WIN to its id.
e2e_in_front() {
    WIN=$(e2e_app_windows "$1" | grep -vx "$(e2e_dec "$2")" | tail -1)
    [ -n "$WIN" ] && e2e_above "$WIN" "$2" && e2e_has_focus "$WIN"
}

# The window's state for a failure message.
e2e_describe() {
    echo "stacking (bottom first): $(e2e_stacking | tr '\n' ' ') focus: $(xdotool getwindowfocus)"
}

# e2e_gone TITLE: no window of the program titled TITLE shows.
e2e_gone() { ! e2e_app_windows "$1" >/dev/null; }
