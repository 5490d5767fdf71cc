#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The install rules and the Debian package.
#   package.sh BUILD_DIR          (ctest, fast): a staged `cmake --install` whose menu entry and
#       AppStream metadata validate cleanly; debian/ agrees with the program (version, holder,
#       options in the manual page); every source file carries its SPDX licence line.
#   package.sh --full BUILD_DIR   (`make check-package`, minutes): the .deb built by
#       dpkg-buildpackage, lintian --pedantic, hardening-check, its files, Depends and
#       Recommends, the bindir compiled in, and a second build in another folder at another
#       time that must give the same bytes.
set -u
full=0
[ "${1:-}" = --full ] && { full=1; shift; }
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { for t; do command -v "$t" >/dev/null || fail "$t is missing (tools/debian-packages.txt)"; done; }
need desktop-file-validate appstreamcli dpkg-parsechangelog
work=$(mktemp -d /tmp/wirevane-pkg.XXXXXX)
trap 'rm -rf "$work"' EXIT
id=io.github.wirevane.Wirevane
expected="usr/bin/wirevane
usr/share/applications/$id.desktop
usr/share/metainfo/$id.metainfo.xml
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/man/man1/wirevane.1"
for s in 16 32 48 64 128 256; do
    expected+=$'\n'"usr/share/icons/hicolor/${s}x${s}/apps/$id.png"
done

# Staged install under /usr.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
while read -r f; do
    [ -f "$work/stage/$f" ] || fail "not installed: $f"
done <<<"$expected"
for s in 16 32 48 64 128 256; do
    file "$work/stage/usr/share/icons/hicolor/${s}x${s}/apps/$id.png" | grep -q "$s x $s" ||
        fail "icon of ${s}px has the wrong size"
done
desktop=$work/stage/usr/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1)
[ -z "$out" ] || fail "desktop entry: $out"
for want in 'Categories=Network;Monitor;' 'Actions=show;quit;' 'Exec=wirevane --show' \
    'Exec=wirevane --quit' 'Name=Show window' 'Name=Quit'; do
    grep -qxF "$want" "$desktop" || fail "desktop entry lacks $want"
done
meta=$work/stage/usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --pedantic --no-net "$meta" >"$work/as.log" 2>&1
grep -E '^[EW]:' "$work/as.log" && fail "metainfo: $(cat "$work/as.log")"

# debian/ and the program tell the same story.
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
exe=$work/stage/usr/bin/wirevane
[ "$("$exe" --version)" = "Wirevane ${version%-*}" ] ||
    fail "--version says $("$exe" --version), the changelog ${version%-*}"
grep -q "<release version=\"${version%-*}\"" "$meta" || fail "metainfo lacks release ${version%-*}"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$meta" || fail "no project_license"
grep -q 'four pages' "$meta" || fail "metainfo does not name the four pages"
holder='The Wirevane developers'
grep -qx "Copyright: 2026 $holder" "$root/debian/copyright" || fail "copyright holder"
grep -qx 'License: GPL-3+' "$root/debian/copyright" || fail "copyright licence"
grep -q "Version 3, 29 June 2007" "$root/LICENSE" || fail "LICENSE is not the GPL 3 text"
grep -q "© 2026 $holder" "$root/resources/uniabout.ui" || fail "About window names another holder"
for opt in $("$exe" --help | grep -oE -- '--[a-z]+' | sort -u); do
    grep -qF -- "\\-\\-${opt#--}" "$root/resources/desktop/wirevane.1" ||
        fail "manual page lacks $opt"
done

# Every source file names its licence (told at the end, so the package is still checked).
spdx() {
    local missing
    missing=$("$root/tools/spdx-headers.sh" --check) ||
        fail "no SPDX line in $(wc -l <<<"$missing") files (run tools/spdx-headers.sh), e.g. $(head -3 <<<"$missing" | tr '\n' ' ')"
}
[ "$full" = 1 ] || { spdx; echo PASS; exit 0; }

# The package, built twice.
need dpkg-buildpackage dh lintian hardening-check dpkg-deb
"$root/tools/package.sh" "$work/a" "$work/a/package" >/dev/null || fail "package build failed"
deb=$(ls "$work"/a/wirevane_*.deb | grep -v dbgsym)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | grep -v -e '/$' -e '^$' | sort >"$work/list"
docs="usr/share/doc/wirevane/changelog.Debian.gz
usr/share/doc/wirevane/copyright
usr/share/man/man1/wirevane.1.gz"
diff <( (grep -v 'wirevane.1$' <<<"$expected"; echo "$docs") | sort) "$work/list" ||
    fail "the package's files differ (< wanted, > packed)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6dbus6 libstdc++6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland" ] || fail "Recommends is not qt6-wayland"
dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin/wirevane
hardening-check --nocfprotection "$bin" || fail "hardening-check"
strings -el "$bin" | grep -qx /usr/bin || fail "the binary does not know /usr/bin as its bindir"
! strings -a "$bin" | grep -q "$work" || fail "the build folder is in the binary"
lintian --pedantic --fail-on error,warning,pedantic "$deb" || fail "lintian"

# Another folder, at least a second later, everything compiled again: the same bytes.
sleep 1
CCACHE_DISABLE=1 "$root/tools/package.sh" "$work/second-build" "$work/second-build/package" \
    >/dev/null || fail "second package build failed"
for d in "$work"/a/*.deb; do
    cmp "$d" "$work/second-build/$(basename "$d")" || fail "$(basename "$d") differs between builds"
done
spdx
echo PASS
