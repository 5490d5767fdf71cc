#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Runs every benchmark: the Google Benchmark executables built under <build>/bench and the
# scripted measurements in bench/*.sh. Results go to the terminal and to <build>/bench-results.
set -uo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
out="$build/bench-results"
mkdir -p "$out"
status=0
while IFS= read -r exe; do
    name=$(basename "$exe")
    echo "== $name"
    QT_QPA_PLATFORM=offscreen "$exe" --benchmark_counters_tabular=true | tee "$out/$name.txt" || status=1
done < <(find "$build/bench" -type f -executable -name 'bench_*' | sort)
for script in "$root"/bench/*.sh; do
    [ -e "$script" ] || continue
    echo "== $(basename "$script")"
    bash "$script" "$build" | tee "$out/$(basename "$script" .sh).txt" || status=1
done
exit $status
