#pragma once

#include <QString>
#include <QStringList>

namespace stolvar {

class Database;

// Creates the two tables of a new project database, in one transaction.
bool CreateSchema(Database& db, QString* error = nullptr);
// Adds every column an older file lacks, one ALTER TABLE per column, in one
// transaction. Columns that exist are left alone, so a second run changes nothing.
// Returns false (and changes nothing) when a statement fails.
bool UpgradeSchema(Database& db, QStringList* added = nullptr, QString* error = nullptr);
// The reminder log txjl, made with every new file; older files get it at their first due
// scan (see ReminderLog.h).
bool CreateReminderLogTable(Database& db, QString* error = nullptr);
// The indexes the queries need (groups by casting date and by project/position, records
// by day); created when missing, so that files of older releases get them at first open.
bool EnsureIndexes(Database& db, QString* error = nullptr);
QStringList TableColumns(const Database& db, const QString& table);
// Whether a table, or a column of it (in any case), exists: asked on every click, so without
// preparing a statement of its own; a change made through another connection is seen.
bool HasTable(const Database& db, const QString& table);
bool HasColumn(const Database& db, const QString& table, const QString& column);

// skxx.来源, the source of each day's temperatures, is added to a file opened for writing
// (one ALTER TABLE); a read-only file is left as it is and reads every day as typed.
// True when the column exists afterwards or the file is read-only.
bool EnsureSourceColumn(Database& db, QString* error = nullptr);
bool HasSourceColumn(const Database& db);

} // namespace stolvar
