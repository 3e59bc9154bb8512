#pragma once

#include "model/maturity/DueDays.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace stolvar {

class Database;

// One laboratory result: the three cube strengths of one group (组号) of one kind of a
// register row, with the report that gave them. Stored in syjg, keyed by the row's id, so
// renaming and moving a group keep its results and deleting it deletes them.
struct TestResult {
    DueKind kind = DueKind::Standard;   // 类别 "标养", "同养", "拆模"
    int number = 1;                     // 组号, 1 … the group count of that kind
    QString report;                     // 报告编号
    QDateTime testDate;                 // 试验日期; invalid when none
    int edgeMm = 150;                   // 试件尺寸
    std::array<double, 3> strengths{};  // 强度1–强度3, MPa
    bool operator==(const TestResult&) const = default;
};

std::optional<DueKind> DueKindFromText(const QString& text);   // "标养" → Standard, …

// A group's results by kind and number; none from a file without syjg (a read-only file
// of an earlier release). A row lacking a strength is no result.
QVector<TestResult> LoadGroupResults(const Database& db, qint64 groupId, QString* error = nullptr);
// Every result of the register by group id, in one read.
QHash<qint64, QVector<TestResult>> LoadAllResults(const Database& db, QString* error = nullptr);

// gcxx.拆模要求 of a group: 50, 75 or 100 (% of the design strength); none when not given.
std::optional<int> LoadFormRequirement(const Database& db, qint64 groupId);
QHash<qint64, int> LoadAllFormRequirements(const Database& db, QString* error = nullptr);

// Replaces the group's results and its form requirement in one transaction: every write is
// checked, and on a failure nothing is stored. Returns "" or why it failed.
QString SaveGroupResults(Database& db, qint64 groupId, const QVector<TestResult>& results,
                         std::optional<int> formRequirement);
// The same steps inside the caller's transaction (a register written in one go).
QString ReplaceGroupResults(Database& db, qint64 groupId, const QVector<TestResult>& results,
                            std::optional<int> formRequirement);

} // namespace stolvar
