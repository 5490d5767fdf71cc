#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Resident memory over 2,000 status changes with the tray icon really drawn: bench_status_rss on
# a private Xvfb display with trayer as the notification area. Goal: flat (the growth left is
# the log's entries kept in memory, a few hundred bytes per change).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/e2e/lib.sh"
build=$(cd "${1:-build}" && pwd)
e2e_setup "$build/bench/app/bench_status_rss"
cd "$WORK" && QT_QPA_PLATFORM=xcb ./wirevane --benchmark_counters_tabular=true 2>/dev/null
