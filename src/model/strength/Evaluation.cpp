#include "model/strength/Evaluation.h"

#include "core/Conversions.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupQueries.h"
#include "model/strength/StrengthTexts.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <tuple>
#include <vector>
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
    const QDate& cast = g.cast;
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

// A result of the scope with its value, computed while the groups are walked in the order
// they lie in memory, then sorted by casting day, register order and group number. Sorting
// these small records rather than the rows keeps a scope of 100,000 groups within a few
// milliseconds.
struct RowKey {
    qint64 day;
    int group;
    int number;
    int result;
    GroupBasis basis;
    double value;
    double sizeFactor;
    bool operator<(const RowKey& o) const { return std::tie(day, group, number) < std::tie(o.day, o.group, o.number); }
};

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
    bool plain = false;
    const int count = text.toInt(&plain);   // what counts nearly always hold: digits
    return std::clamp(plain ? count : TruncateToInt(ParseNumberText(text)), 0, kMaxGroupsPerKind);
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
        StrengthGroup g{groups[i], groups[i].castingDate.date(), results.take(groups[i].id), std::nullopt, std::nullopt};
        if (i < due.size()) {
            g.standardDue = DueDayOf(due[i], DueKind::Standard);
            g.sameDue = DueDayOf(due[i], DueKind::SameCondition);
        }
        reg.groups.append(std::move(g));
    }
    reg.projects = ProjectsOf(reg);
    reg.choices = ChoicesOf(reg);
    return reg;
}

ScopeEvaluation EvaluateScope(const StrengthRegister& reg, const EvaluationScope& scope, double conversion,
                              const QDate& today)
{
    ScopeEvaluation out;
    out.fcuk = DesignStrength(scope.grade);
    std::vector<RowKey> keys;
    keys.reserve(size_t(reg.groups.size()));
    for (int i = 0; i < reg.groups.size(); ++i) {
        const StrengthGroup& g = reg.groups[i];
        if (!InScope(g, scope))
            continue;
        out.pendingGroups += PendingOf(g, scope.kind, today);
        const qint64 day = g.cast.isValid() ? g.cast.toJulianDay() : 0;
        for (int k = 0; k < g.results.size(); ++k) {
            const TestResult& r = g.results[k];
            if (r.kind != scope.kind)
                continue;
            const GroupValue v = ValueOfResult(r, out.fcuk, conversion);
            keys.push_back({day, i, r.number, k, v.basis, v.value, v.sizeFactor});
        }
    }
    std::sort(keys.begin(), keys.end());
    QVector<double> values;
    values.reserve(qsizetype(keys.size()));
    out.rows.reserve(qsizetype(keys.size()));
    for (const RowKey& key : keys) {
        GroupValue value;
        value.basis = key.basis;
        value.value = key.value;
        value.sizeFactor = key.sizeFactor;
        if (value.valid())
            values.append(value.value);
        else   // the few invalid groups: again, for the reason why
            value = ValueOfResult(reg.groups[key.group].results[key.result], out.fcuk, conversion);
        out.rows.append({key.group, key.result, key.number, key.day, std::move(value)});
    }
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
    // By collation keys: 10,000 names compared through the collator take 25 ms.
    const QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    QVector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(projects.size());
    for (const QString& p : projects)
        keyed.append({collator.sortKey(p), p});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        projects[i] = keyed[i].second;
    return projects;
}

namespace {

// The grades and casting dates of one scope as the groups are walked.
struct ScopeWalk {
    QSet<QString> seen;
    ScopeChoices choices;

    void add(const StrengthGroup& g)
    {
        if (!seen.contains(g.group.grade)) {
            seen.insert(g.group.grade);
            choices.grades << g.group.grade;
        }
        if (!g.cast.isValid())
            return;
        DateRange& range = choices.casting;
        range.first = !range.first.isValid() || g.cast < range.first ? g.cast : range.first;
        range.last = !range.last.isValid() || g.cast > range.last ? g.cast : range.last;
    }

    ScopeChoices finish()
    {
        std::sort(choices.grades.begin(), choices.grades.end(),
                  [](const QString& a, const QString& b) { return GradeOrder(a) < GradeOrder(b); });
        return std::move(choices);
    }
};

} // namespace

const ScopeChoices& RegisterChoices::of(const std::optional<QString>& project) const
{
    static const ScopeChoices none;
    if (!project)
        return all;
    const auto found = byProject.constFind(project->toCaseFolded());
    return found != byProject.cend() ? *found : none;
}

RegisterChoices ChoicesOf(const StrengthRegister& reg)
{
    ScopeWalk all;
    QHash<QString, ScopeWalk> projects;
    // The groups come by project: the name of the one before is mostly the same string.
    QString lastName;
    ScopeWalk* last = nullptr;
    for (const StrengthGroup& g : reg.groups) {
        all.add(g);
        if (!last || g.group.project != lastName) {
            lastName = g.group.project;
            last = &projects[lastName.toCaseFolded()];
        }
        last->add(g);
    }
    RegisterChoices choices;
    choices.all = all.finish();
    choices.byProject.reserve(projects.size());
    for (auto it = projects.begin(); it != projects.end(); ++it)
        choices.byProject.insert(it.key(), it->finish());
    return choices;
}

const TestResult& ResultOf(const StrengthRegister& reg, const EvaluationRow& row)
{
    return reg.groups[row.group].results[row.result];
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
    const TestResult& r = ResultOf(reg, row);
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
