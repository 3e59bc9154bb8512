#pragma once

#include "model/logger/LoggerFile.h"
#include "model/temperatures/DaySources.h"

#include <QString>
#include <QVector>

namespace stolvar {

class Database;

// One day of a logger file as the preview lists it.
struct LoggerPreviewRow {
    LoggerDay day;
    DayPlan plan = DayPlan::Add;
    bool selectable = false;   // the day may be stored (no typed or measured record in the way)
    bool ticked = false;       // proposed: a complete new day or a forecast to replace
};

struct LoggerPreview {
    QString path;
    QString error;             // the file could not be read: nothing to preview
    bool cancelled = false;    // the clerk stopped the reading
    LoggerFile file;           // what was read (its days in every order it may have)
    QMap<QDate, DaySource> existing;   // the stored days over every day the file may mean
    QDate today;
    QVector<LoggerPreviewRow> rows;    // the days in file.order (to be confirmed when it needs a choice)
};

// A logger day before 2000 or after next year is a clock that was never set, not a site record.
bool IsPlausibleLoggerDay(const QDate& day, const QDate& today);

// Plans each day of the file against the records already stored.
QVector<LoggerPreviewRow> PlanLoggerRows(const QVector<LoggerDay>& days, const QMap<QDate, DaySource>& existing,
                                         const QDate& today);
// The rows for the file's days read in the order the clerk chose.
QVector<LoggerPreviewRow> PlanLoggerRowsInOrder(const LoggerPreview& preview, DateOrder order);

// Reads and plans a file; for a worker thread (no widgets; the database is serialised).
// `progress` sees the bytes read and may stop the reading.
LoggerPreview PrepareLoggerImport(Database& db, const QString& path, const QDate& today,
                                  const LoggerProgress& progress = {});

// Stores the chosen days as logger records in one transaction, re-checking each day
// there: a typed record is never changed. Returns "" or why nothing was stored.
QString StoreLoggerDays(Database& db, const QVector<LoggerDay>& days, int* written);

// The preview's summary line, what it says of one day beyond its plan, and the report
// after storing.
QString LoggerSummaryText(const LoggerPreview& preview);
QString LoggerDayNote(const LoggerPreviewRow& row);   // 缺0–5时、18–23时 / 按2、8、14、20时观测平均
QString ImportedText(int days);

} // namespace stolvar
