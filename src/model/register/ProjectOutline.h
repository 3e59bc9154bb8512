#pragma once

#include "model/register/ProjectTree.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace stolvar {

class Database;

// The tree as the view needs it first: every project in display order with the number of
// its positions, none of their names. It reads the register's project summary (gchz), or
// where there is none, or it was found wrong, makes one pass over the index of project
// names (no row of the table is read); it holds a few bytes per position: the positions of a
// project are read when it is shown (ReadPositionNames). The same nodes, counted the same
// way, as LoadCompactProjectTree gives.
ProjectTree LoadProjectOutline(const Database& db);

// The names of a project's positions in display order (by casting date, then id); none
// when the query failed. The project of the rows without a name has no positions.
std::optional<QStringList> ReadPositionNames(const Database& db, const ProjectTree& tree, int project);

// Where a project's first row stands in the order the tree reads the rows (casting date,
// then id; SQLite puts a NULL date first): it orders projects whose names collate alike.
struct FirstRow {
    bool nullDate = true;
    QString date;
    qint64 id = 0;

    bool operator<(const FirstRow& other) const
    {
        if (nullDate != other.nullDate)
            return nullDate;
        if (date != other.date)
            return date < other.date;
        return id < other.id;
    }
};

// The first row of a project of the tree, with the spelling of its name there; none when
// the query failed or the project has no rows.
struct FirstRowOf {
    QString name;
    FirstRow row;
};
std::optional<FirstRowOf> ReadFirstRowOf(const Database& db, const ProjectTree& tree, int project);

} // namespace stolvar
