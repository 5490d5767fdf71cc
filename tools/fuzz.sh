#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Fuzzing of the text table store (libFuzzer + AddressSanitizer, clang only).
#   tools/fuzz.sh build <dir>            configure and build the fuzzers into <dir>
#   tools/fuzz.sh smoke <dir>            build, then run each fuzzer briefly (FUZZ_SECONDS, 15)
#   tools/fuzz.sh run <dir> [seconds]    build, then run each fuzzer longer (default 300)
# Corpora grow in <dir>/corpus/<fuzzer>, seeded from tests/table/fuzz/seeds.
set -euo pipefail
mode=${1:-build}
dir=${2:-build-fuzz}
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/tests/table/fuzz"
fuzzers=(fuzz_comma_text fuzz_open_table)

cxx=${FUZZ_CXX:-$(command -v clang++ || command -v clang++-14 || true)}
if [[ -z "$cxx" ]]; then
    echo "fuzz.sh: clang++ not found (Debian packages clang and libclang-rt-14-dev)" >&2
    exit 1
fi

build() {
    cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$dir" -j2
}

run_all() {
    local seconds=$1 status=0
    for fuzzer in "${fuzzers[@]}"; do
        local seeds corpus="$dir/corpus/$fuzzer"
        case $fuzzer in
            fuzz_comma_text) seeds="$src/seeds/comma" ;;
            fuzz_open_table) seeds="$src/seeds/open" ;;
        esac
        mkdir -p "$corpus" "$dir/artifacts"
        echo "== $fuzzer (${seconds}s)"
        if ! "$dir/$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
            -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$fuzzer-" \
            "$corpus" "$seeds" 2>"$dir/$fuzzer.log"; then
            status=1
            tail -n 60 "$dir/$fuzzer.log" >&2
        else
            grep -E 'stat::number_of_executed_units|Done' "$dir/$fuzzer.log" || true
        fi
    done
    return $status
}

case $mode in
    build) build ;;
    smoke) build && run_all "${FUZZ_SECONDS:-15}" ;;
    run) build && run_all "${3:-300}" ;;
    *) echo "usage: $0 build|smoke|run <dir> [seconds]" >&2; exit 2 ;;
esac
