#pragma once

#include "db/Records.h"

#include <QDate>
#include <QString>

namespace stolvar {

class Database;
class Statement;

// The values of one day from a source other than the clerk's typing.
struct DayTemperatures {
    QDate day;
    double mean = 0;
    double high = 0;
    double low = 0;
};

// The statements that write the rows of one day in skxx, shared by the store of single
// days and the batch store of collected and imported days. None opens a transaction of
// its own: they run inside the caller's.

// Day keys compare as text: every stored form of a day ("YYYY-MM-DD" alone or with a
// time) sorts at or after the bare day and before the bare next day.
QString DayKey(const QDate& day);
// " WHERE" the rows of whole days from a first to a last day; BindDayRange binds the two
// keys from parameter `first` on.
const QString& DayCondition();
Statement& BindDayRange(Statement& st, int first, const QDate& from, const QDate& to);

// Adds a row for the day, with its source when the file has the source column.
bool InsertDayRow(Database& db, const DayTemperatures& day, TemperatureSource source, bool withSource,
                  QString* error);
// Rewrites every row of the day (their source too, when the file has the column); `rows`
// tells how many there were.
bool UpdateDayRows(Database& db, const DayTemperatures& day, TemperatureSource source, bool withSource, int* rows,
                   QString* error);
// Rewrites only the rows of the day that came from a forecast (the file has the source column).
bool ReplaceForecastRows(Database& db, const DayTemperatures& day, TemperatureSource source, QString* error);

} // namespace stolvar
