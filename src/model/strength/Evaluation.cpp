#include "model/strength/Evaluation.h"

#include "core/Conversions.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupQueries.h"
#include "model/strength/StrengthTexts.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <limits>

namespace stolvar {

namespace {

bool SameProject(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool InScope(const StrengthGroup& g, const EvaluationScope& scope)
{
    if (scope.project && !SameProject(g.group.project, *scope.project))
        return false;
    if (g.group.grade != scope.grade)
        return false;
    const QDate cast = g.group.castingDate.date();
    if (scope.from.isValid() && (!cast.isValid() || cast < scope.from))
        return false;
    return !scope.to.isValid() || (cast.isValid() && cast <= scope.to);
}

int PendingOf(const StrengthGroup& g, DueKind kind, const QDate& today)
{
    const std::optional<QDate> due = kind == DueKind::Standard ? g.standardDue : g.sameDue;
    if (!due || *due > today)
        return 0;
    const int count = GroupCountOf(g.group, kind);
    const auto entered = std::count_if(g.results.begin(), g.results.end(), [&](const TestResult& r) {
        return r.kind == kind && r.number >= 1 && r.number <= count;
    });
    return count - int(entered);
}

void SortRows(const StrengthRegister& reg, QVector<EvaluationRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [&reg](const EvaluationRow& a, const EvaluationRow& b) {
        const SpecimenGroup& ga = reg.groups[a.group].group;
        const SpecimenGroup& gb = reg.groups[b.group].group;
        if (ga.castingDate.date() != gb.castingDate.date())
            return ga.castingDate.date() < gb.castingDate.date();
        if (a.group != b.group)
            return a.group < b.group;
        return a.result.number < b.result.number;
    });
}

std::pair<int, QString> GradeOrder(const QString& grade)
{
    return {DesignStrength(grade).value_or(std::numeric_limits<int>::max()), grade};
}

} // namespace

int GroupCountOf(const SpecimenGroup& group, DueKind kind)
{
    const QString& text = kind == DueKind::Standard ? group.standardCount
                          : kind == DueKind::SameCondition ? group.sameCount
                                                           : group.formCount;
    return std::clamp(TruncateToInt(ParseNumberText(text)), 0, kMaxGroupsPerKind);
}

StrengthRegister LoadStrengthRegister(const Database& db, const std::optional<CountingRule>& dueRule)
{
    StrengthRegister reg;
    const QVector<SpecimenGroup> groups = LoadAllGroups(db, GroupOrder::ByProject, &reg.error);
    QHash<qint64, QVector<TestResult>> results;
    if (reg.error.isEmpty())
        results = LoadAllResults(db, &reg.error);
    QVector<GroupDueDays> due;
    if (reg.error.isEmpty() && dueRule)
        due = ComputeDueDaysOf(db, groups, *dueRule, &reg.error);
    if (!reg.error.isEmpty())
        return reg;
    reg.groups.reserve(groups.size());
    for (qsizetype i = 0; i < groups.size(); ++i) {
        StrengthGroup g{groups[i], results.take(groups[i].id), std::nullopt, std::nullopt};
        if (i < due.size()) {
            g.standardDue = DueDayOf(due[i], DueKind::Standard);
            g.sameDue = DueDayOf(due[i], DueKind::SameCondition);
        }
        reg.groups.append(std::move(g));
    }
    return reg;
}

ScopeEvaluation EvaluateScope(const StrengthRegister& reg, const EvaluationScope& scope, double conversion,
                              const QDate& today)
{
    ScopeEvaluation out;
    out.fcuk = DesignStrength(scope.grade);
    QVector<double> values;
    for (int i = 0; i < reg.groups.size(); ++i) {
        const StrengthGroup& g = reg.groups[i];
        if (!InScope(g, scope))
            continue;
        out.pendingGroups += PendingOf(g, scope.kind, today);
        for (const TestResult& r : g.results) {
            if (r.kind != scope.kind)
                continue;
            const GroupValue value = ValueOfResult(r, out.fcuk, conversion);
            if (value.valid())
                values.append(value.value);
            out.rows.append({i, r, value});
        }
    }
    SortRows(reg, out.rows);
    if (!out.fcuk) {
        out.resultText = UnknownGradeText(scope.grade);
        return out;
    }
    out.lot = EvaluateLot(values, *out.fcuk, scope.method);
    out.resultText = out.lot ? LotResultText(*out.lot) : NoEvaluableResultsText();
    return out;
}

QStringList ProjectsOf(const StrengthRegister& reg)
{
    QStringList projects;
    QSet<QString> seen;
    for (const StrengthGroup& g : reg.groups) {
        const QString key = g.group.project.toCaseFolded();
        if (!seen.contains(key)) {
            seen.insert(key);
            projects << g.group.project;
        }
    }
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    std::sort(projects.begin(), projects.end(), collator);
    return projects;
}

QStringList GradesIn(const StrengthRegister& reg, const std::optional<QString>& project)
{
    QSet<QString> seen;
    QStringList grades;
    for (const StrengthGroup& g : reg.groups) {
        if ((!project || SameProject(g.group.project, *project)) && !seen.contains(g.group.grade)) {
            seen.insert(g.group.grade);
            grades << g.group.grade;
        }
    }
    std::sort(grades.begin(), grades.end(),
              [](const QString& a, const QString& b) { return GradeOrder(a) < GradeOrder(b); });
    return grades;
}

DateRange CastingRange(const StrengthRegister& reg, const std::optional<QString>& project)
{
    DateRange range;
    for (const StrengthGroup& g : reg.groups) {
        const QDate cast = g.group.castingDate.date();
        if (!cast.isValid() || (project && !SameProject(g.group.project, *project)))
            continue;
        range.first = !range.first.isValid() || cast < range.first ? cast : range.first;
        range.last = !range.last.isValid() || cast > range.last ? cast : range.last;
    }
    return range;
}

QStringList EvaluationHeader()
{
    return {QStringLiteral("序号"), QStringLiteral("工程名称"), QStringLiteral("工程部位"), QStringLiteral("成型日期"),
            QStringLiteral("组号"), QStringLiteral("报告编号"), QStringLiteral("强度1"), QStringLiteral("强度2"),
            QStringLiteral("强度3"), QStringLiteral("代表值"), QStringLiteral("备注")};
}

QStringList EvaluationCells(const StrengthRegister& reg, const EvaluationRow& row, int serial, double conversion)
{
    const SpecimenGroup& g = reg.groups[row.group].group;
    const TestResult& r = row.result;
    const std::optional<double> converted =
        r.kind == DueKind::SameCondition ? std::optional<double>(conversion) : std::nullopt;
    return {QString::number(serial), g.project, g.position, FormatLongDate(g.castingDate), QString::number(r.number),
            r.report, FormatStrength(r.strengths[0]), FormatStrength(r.strengths[1]), FormatStrength(r.strengths[2]),
            GroupValueText(row.value), GroupRemark(row.value, r.edgeMm, converted)};
}

QString KindChoiceText(DueKind kind)
{
    return kind == DueKind::SameCondition ? QStringLiteral("同条件养护（结构实体）") : QStringLiteral("标准养护");
}

QString AllProjectsText()
{
    return QStringLiteral("全部工程");
}

QString PendingText(int groups)
{
    return QStringLiteral("已到龄期尚无结果：%1组").arg(groups);
}

} // namespace stolvar
