#pragma once

#include <QDateTime>
#include <QString>

namespace stolvar {

// Text, number and date conversions shared by every window, statement and reminder,
// so that a date typed in one box, stored, shown and mailed always has one form.

// Full-width forms (digits, letters, punctuation, the ideographic space) and the
// minus sign U+2212 are folded to ASCII before numbers and dates are read.
QString FoldFullWidth(const QString& text);

// The leading decimal number of the text (sign, digits, point, exponent); 0 when none.
double ParseNumberText(const QString& text);
// Truncation toward zero, saturating at the int range.
int TruncateToInt(double value);

// A wall-clock date-time (see Clock.h).
QDateTime WallTime(const QDate& date, const QTime& time = QTime(0, 0));
// 100-01-01 00:00:00: what a text that is no date reads as.
QDateTime EmptyDate();
bool IsEmptyDate(const QDateTime& value);

// Reads 2008年10月01日, 2008-10-1, 2008/10/01, 2008.10.1, 20081001, with an optional
// time; a text that is no real date between the years 100 and 9999 gives EmptyDate().
QDateTime ParseDateText(const QString& text);
// Like ParseDateText but tells whether the text was a date at all.
bool TryParseDateText(const QString& text, QDateTime* result);

QString FormatSqlDate(const QDateTime& value);   // 2008-10-1
QString FormatLongDate(const QDateTime& value);  // 2008年10月1日[10时30分[5秒]]
QString FormatShortDay(const QDateTime& value);  // 10月1日
QString FormatLongDay(const QDate& day);         // 2008年10月1日, empty for no day
QString FormatNumber(double value);              // %.13g
QString FormatNumber(float value);               // %.6g

// Date arithmetic: days are real numbers, whole days are truncated toward zero.
QDateTime AddDays(const QDateTime& value, int days);
double DaysBetween(const QDateTime& from, const QDateTime& to);   // to - from
int WholeDaysBetween(const QDateTime& from, const QDateTime& to);
QDateTime ClampToValidRange(const QDateTime& value);

// Storage form of a date-time in the database: "YYYY-MM-DD HH:MM:SS", which sorts as text.
QString ToStorageText(const QDateTime& value);
// Reads the storage form (or a bare "YYYY-MM-DD"); anything else gives an invalid QDateTime.
QDateTime FromStorageText(const QString& text);

} // namespace stolvar
