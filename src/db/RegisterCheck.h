#pragma once

#include <QString>

#include <memory>

namespace stolvar {

class Database;

// Opening a register the way the program does, with what can be wrong with the file named.
struct RegisterOpening {
    enum class Problem {
        None,         // open and sound
        Missing,      // no file of that name (a first start)
        Unopenable,   // a file that cannot be opened (no permission, a disk error)
        NotDatabase,  // no database of this key (a text file, another program's file)
        Damaged,      // not a file, empty, truncated, failing its check or without the
                      // register's tables
    };
    std::shared_ptr<Database> db;   // open when the file could be opened, damaged or not
    Problem problem = Problem::None;
    QString reason;                 // what is wrong, for the clerk; "" when nothing is
};

// Looks at the file, opens it and, with `check`, runs CheckRegister on it. A file found
// damaged by the check stays open (marked damaged: it reads, nothing writes to it).
RegisterOpening OpenRegister(const QString& path, bool check = true);

// PRAGMA quick_check (every page read, every b-tree walked, without the index-to-table
// comparison of the full check) and the two tables of a register; "" when sound, else
// what is wrong. Marks `db` damaged when it is.
QString CheckRegister(const Database& db);

// True when a failure of this kind is the file's own fault, so that restoring a backup helps.
bool IsDamage(RegisterOpening::Problem problem);

// The check of a register just opened, made on a worker while the window fills from it and
// its writes wait (Database::holdWritesUntilChecked): CheckRegister on a connection of its
// own, and for a sound file that can be written, what the program writes needs (the
// indexes, the source column of the days, the project summary); the project summary is
// checked against the groups; then writes go ahead. A damaged file is marked
// so (its damage handler hears of it).
struct OpenedRegisterCheck {
    QString damage;              // "" when sound
    QString sourceColumnError;   // why the source column could not be added; "" when it was
    QString resultsSchemaError;  // why the results table or column could not be added
    bool projectCountsCorrected = false;   // the project summary was wrong: count the tree again
};
OpenedRegisterCheck CheckOpenedRegister(Database& db);

} // namespace stolvar
