#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Puts the licence and copyright lines at the top of every source file git knows, once:
#   // SPDX-License-Identifier: GPL-3.0-or-later        (C++: *.cpp, *.h)
#   // SPDX-FileCopyrightText: 2026 The Wirevane developers
# and the same after "#" in CMake, shell and Python files (after a "#!" line, which must stay
# first). Files that already carry the licence line are left as they are, so running it again
# changes nothing.
# Usage: tools/spdx-headers.sh [--check]   (--check: list files without the line, exit 1 if any)
set -euo pipefail
cd "$(dirname "$0")/.."
license='SPDX-License-Identifier: GPL-3.0-or-later'
holder='SPDX-FileCopyrightText: 2026 The Wirevane developers'
check=${1:-}

comment_of() {
    case $1 in
    *.cpp | *.h) echo '//' ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | Makefile | debian/rules) echo '#' ;;
    esac
}

missing=0
while IFS= read -r -d '' f; do
    c=$(comment_of "$f")
    [ -n "$c" ] && [ -f "$f" ] || continue
    head -n 3 "$f" | grep -qxF "$c $license" && continue
    if [ "$check" = --check ]; then
        echo "$f"
        missing=1
        continue
    fi
    tmp=$(mktemp)
    {
        first=$(head -n 1 "$f")
        if [[ $first == '#!'* ]]; then
            echo "$first"
            printf '%s %s\n%s %s\n' "$c" "$license" "$c" "$holder"
            tail -n +2 "$f"
        else
            printf '%s %s\n%s %s\n' "$c" "$license" "$c" "$holder"
            cat "$f"
        fi
    } >"$tmp"
    chmod --reference="$f" "$tmp"
    mv "$tmp" "$f"
done < <(git ls-files -z)
exit $missing
