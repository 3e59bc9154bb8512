#pragma once

#include <QString>

namespace stolvar {

class Database;

// The laboratory's results (table syjg: three cube strengths per group, kind and group
// number) and the strength a member needs before its forms are struck (gcxx.拆模要求).
// New files have the table from the start; the column, like the later columns before it, and
// in a file of an earlier release the table too, are added when the file is opened for
// writing. A read-only file is left as it is: it shows what it holds.

// Creates syjg and adds gcxx.拆模要求 where they are missing. True when both exist
// afterwards, or the file is read-only.
bool EnsureResultsSchema(Database& db, QString* error = nullptr);
// The table alone, without a transaction of its own, for the creation of a new file.
bool CreateResultsTable(Database& db, QString* error = nullptr);
bool HasResultsTable(const Database& db);
bool HasFormRequirementColumn(const Database& db);

} // namespace stolvar
