// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/HistoryReport.h"

#include "app/Formats.h"
#include "app/History.h"
#include "platform/linux/XdgFileLocations.h"
#include "table/CommaText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace wv {

namespace {

// The positions of the date, time and message fields in the header line; -1 when missing.
struct Columns {
    int date = -1, time = -1, message = -1;
};

Columns columnsOf(std::string_view header) {
    Columns c;
    TCommaTextReader reader(header);
    std::string name;
    for (int i = 0; reader.next(name); ++i) {
        if (name == "DD/MM/YY")
            c.date = i;
        else if (name == "TIME")
            c.time = i;
        else if (name == "MESSAGE")
            c.message = i;
    }
    return c;
}

std::string_view withoutLineEnd(const QByteArray& line) {
    std::string_view s(line.constData(), std::size_t(line.size()));
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

int runHistoryReport(const QString& period, const QString& logFile, QTextStream& out,
                     QTextStream& err) {
    int days = 30;
    if (period == QLatin1String("all"))
        days = 0;
    else if (period == QLatin1String("7") || period == QLatin1String("30") ||
             period == QLatin1String("90"))
        days = period.toInt();
    else if (!period.isEmpty()) {
        err << "wirevane: --history takes 7, 30, 90 or all, not \"" << period << "\"\n";
        return 2;
    }
    QString path = logFile;
    if (path.isEmpty())
        path = XdgFileLocations(XdgFileLocations::FromProcess()).LogPathToRead();
    QFile file(path);
    // No log yet: nothing was monitored. A log that is there but cannot be read is an error.
    const bool noLog = !path.isEmpty() && !QFileInfo::exists(path);
    if (path.isEmpty() || (!noLog && !file.open(QIODevice::ReadOnly))) {
        err << "wirevane: cannot read the log "
            << (path.isEmpty() ? QStringLiteral("(no place)") : path);
        if (!path.isEmpty())
            err << ": " << file.errorString();
        err << "\n";
        return 1;
    }

    SetLogFormats();
    THistory history;
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 nowSecs = now.toSecsSinceEpoch();
    history.SetNow(nowSecs);
    const Columns columns = noLog ? Columns{} : columnsOf(withoutLineEnd(file.readLine()));
    const int last = std::max({columns.date, columns.time, columns.message});
    std::string values[3];
    while (!noLog && !file.atEnd()) {
        const QByteArray line = file.readLine();
        TCommaTextReader reader(withoutLineEnd(line));
        for (std::string& v : values)
            v.clear();
        std::string item;
        for (int i = 0; i <= last && reader.next(item); ++i) {
            if (i == columns.date)
                values[0] = item;
            else if (i == columns.time)
                values[1] = item;
            else if (i == columns.message)
                values[2] = item;
        }
        history.Add(values[0], values[1], values[2]);
    }

    const QDate today = now.date();
    QDate first = today.addDays(1 - std::max(days, 1));
    if (days == 0 && history.FirstDay().isValid() && history.FirstDay() < today)
        first = history.FirstDay();
    for (QDate d = first; d <= today; d = d.addDays(1)) {
        const DayFigures f = history.Day(d, nowSecs);
        out << d.toString(Qt::ISODate) << "\tonline=" << f.online << "\toffline=" << f.offline
            << "\tunmonitored=" << f.notMonitored << "\n";
    }
    const PeriodFigures p = history.Period(first, today, nowSecs);
    const double availability = p.Availability();
    out << "availability="
        << (availability < 0 ? QStringLiteral("-") : QString::number(availability, 'f', 2))
        << "\toutages=" << p.outages << "\toutage_seconds=" << p.totalOutage
        << "\tlongest_seconds=" << p.longestDuration << "\tskipped=" << history.Skipped() << "\n";
    out.flush();
    return 0;
}

} // namespace wv
