#include "model/register/WorklistQuery.h"

#include "core/Conversions.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupQueries.h"

namespace stolvar {

namespace {

// The projected same-condition day of a group not due yet: the median of the climate's
// years when the register has them, else the day the recent weather (or the forecast
// stored) brings it to the rule.
std::optional<QDate> ProjectedDay(const SpecimenGroup& g, const QVector<TemperatureRecord>& records,
                                  const CountingRule& rule, const QDate& today,
                                  const std::shared_ptr<const Climate>& climate)
{
    const ProjectionInput input{g.castingDate, rule.countFromNextDay, rule.rule, today, climate};
    const SameConditionProjection p =
        ProjectSameConditionDate(RecordsBetween(records, ProjectionWindow(g.castingDate)), input);
    using Outcome = SameConditionProjection::Outcome;
    if (p.outcome == Outcome::Expected || p.outcome == Outcome::TooCold)
        return p.date;
    return std::nullopt;
}

} // namespace

WorklistResult ComputeWorklist(const Database& db, const QDate& today, int leadDays, const CountingRule& rule)
{
    WorklistResult result;
    const QVector<SpecimenGroup> groups =
        LoadCandidateGroups(db, today.addDays(-kWorklistDaysBack), today.addDays(std::max(leadDays, 0)));
    const QVector<TemperatureRecord> records = LoadRecordsCovering(db, groups, &ProjectionWindow, &result.error);
    if (!result.error.isEmpty())
        return result;
    const std::shared_ptr<const Climate> climate = CachedClimate(db);
    QVector<WorkGroup> work;
    work.reserve(groups.size());
    for (const SpecimenGroup& g : groups) {
        if (!g.castingDate.isValid())
            continue;
        WorkGroup w{g, ComputeDueDays(g.castingDate, RecordsBetween(records, DueWindow(g.castingDate, rule.rule)), rule),
                    std::nullopt};
        if (!w.due.sameCondition && !g.sameCount.isEmpty() && g.sameState != kSent)
            w.projectedSameCondition = ProjectedDay(g, records, rule, today, climate);
        // The list needs the due days only: every candidate's table-1 days kept with them
        // would grow with the register (a few KB a group).
        w.due.table1.days = {};
        work.append(w);
    }
    result.items = BuildWorklist(work, today, leadDays);
    return result;
}

} // namespace stolvar
