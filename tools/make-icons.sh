#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Draws the program's pictures with ImageMagick and writes them as palette PNGs of at most
# 16 colours: MAINICON (online: a green globe), OFFLINE (offline: a grey globe crossed in red),
# each 32x32 and 16x16, and ABOUT (the About window's 32x32 program picture).
# Run from the repository root; the results are committed, so building needs no ImageMagick.
set -eu
out=resources/icons
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# globe <file> <sea> <land> <outline>: a 128x128 master picture.
globe() {
    convert -size 128x128 xc:none \
        -fill "$2" -stroke "$4" -strokewidth 8 -draw "circle 64,64 64,6" \
        -fill none -stroke "$3" -strokewidth 7 \
        -draw "ellipse 64,64 26,57 0,360" \
        -draw "line 64,8 64,120" \
        -draw "line 10,64 118,64" \
        -draw "line 20,36 108,36" \
        -draw "line 20,92 108,92" \
        "$1"
}

# palette <master> <size> <target>: scale down and quantise to 16 colours.
palette() {
    convert "$1" -filter Lanczos -resize "$2x$2" -channel A -threshold 50% +channel \
        -colors 16 -define png:color-type=3 -define png:bit-depth=4 "PNG8:$3"
}

globe "$tmp/online.png" '#1e9e3a' '#b6f2a8' '#0b4d1a'
globe "$tmp/offline-globe.png" '#9a9a9a' '#dcdcdc' '#4a4a4a'
convert "$tmp/offline-globe.png" -stroke '#d01010' -strokewidth 18 \
    -draw "line 22,22 106,106" -draw "line 106,22 22,106" "$tmp/offline.png"
# The About picture: the online globe with a small vane on top.
convert "$tmp/online.png" -fill '#1040c0' -stroke '#0a2060' -strokewidth 4 \
    -draw "polygon 64,2 100,18 64,34" -draw "line 64,2 64,40" "$tmp/about.png"

for s in 32 16; do
    palette "$tmp/online.png" "$s" "$out/MAINICON-$s.png"
    palette "$tmp/offline.png" "$s" "$out/OFFLINE-$s.png"
done
palette "$tmp/about.png" 32 "$out/ABOUT-32.png"

# FINDIP: the search button's small magnifier, 16x16.
convert -size 128x128 xc:none \
    -fill '#dfefff' -stroke '#203060' -strokewidth 14 -draw "circle 52,52 52,14" \
    -stroke '#604020' -strokewidth 22 -draw "line 82,82 118,118" \
    "$tmp/find.png"
palette "$tmp/find.png" 16 "$out/FINDIP-16.png"
