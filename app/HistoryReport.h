// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// `wirevane --history [7|30|90|all] [--log FILE]`: the History page's figures as text, read
// from the log without starting the window, taking the lock or touching any file.
#include <QString>
#include <QTextStream>

#include <optional>

namespace wv {

// One line per day of the period, oldest first:
//   YYYY-MM-DD<TAB>online=S<TAB>offline=S<TAB>unmonitored=S
// then one summary line:
//   availability=P<TAB>outages=N<TAB>outage_seconds=S<TAB>longest_seconds=S<TAB>skipped=N
// with P in percent with two decimals, or "-" when nothing was monitored. `period` is "7",
// "30", "90" or "all" (empty: 30); an empty `logFile` stands for the log the program would use.
// A log that does not exist yet reads as nothing monitored. Returns the exit code: 0, 1 when
// the log is there but cannot be read, 2 for a period it does not know.
int runHistoryReport(const QString& period, const QString& logFile, QTextStream& out,
                     QTextStream& err);

} // namespace wv
