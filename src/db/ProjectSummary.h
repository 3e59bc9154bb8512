#pragma once

#include <QString>

namespace stolvar {

class Database;

// gchz, the register's own count of its groups by project: one row per spelling of a
// project name (工程名称 as typed, "" with 无名称 = 1 for the rows without a name) with its
// number of groups (组数). Triggers on gcxx keep it as every insert, delete and rename goes,
// whoever writes the file, so that the project tree's outline reads a few hundred pages
// instead of walking the index of every group's name.

// The table, filled from the groups, and its triggers; in the caller's transaction.
bool CreateProjectSummary(Database& db, QString* error = nullptr);
// True when the file has the table and all three triggers.
bool HasProjectSummary(const Database& db);
// True when the summary gives every project (names ASCII case aside, as the column
// compares them) the number of groups, and the one or several spellings, that the groups
// themselves give. Reads the whole index of names.
bool ProjectSummaryAgrees(const Database& db);

enum class ProjectSummaryState {
    Sound,       // it agrees with the groups, or was made for a file without it
    Corrected,   // it disagreed and was made again from the groups
    Untrusted,   // it disagreed and could not be made again (a read-only file, a full disk)
    Missing,     // a read-only file without one, or one that could not be made
};
// Made once for a file opened for writing, and checked against the groups at every
// opening (on a worker: the check reads the whole index of names).
ProjectSummaryState EnsureProjectSummary(Database& db, QString* error = nullptr);

} // namespace stolvar
