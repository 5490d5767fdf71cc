#!/usr/bin/env bash
# The install rules and the Debian package: stage `cmake --install` into a DESTDIR and
# validate the desktop entry and the AppStream metadata; build the .deb with CPack and check
# its file list, its Depends and Recommends, and lintian.
# Usage: package.sh BUILD_DIR
set -u
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/debian-packages.txt)"
done
work=$(mktemp -d /tmp/wirevane-pkg.XXXXXX)
trap 'rm -rf "$work"' EXIT
id=io.github.wirevane.Wirevane

# Staged install under /usr.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
expected="usr/bin/wirevane
usr/share/applications/$id.desktop
usr/share/metainfo/$id.metainfo.xml
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/doc/wirevane/copyright
usr/share/doc/wirevane/changelog.gz
usr/share/man/man1/wirevane.1.gz"
for s in 16 32 48 64 128 256; do
    expected+=$'\n'"usr/share/icons/hicolor/${s}x${s}/apps/$id.png"
done
while read -r f; do
    [ -f "$work/stage/$f" ] || fail "not installed: $f"
done <<<"$expected"
for s in 16 32 48 64 128 256; do
    file "$work/stage/usr/share/icons/hicolor/${s}x${s}/apps/$id.png" | grep -q "$s x $s" ||
        fail "icon of ${s}px has the wrong size"
done
desktop-file-validate --no-hints "$work/stage/usr/share/applications/$id.desktop" ||
    fail "desktop entry not valid"
grep -qx 'Categories=Network;Utility;' "$work/stage/usr/share/applications/$id.desktop" ||
    fail "desktop entry lacks its categories"
appstreamcli validate --no-net "$work/stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo not valid"
grep -q '<release version="1.1"' "$work/stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo lacks release 1.1"

# The package.
(cd "$work" && cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake") \
    >"$work/cpack.log" 2>&1 || fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(ls "$work"/deb/wirevane_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb made: $(cat "$work/cpack.log")"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | grep -v '/$' | sort >"$work/list"
diff <(sort <<<"$expected") "$work/list" || fail "the package's files differ (< wanted, > packed)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland" ] || fail "Recommends is not qt6-wayland"
[ "$(dpkg-deb -f "$deb" Package)" = "wirevane" ] || fail "package name"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad=1} END {exit bad}' ||
    fail "files not owned by root"
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"
fi
echo PASS
