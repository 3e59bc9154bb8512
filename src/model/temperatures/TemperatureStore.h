#pragma once

#include "db/Records.h"
#include "model/temperatures/DayRows.h"
#include "model/temperatures/PlausibleTemperature.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

class Database;

// The outcome of one edit of the daily temperatures. `message` is what the clerk should
// read (empty when there is nothing to say); `rows` counts the rows written or removed.
struct StoreResult {
    bool ok = true;
    QString message;
    int rows = 0;
};

// The validated temperature-record edits. Each one reads the typed texts, refuses what
// is no date or no number, or a temperature outside −60 … +60 ℃, with a message and
// writes nothing, and reports a failed write.
// A day is stored at midnight; rows are matched on the calendar day, so "2008-10-1" and
// "2008年10月01日" name the same record.
StoreResult AddTemperatureRecord(Database& db, const QString& dateText, const QString& highText,
                                 const QString& lowText);
// Rewrites mean, maximum and minimum of every row of that day; a day without a row
// changes nothing and reports nothing.
StoreResult ChangeTemperatureRecord(Database& db, const QString& dateText, const QString& highText,
                                    const QString& lowText);
// Removes every row of that day; a day without a row removes nothing and says nothing.
StoreResult DeleteTemperatureRecord(Database& db, const QString& dateText);

// Each write records the day's source in skxx.来源 when the file has that column (see
// EnsureSourceColumn); typed additions and changes write "手工". A file without the column
// is written as before and reads every day as "手工".

// The rows stored for a calendar day (whatever time of day they carry); -1 when the
// query fails.
int TemperatureRowsOn(Database& db, const QDate& day);

// Check-then-insert of one day in one transaction, for the weather collector (which
// stores its days as "预报").
enum class InsertOutcome { Inserted, AlreadyThere, Failed };
InsertOutcome InsertDayIfMissing(Database& db, QDate day, double mean, double high, double low,
                                 TemperatureSource source = TemperatureSource::Manual);

// What to do with a day that already has rows: keep them, or overwrite them when every
// one of them came from a forecast (a measured or logged day supersedes a forecast one;
// typed, measured and logged days are never overwritten).
enum class ExistingDay { Keep, ReplaceForecast };
enum class StoreOutcome { Inserted, Replaced, Kept, Failed };
// One day in one transaction: inserted when missing, else handled as `existing` says.
StoreOutcome StoreTemperatureDay(Database& db, const DayTemperatures& reading, TemperatureSource source,
                                 ExistingDay existing);

// The day of the last row in table order (highest id); invalid when there is none.
QDateTime LastTemperatureDay(Database& db);

// The records whose day lies from `from` to `to`, both whole days included, ascending by
// day, each with its source. On a failed query the result is empty and `error` (when
// given) says why.
QVector<TemperatureRecord> LoadTemperatureWindow(const Database& db, const QDateTime& from, const QDateTime& to,
                                                 QString* error = nullptr);

// The mean stored for a day: half of maximum plus minimum, in double precision.
double DailyMean(double high, double low);

// A typed temperature: the whole trimmed text must be one finite number.
bool ReadTemperatureText(const QString& text, double* value);

// True when both texts read as temperatures and the maximum is below the minimum: the
// clerk is asked before such a day is stored (the two boxes may have been swapped).
bool MaximumBelowMinimum(const QString& highText, const QString& lowText);

} // namespace stolvar
