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
    qint64 readings = 0;
    qint64 skipped = 0;
    QVector<LoggerPreviewRow> rows;
};

// Plans each day of the file against the records already stored.
QVector<LoggerPreviewRow> PlanLoggerRows(const QVector<LoggerDay>& days, const QMap<QDate, DaySource>& existing);

// Reads and plans a file; for a worker thread (no widgets; the database is serialised).
LoggerPreview PrepareLoggerImport(Database& db, const QString& path);

// Stores the chosen days as logger records in one transaction, re-checking each day
// there: a typed record is never changed. Returns "" or why nothing was stored.
QString StoreLoggerDays(Database& db, const QVector<LoggerDay>& days, int* written);

// The preview's summary line and the report after storing.
QString LoggerSummaryText(const LoggerPreview& preview);
QString ImportedText(int days);

} // namespace stolvar
