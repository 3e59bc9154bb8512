#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

namespace stolvar {

// How the three numbers of a date are ordered. Loggers set up in China write the year
// first; those set up for the US write the month first, European ones the day first.
enum class DateOrder { YearMonthDay, MonthDayYear, DayMonthYear };
QString DateOrderText(DateOrder order);   // "年-月-日", "月/日/年", "日/月/年"

// A date or a time of day as a logger wrote it, before the file's date order is known.
// Dates: 2026-12-01, 2026/12/1, 2026.12.01, 2026年12月1日 (the year first: their order is
// fixed), 12/01/2026, 01.12.2026 (the year last: month or day first, the file decides).
// Times: 8:00, 08:00:00, 08:00:00.123 and, after a date with the year last or alone, 12-hour
// times (01:00:00 PM, 下午 1:00:00). A two-digit year (12/01/26) is read only with a 12-hour
// time, the shape of the US loggers' export; it means 20yy.
struct LoggerStamp {
    bool hasDate = false;
    bool yearFirst = false;        // the order is fixed: year, month, day
    bool twoDigitYear = false;
    int first = 0, second = 0, third = 0;
    bool hasTime = false;
    int secondOfDay = 0;

    int hour() const { return secondOfDay / 3600; }
};

// Empty when the text is no date, time or both.
std::optional<LoggerStamp> ParseLoggerStamp(QStringView text);

// The calendar day of a stamp's date in the given order (ignored for a year-first date);
// invalid when the numbers make no day in that order.
QDate StampDate(const LoggerStamp& stamp, DateOrder order);

// A timestamp (date and time in one text) read in one date order: what a file whose order
// is known reads as its day and hour.
bool ReadLoggerTimestamp(QStringView text, QDate* day, int* hour, DateOrder order = DateOrder::MonthDayYear);

} // namespace stolvar
