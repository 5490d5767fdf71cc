// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// `wirevane --history`: a log with nothing in it, a log not there yet, bad arguments. The
// figures of a prepared log are checked end to end (tests/e2e/sleep_clock.sh).
#include "app/Formats.h"
#include "app/HistoryReport.h"
#include "support/ScopedTimeZone.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ctime>

namespace {

class HistoryReport : public ::testing::Test {
protected:
    wv::test::ScopedTimeZone tz_{"UTC"};
    void SetUp() override {
        wv::SetLogFormats();
        ASSERT_TRUE(dir_.isValid());
    }
    QString writeLog(const QByteArray& entries) {
        const QString path = dir_.filePath(QStringLiteral("Vanewire.txt"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("IP,DD/MM/YY,TIME,MESSAGE\r\n" + entries);
        return path;
    }
    int run(const QString& period, const QString& log, QString& out, QString& err) {
        QTextStream o(&out), e(&err);
        return wv::runHistoryReport(period, log, o, e);
    }
    QTemporaryDir dir_;
};

TEST_F(HistoryReport, NothingMonitoredAndBadArguments) {
    QString out, err;
    ASSERT_EQ(run(QString(), writeLog(""), out, err), 0);
    EXPECT_EQ(out.count(QLatin1Char('\n')), 31); // 30 days by default, and the summary
    EXPECT_TRUE(out.endsWith(QStringLiteral(
        "availability=-\toutages=0\toutage_seconds=0\tlongest_seconds=0\tskipped=0\n")));

    out.clear();
    EXPECT_EQ(run(QStringLiteral("8"), writeLog(""), out, err), 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains(QStringLiteral("7, 30, 90 or all")));
    // No log yet: nothing monitored, and no file made.
    out.clear();
    EXPECT_EQ(run(QStringLiteral("7"), dir_.filePath(QStringLiteral("none.txt")), out, err), 0);
    EXPECT_TRUE(out.endsWith(QStringLiteral("availability=-\toutages=0\toutage_seconds=0\t"
                                            "longest_seconds=0\tskipped=0\n")));
    EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("none.txt"))));
    // A log that cannot be read (a folder of that name).
    err.clear();
    EXPECT_EQ(run(QStringLiteral("7"), dir_.path(), out, err), 1);
    EXPECT_FALSE(err.isEmpty());
}

} // namespace
