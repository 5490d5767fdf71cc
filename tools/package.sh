#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Builds the Debian package from debian/ with dpkg-buildpackage and puts the .deb into OUT_DIR
# (default build/). The build runs in a copy of the working tree under OUT_DIR/package (the
# files git tracks plus new ones it does not ignore), so the source tree stays clean and no
# earlier build folder is picked up.
# Usage: tools/package.sh [OUT_DIR [WORK_DIR]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
work=${2:-$out/package}
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
src="$work/wirevane-${version%-*}"

rm -rf "$work"
mkdir -p "$src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    xargs -0 -I{} sh -c 'test -e "{}" && printf "%s\0" "{}"' |
    tar --null -T - -cf -) | tar -xf - -C "$src"

# Objects of an earlier build in the same folder come from ccache when it is there; debhelper
# sets HOME to a folder of its own, so the cache's folder is named here. No base_dir: ccache would
# then hand the compiler relative paths, which end up in the debug information and make the
# package differ from one built without ccache. CCACHE_DISABLE=1 builds from scratch.
if command -v ccache >/dev/null && [ -z "${CCACHE_DISABLE:-}" ]; then
    CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
    export CCACHE_DIR CCACHE_BASEDIR=
fi
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=2}
(cd "$src" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log" >&2
    echo "package.sh: dpkg-buildpackage failed; the whole log is $work/build.log" >&2
    exit 1
}
for deb in "$work"/*.deb; do
    cp "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
