#include "model/maturity/SameConditionQuery.h"

#include "model/temperatures/TemperatureStore.h"

#include <algorithm>
#include <functional>

namespace stolvar {

namespace {

using Accumulation = MaturitySummary (*)(const QVector<TemperatureRecord>&, bool, MaturityRule);

MaturityResult Compute(Database* db, const QDateTime& castingDate, const CountingRule& rule, const DayWindow& window,
                       Accumulation accumulate)
{
    MaturityResult result;
    if (!db) {
        result.failure = ConnectFailedText();
        return result;
    }
    if (!castingDate.isValid())
        return result;
    QString error;
    const QVector<TemperatureRecord> records = LoadTemperatureWindow(*db, window.from, window.to, &error);
    if (!error.isEmpty())
        result.failure = QueryFailedText();
    else
        result.summary = accumulate(records, rule.countFromNextDay, rule.rule);
    return result;
}

} // namespace

QString ConnectFailedText()
{
    return QStringLiteral("连接数据库失败！");
}

QString QueryFailedText()
{
    return QStringLiteral("查询数据失败！");
}

MaturityResult ComputeTable1(Database* db, const QDateTime& castingDate, const CountingRule& rule)
{
    return Compute(db, castingDate, rule, DueWindow(castingDate, rule.rule), &AccumulateTable1);
}

MaturityResult ComputeTable2(Database* db, const QDateTime& castingDate, const CountingRule& rule)
{
    return Compute(db, castingDate, rule, Table2Window(castingDate), &AccumulateTable2);
}

DueResult ComputeGroupDueDays(const Database* db, const QDateTime& castingDate, const CountingRule& rule)
{
    DueResult result;
    if (!db) {
        result.failure = ConnectFailedText();
        return result;
    }
    if (!castingDate.isValid())
        return result;
    const DayWindow window = DueWindow(castingDate, rule.rule);
    QString error;
    const QVector<TemperatureRecord> records = LoadTemperatureWindow(*db, window.from, window.to, &error);
    if (!error.isEmpty())
        result.failure = QueryFailedText();
    else
        result.due = ComputeDueDays(castingDate, records, rule);
    return result;
}

QVector<TemperatureRecord> RecordsBetween(const QVector<TemperatureRecord>& ascending, const DayWindow& window)
{
    const auto byDay = [](const TemperatureRecord& r, const QDate& day) { return r.day.date() < day; };
    const auto first = std::lower_bound(ascending.cbegin(), ascending.cend(), window.from.date(), byDay);
    const auto end = std::lower_bound(first, ascending.cend(), window.to.date().addDays(1), byDay);
    return QVector<TemperatureRecord>(first, end);
}

QVector<TemperatureRecord> LoadRecordsCovering(const Database& db, const QVector<SpecimenGroup>& groups,
                                               const std::function<DayWindow(const QDateTime&)>& windowOf,
                                               QString* error)
{
    QDateTime from;
    QDateTime to;
    for (const SpecimenGroup& g : groups) {
        if (!g.castingDate.isValid())
            continue;
        const DayWindow w = windowOf(g.castingDate);
        from = !from.isValid() || w.from < from ? w.from : from;
        to = !to.isValid() || w.to > to ? w.to : to;
    }
    if (!from.isValid())
        return {};
    return LoadTemperatureWindow(db, from, to, error);
}

QVector<GroupDueDays> ComputeDueDaysOf(const Database& db, const QVector<SpecimenGroup>& groups,
                                       const CountingRule& rule, QString* error)
{
    const auto windowOf = [&rule](const QDateTime& casting) { return DueWindow(casting, rule.rule); };
    QString readError;
    const QVector<TemperatureRecord> records = LoadRecordsCovering(db, groups, windowOf, &readError);
    if (error)
        *error = readError;
    if (!readError.isEmpty())
        return {};
    QVector<GroupDueDays> due;
    due.reserve(groups.size());
    for (const SpecimenGroup& g : groups) {
        const QVector<TemperatureRecord> window =
            g.castingDate.isValid() ? RecordsBetween(records, windowOf(g.castingDate)) : QVector<TemperatureRecord>();
        due.append(ComputeDueDays(g.castingDate, window, rule));
    }
    return due;
}

GroupOutlook OutlookFromRecords(const QVector<TemperatureRecord>& records, const ProjectionInput& input)
{
    GroupOutlook outlook;
    const CountingRule rule{input.rule, input.countFromNextDay};
    outlook.due = ComputeDueDays(input.castingDate, RecordsBetween(records, DueWindow(input.castingDate, input.rule)), rule);
    outlook.missingDays = MissingDays(records, input.castingDate, input.today, outlook.due.sameCondition);
    outlook.projection = ProjectSameConditionDate(records, input);
    outlook.curve = BuildMaturityCurve(records, input);
    return outlook;
}

namespace {

// The days of a group's projection window; false with `failure` set when there are none to
// read (no database, or a failed read). A group without a casting date reads nothing.
bool LoadProjectionRecords(Database* db, const ProjectionInput& input, QVector<TemperatureRecord>* records,
                           QString* failure)
{
    if (!db) {
        *failure = ConnectFailedText();
        return false;
    }
    if (!input.castingDate.isValid())
        return false;
    const DayWindow window = ProjectionWindow(input.castingDate);
    QString error;
    *records = LoadTemperatureWindow(*db, window.from, window.to, &error);
    if (!error.isEmpty()) {
        *failure = QueryFailedText();
        return false;
    }
    return true;
}

GroupOutlook OutlookWithClimate(Database& db, const QVector<TemperatureRecord>& records, ProjectionInput input)
{
    if (!input.climate)
        input.climate = CachedClimate(db);
    return OutlookFromRecords(records, input);
}

} // namespace

GroupOutlook ComputeGroupOutlook(Database* db, const ProjectionInput& input)
{
    GroupOutlook outlook;
    QVector<TemperatureRecord> records;
    if (!LoadProjectionRecords(db, input, &records, &outlook.failure))
        return outlook;
    return OutlookWithClimate(*db, records, input);
}

GroupCuring ComputeGroupCuring(Database* db, const ProjectionInput& input)
{
    GroupCuring curing;
    QVector<TemperatureRecord> records;
    if (!LoadProjectionRecords(db, input, &records, &curing.outlook.failure)) {
        curing.table1.failure = curing.outlook.failure;
        return curing;
    }
    const QVector<TemperatureRecord> due = RecordsBetween(records, DueWindow(input.castingDate, input.rule));
    curing.table1.summary = AccumulateTable1(due, input.countFromNextDay, input.rule);
    curing.outlook = OutlookWithClimate(*db, records, input);
    return curing;
}

} // namespace stolvar
