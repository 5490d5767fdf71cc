#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Renders the desktop icon (resources/desktop/icons/io.github.wirevane.Wirevane.svg) into the
# PNG sizes the icon theme wants, with rsvg-convert (Debian: librsvg2-bin). Run from the
# repository root; the PNGs are committed, so building needs no renderer.
set -eu
dir=resources/desktop/icons
for s in 16 32 48 64 128 256; do
    rsvg-convert -w "$s" -h "$s" "$dir/io.github.wirevane.Wirevane.svg" \
        -o "$dir/io.github.wirevane.Wirevane-$s.png"
done
