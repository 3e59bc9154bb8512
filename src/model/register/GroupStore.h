#pragma once

#include "db/Records.h"
#include "model/register/GroupQueries.h"
#include "model/register/ProjectTree.h"

#include <QList>
#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

class Database;

// One project of the tree with its positions in order of casting date.
struct ProjectNode {
    QString name;          // NULL reads as ""
    QStringList positions;
};

// The whole tree in one query: projects in Chinese (pinyin) order, descending;
// positions by casting date, each row once (a repeated position is listed again).
QVector<ProjectNode> LoadProjectTree(const Database& db);
// The same tree in compact form, as the tree view shows it.
ProjectTree LoadCompactProjectTree(const Database& db);

enum class WriteResult { Done, Duplicate, NoRow, Failed };

// Adds a group after checking, in the same transaction, that its project/position is new.
WriteResult AddGroup(Database& db, const SpecimenGroup& group);
// Renames every row of the project. Onto another existing project the two merge, which is
// refused (Duplicate) when both have a position of the same name: the tree could show only
// one of the two groups.
WriteResult RenameProject(Database& db, const QString& project, const QString& newName);
// The positions both projects have, in order of casting date; none when the names are one
// project spelled otherwise.
QStringList PositionsInBoth(const Database& db, const QString& project, const QString& newName);
// True when `newName` is a project other than `project` that already has groups.
bool IsOtherExistingProject(const Database& db, const QString& project, const QString& newName);
// Moves a group to another position; refused when that position exists in the project.
WriteResult ChangePosition(Database& db, const QString& project, const QString& position, const QString& newPosition);
WriteResult ChangeGrade(Database& db, const QString& project, const QString& position, const QString& grade);
WriteResult ChangeCastingDate(Database& db, const QString& project, const QString& position, const QDateTime& date);
WriteResult ChangeCounts(Database& db, const QString& project, const QString& position, const QString& standard,
                         const QString& same, const QString& formRemoval);
WriteResult DeleteGroup(Database& db, const QString& project, const QString& position);
WriteResult DeleteProject(Database& db, const QString& project);
// Removes every row whose project or position is NULL or empty (nodes with empty text).
WriteResult DeleteRowsWithoutKey(Database& db);
int CountRowsWithoutKey(const Database& db);
// The rows DeleteProject would delete.
int CountProjectGroups(const Database& db, const QString& project);

// Sets 标养状态 or 同养状态 on the first matching row and reads it back; none when no row matched.
std::optional<QString> SetStandardState(Database& db, const QString& project, const QString& position,
                                        const QString& state);
std::optional<QString> SetSameConditionState(Database& db, const QString& project, const QString& position,
                                             const QString& state);

} // namespace stolvar
