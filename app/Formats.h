// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "table/Errors.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include <string_view>

namespace wv {

// The process-wide format settings. Dates are written and read with the short date format, whose
// letters are d (day), dd (day, two digits), m (month), mm (month, two digits), y or yy (year, two
// digits), yyyy (year, four digits); the character '/' in it stands for the date separator, and
// any other character is copied as it stands. The long time format is the user's: the strftime
// pattern of the locale's LC_TIME time format, taken when the settings are first used.
struct FormatSettings {
    QString ShortDateFormat = QStringLiteral("d/m/y");
    QChar DateSeparator = QLatin1Char('/');
    QChar DecimalSeparator = QLatin1Char('.');
    QByteArray LongTimeFormat; // strftime pattern, e.g. "%H:%M:%S" or "%I:%M:%S %p"
};

// The one instance for the whole process. The first call loads the user's LC_TIME settings
// (setlocale(LC_TIME, "") and nl_langinfo(T_FMT)).
FormatSettings& Formats();

// Puts back the short date format "d/m/y", the date separator '/' and the decimal separator '.';
// the long time format stays the user's.
void SetLogFormats();

// The date in the short date format: 6/12/26, 5/1/09.
QString FormatShortDate(const QDate& date);

// The time of day in the long time format: 21:05:07 on a 24-hour clock, 09:05:07 PM on a
// 12-hour one, as the user's locale writes it.
QString FormatLongTime(const QTime& time);
// The same with a given strftime pattern instead of the user's.
QString FormatLongTime(const QTime& time, const QByteArray& strftimePattern);

// Reads a date written in the short date format: day, month and year as numbers in the order of
// the format, separated by the date separator, blanks allowed around the numbers. A year below
// 100 is the latest year not after today's that ends in those digits (99 read in 2000 is 1999);
// a text with only day and month is in the year of `today`.
// Any other text, the empty text too, raises EConvertError "'<text>' is not a valid date".
QDate StrToDate(const QString& text, const QDate& today);
// The same reading of a date's bytes without an error: false when the text is no valid date.
bool TryStrToDate(std::string_view text, const QDate& today, QDate& out);

// A date on screen, never in the log: short, as the user's locale writes it; under the C locale
// (no language chosen) in the short date format.
QString ScreenDate(const QDate& date);

} // namespace wv
