// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "app/Formats.h"

#include <QLocale>

#include <clocale>
#include <ctime>
#include <langinfo.h>
#include <string_view>

namespace wv {

namespace {

FormatSettings initialSettings() {
    FormatSettings s;
    // The locale's time format is only meaningful once LC_TIME follows the environment.
    std::setlocale(LC_TIME, "");
    const char* pattern = ::nl_langinfo(T_FMT);
    s.LongTimeFormat = (pattern && *pattern) ? QByteArray(pattern) : QByteArray("%H:%M:%S");
    return s;
}

QString padded(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// The order in which day, month and year appear in the short date format, as 'd', 'm', 'y'.
QByteArray fieldOrder(const QString& format) {
    QByteArray order;
    for (QChar c : format) {
        const char f = static_cast<char>(c.toLower().toLatin1());
        if ((f == 'd' || f == 'm' || f == 'y') && !order.contains(f))
            order += f;
    }
    return order.size() == 3 ? order : QByteArray("dmy");
}

[[noreturn]] void invalidDate(const QString& text) {
    throw EConvertError(("'" + text + "' is not a valid date").toUtf8().toStdString());
}

// Reads the parts of a date text. Works on bytes: every character the date format uses is
// ASCII, and a byte of a multi-byte character never passes for a digit, blank or separator.
class DateScanner {
public:
    explicit DateScanner(std::string_view text) : s_(text) {}

    void skipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ')
            ++pos_;
    }
    bool number(int& out) {
        skipBlanks();
        int digits = 0;
        int value = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
            if (++digits > 4)
                return false;
            value = value * 10 + (s_[pos_] - '0');
            ++pos_;
        }
        out = value;
        return digits > 0;
    }
    bool separator(char sep) {
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == sep) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool atEnd() {
        skipBlanks();
        return pos_ == s_.size();
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

// The latest year not after today's that ends in the two digits: 99 read in 2000 is 1999.
int twoDigitYear(int digits, const QDate& today) {
    const int year = today.year() / 100 * 100 + digits;
    return year > today.year() ? year - 100 : year;
}

} // namespace

FormatSettings& Formats() {
    static FormatSettings settings = initialSettings();
    return settings;
}

void SetLogFormats() {
    FormatSettings& f = Formats();
    f.ShortDateFormat = QStringLiteral("d/m/y");
    f.DateSeparator = QLatin1Char('/');
    f.DecimalSeparator = QLatin1Char('.');
}

QString FormatShortDate(const QDate& date) {
    const FormatSettings& f = Formats();
    const QString& fmt = f.ShortDateFormat;
    QString out;
    for (qsizetype i = 0; i < fmt.size();) {
        const QChar c = fmt[i];
        const QChar lower = c.toLower();
        if (lower == QLatin1Char('d') || lower == QLatin1Char('m') || lower == QLatin1Char('y')) {
            qsizetype run = 1;
            while (i + run < fmt.size() && fmt[i + run].toLower() == lower)
                ++run;
            i += run;
            if (lower == QLatin1Char('d'))
                out += run >= 2 ? padded(date.day(), 2) : QString::number(date.day());
            else if (lower == QLatin1Char('m'))
                out += run >= 2 ? padded(date.month(), 2) : QString::number(date.month());
            else
                out += run <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
            continue;
        }
        out += c == QLatin1Char('/') ? f.DateSeparator : c;
        ++i;
    }
    return out;
}

QString FormatLongTime(const QTime& time) {
    return FormatLongTime(time, Formats().LongTimeFormat);
}

QString FormatLongTime(const QTime& time, const QByteArray& strftimePattern) {
    if (strftimePattern.isEmpty())
        return QString();
    std::tm tm{};
    tm.tm_year = 100; // 1 January 2000: any valid day, only the time of day is shown
    tm.tm_mon = 0;
    tm.tm_mday = 1;
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    tm.tm_isdst = -1;
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, strftimePattern.constData(), &tm);
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(n));
}

bool TryStrToDate(std::string_view text, const QDate& today, QDate& out) {
    const FormatSettings& f = Formats();
    // A separator outside ASCII cannot be matched byte by byte; no writer of the log uses one.
    if (f.DateSeparator.unicode() > 0x7f)
        return false;
    const char sep = static_cast<char>(f.DateSeparator.unicode());
    DateScanner scan(text);
    int n[3] = {0, 0, 0};
    if (!scan.number(n[0]) || !scan.separator(sep) || !scan.number(n[1]))
        return false;
    int count = 2;
    if (scan.separator(sep)) {
        if (!scan.number(n[2]))
            return false;
        count = 3;
    }
    if (!scan.atEnd())
        return false;

    QByteArray order = fieldOrder(f.ShortDateFormat);
    int day = 0;
    int month = 0;
    int year = today.year();
    if (count == 2)
        order.remove(order.indexOf('y'), 1);
    for (int i = 0; i < count; ++i) {
        if (order[i] == 'd')
            day = n[i];
        else if (order[i] == 'm')
            month = n[i];
        else
            year = n[i] < 100 ? twoDigitYear(n[i], today) : n[i];
    }
    out = QDate(year, month, day);
    return out.isValid();
}

QDate StrToDate(const QString& text, const QDate& today) {
    QDate date;
    if (!TryStrToDate(text.toUtf8().toStdString(), today, date))
        invalidDate(text);
    return date;
}

QString ScreenDate(const QDate& date) {
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return FormatShortDate(date);
    return locale.toString(date, QLocale::ShortFormat);
}

} // namespace wv
