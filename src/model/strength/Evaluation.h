#pragma once

#include "db/Records.h"
#include "model/maturity/MaturityRule.h"
#include "model/strength/StrengthRules.h"
#include "model/strength/TestResults.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace stolvar {

class Database;

// The groups of the register with their results, as the evaluation page, its printed
// record and the workbook evaluate them.
struct StrengthGroup {
    SpecimenGroup group;
    QDate cast;                          // the casting day, read once (the evaluation compares it often)
    QVector<TestResult> results;
    std::optional<QDate> standardDue;   // from the one due-day computation (DueDays.h)
    std::optional<QDate> sameDue;
};

struct DateRange {
    QDate first;
    QDate last;
};

// What the evaluation page offers to choose within one project or all: the grades of its
// groups ordered by fcu,k (unreadable grades last) and the span of their casting dates.
struct ScopeChoices {
    QStringList grades;
    DateRange casting;
};

// The choices of every project, found with the register on the worker, so that choosing a
// project on the page is a look-up however large the register is. Projects match as the
// evaluation matches them: regardless of the case of their Latin letters.
struct RegisterChoices {
    ScopeChoices all;
    QHash<QString, ScopeChoices> byProject;   // by the case-folded name

    const ScopeChoices& of(const std::optional<QString>& project) const;
};

struct StrengthRegister {
    QVector<StrengthGroup> groups;   // by project, position, casting date
    QStringList projects;            // ProjectsOf(groups), read with them on the worker
    RegisterChoices choices;         // ChoicesOf(groups), found with them on the worker
    QString error;                   // why the register could not be read ("" when it was)
};

// Reads every group and result in one go, for a worker. With a counting rule the groups'
// due days are computed too (the count of groups past their due day without a result).
StrengthRegister LoadStrengthRegister(const Database& db, const std::optional<CountingRule>& dueRule);

// The number of groups of a kind a register row holds: its count text as a number
// (the counts are free text), at most kMaxGroupsPerKind.
inline constexpr int kMaxGroupsPerKind = 50;
int GroupCountOf(const SpecimenGroup& group, DueKind kind);

// What the clerk evaluates: the groups of one grade and kind (standard or same-condition),
// of one project or all, cast within the bounds (both included; an invalid date is open).
struct EvaluationScope {
    std::optional<QString> project;   // none: every project
    QString grade;
    DueKind kind = DueKind::Standard;
    LotMethod method = LotMethod::Automatic;
    QDate from;
    QDate to;
};

// Indexes rather than copies: a scope of 100,000 groups is sorted in a few milliseconds.
struct EvaluationRow {
    int group = 0;            // index into StrengthRegister::groups
    int result = 0;           // index into that group's results
    int number = 0;           // its group number
    qint64 castingDay = 0;    // its casting day (Julian day), the order of the rows
    GroupValue value;
};
const TestResult& ResultOf(const StrengthRegister& reg, const EvaluationRow& row);

struct ScopeEvaluation {
    QVector<EvaluationRow> rows;       // by casting date, project, position, group number
    std::optional<int> fcuk;
    std::optional<LotEvaluation> lot;  // none when no valid group or the grade is unknown
    int pendingGroups = 0;             // past their due day on `today` without a result
    QString resultText;                // the lot's line, or why there is none
};

// Evaluates the scope: the valid groups' values (same-condition ones converted) form the lot.
ScopeEvaluation EvaluateScope(const StrengthRegister& reg, const EvaluationScope& scope, double conversion,
                              const QDate& today);

// The projects of the register in Chinese (pinyin) order, and the choices of each in one
// walk over the groups.
QStringList ProjectsOf(const StrengthRegister& reg);
RegisterChoices ChoicesOf(const StrengthRegister& reg);

// The grid of the evaluation: its header and one row's cells.
QStringList EvaluationHeader();   // 序号, 工程名称, 工程部位, 成型日期, 组号, 报告编号, 强度1–3, 代表值, 备注
QStringList EvaluationCells(const StrengthRegister& reg, const EvaluationRow& row, int serial, double conversion);

QString KindChoiceText(DueKind kind);   // 标准养护, 同条件养护（结构实体）
QString AllProjectsText();              // 全部工程
QString PendingText(int groups);        // 已到龄期尚无结果：N组

} // namespace stolvar
