#pragma once

#include "db/Records.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

class Database;
class Statement;

// Every reader of specimen groups. Each runs a statement of its own (which holds the
// connection lock), so it may run on a worker. A failed read gives no rows at all, never a
// part of them, and its error when `error` is given ("" after a successful read).

// "SELECT <GroupColumns()> FROM gcxx " + tail, for the readers below and the scans.
QString SelectGroupsSql(const QString& tail);
// Reads the rows of such a query.
QVector<SpecimenGroup> ReadGroups(Statement& st, QString* error = nullptr);

// Every group: in id order (the reminder scans' order), or as the clerk browses the register
// (by project, position, casting date).
enum class GroupOrder { ById, ByProject };
QVector<SpecimenGroup> LoadAllGroups(const Database& db, GroupOrder order, QString* error = nullptr);

// Groups of a project, or of one position of it, in order of casting date.
QVector<SpecimenGroup> LoadGroups(const Database& db, const QString& project,
                                  const std::optional<QString>& position = std::nullopt, QString* error = nullptr);
// The group a position node shows: the last of the position's groups in order of casting
// date, or none.
std::optional<SpecimenGroup> LoadLastGroup(const Database& db, const QString& project, const QString& position,
                                           QString* error = nullptr);
// Groups of a project whose position contains `keyword` literally (% and _ are no wildcards).
QVector<SpecimenGroup> LoadGroupsMatching(const Database& db, const QString& project, const QString& keyword,
                                          QString* error = nullptr);
// Groups of every project whose project name, position or grade contains `keyword`
// literally, by project, position and casting date.
QVector<SpecimenGroup> LoadGroupsMatchingAnywhere(const Database& db, const QString& keyword, QString* error = nullptr);
// Groups cast from `from` up to, not including, `to`, in id order.
QVector<SpecimenGroup> LoadGroupsCastBetween(const Database& db, const QDateTime& from, const QDateTime& to);
// Groups whose casting date falls on the calendar day of `day` (a date may carry a time).
QVector<SpecimenGroup> LoadGroupsCastOn(const Database& db, const QDateTime& day);
// The groups that can come due from `first` to `last` (both included): cast on or before
// `last` and no longer ago than the longest due window allows, in id order.
QVector<SpecimenGroup> LoadCandidateGroups(const Database& db, const QDate& first, const QDate& last);
// The `count` groups with the highest id, newest first.
QVector<SpecimenGroup> LoadNewestGroups(const Database& db, int count);

} // namespace stolvar
