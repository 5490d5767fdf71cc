// `wirevane --history`: the text report on a prepared log, against figures worked out by hand.
#include "app/Formats.h"
#include "app/HistoryReport.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ctime>

namespace {

class HistoryReport : public ::testing::Test {
protected:
    void SetUp() override {
        savedTz_ = qgetenv("TZ");
        qputenv("TZ", "UTC");
        tzset();
        wv::SetLogFormats();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        if (savedTz_.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", savedTz_);
        tzset();
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
    QByteArray savedTz_;
};

TEST_F(HistoryReport, DaysAndSummaryAsWorkedOutByHand) {
    const QDate today = QDate::currentDate();
    const QByteArray day = wv::FormatShortDate(today.addDays(-2)).toLatin1();
    const QString log =
        writeLog("0.0.0.0," + day + ",8:00:00,\"Start of program\"\r\n" + //
                 "203.0.113.5," + day + ",8:00:02,Online\r\n" +  // the start's seconds: online
                 "0.0.0.0," + day + ",10:00:00,Offline\r\n" +    // 2 h online
                 "203.0.113.5," + day + ",10:30:00,Online\r\n" + // 30 min offline
                 "0.0.0.0," + day + ",11:00:00,Suspend\r\n" +    // 30 min online
                 "0.0.0.0," + day + ",19:00:00,Resume\r\n" +     //
                 "203.0.113.5," + day + ",19:00:01,Online\r\n" + //
                 "0.0.0.0," + day + ",20:00:00,\"Stop of program\"\r\n" + // 1 h online
                 "0.0.0.0,1/1/206,20:00:00,\"Start of program\"\r\n");    // unreadable
    QString out, err;
    ASSERT_EQ(run(QStringLiteral("7"), log, out, err), 0) << err.toStdString();
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    for (int i = 0; i < 6; ++i) {
        const QDate d = today.addDays(i - 6);
        const QString figures =
            d == today.addDays(-2) ? QStringLiteral("online=12600\toffline=1800\tunmonitored=72000")
                                   : QStringLiteral("online=0\toffline=0\tunmonitored=86400");
        EXPECT_EQ(lines[i], d.toString(Qt::ISODate) + QLatin1Char('\t') + figures);
    }
    EXPECT_TRUE(lines[6].startsWith(today.toString(Qt::ISODate) +
                                    QStringLiteral("\tonline=0\toffline=0\tunmonitored=")));
    EXPECT_EQ(lines[7], QStringLiteral("availability=87.50\toutages=1\toutage_seconds=1800\t"
                                       "longest_seconds=1800\tskipped=1"));

    // "all" begins with the first readable day.
    out.clear();
    ASSERT_EQ(run(QStringLiteral("all"), log, out, err), 0);
    EXPECT_TRUE(out.startsWith(today.addDays(-2).toString(Qt::ISODate) + QLatin1Char('\t')));
    EXPECT_EQ(out.count(QLatin1Char('\n')), 4);
}

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
