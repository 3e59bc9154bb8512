#include "model/maturity/DueDays.h"

#include "core/Conversions.h"
#include "model/maturity/DueRules.h"

namespace stolvar {

QString DueKindText(DueKind kind)
{
    switch (kind) {
    case DueKind::Standard:
        return QStringLiteral("标养");
    case DueKind::SameCondition:
        return QStringLiteral("同养");
    case DueKind::FormRemoval:
        return QStringLiteral("拆模");
    }
    return {};
}

DayWindow DueWindow(const QDateTime& castingDate, MaturityRule rule)
{
    const QDateTime from = WallTime(castingDate.date());
    const int days = rule == MaturityRule::Classic ? maturity::kTable1WindowDays : maturity::kTable2WindowDays;
    return {from, AddDays(from, days)};
}

GroupDueDays ComputeDueDays(const QDateTime& castingDate, const QVector<TemperatureRecord>& window,
                            const CountingRule& rule)
{
    GroupDueDays due;
    if (!castingDate.isValid())
        return due;
    const QDate casting = castingDate.date();
    due.standard = casting.addDays(kStandardCuringDays);
    due.formRemoval = casting.addDays(kFormRemovalDays);
    due.table1 = AccumulateTable1(window, rule.countFromNextDay, rule.rule);
    if (due.table1.days.isEmpty())
        return due;
    const MaturityDay& last = due.table1.days.constLast();
    const bool byThreshold = MaturityDue(last.sumSoFar, last.validSoFar, rule.rule);
    if (byThreshold || due.table1.countedDays >= maturity::kTable1DayCap) {
        due.sameCondition = last.day.date();
        due.sameConditionByCap = !byThreshold;
    }
    return due;
}

MaturityOnDay MaturityOn(const GroupDueDays& due, const QDateTime& castingDate, const QDate& day)
{
    MaturityOnDay on;
    on.age = int(castingDate.date().daysTo(day));
    for (const MaturityDay& taken : due.table1.days) {
        if (taken.day.date() > day)
            break;
        on.sum = taken.sumSoFar;
        ++on.countedDays;
    }
    return on;
}

std::optional<QDate> DueDayOf(const GroupDueDays& due, DueKind kind)
{
    switch (kind) {
    case DueKind::Standard:
        return due.standard.isValid() ? std::optional<QDate>(due.standard) : std::nullopt;
    case DueKind::FormRemoval:
        return due.formRemoval.isValid() ? std::optional<QDate>(due.formRemoval) : std::nullopt;
    case DueKind::SameCondition:
        return due.sameCondition;
    }
    return std::nullopt;
}

int RemainingDays(const QDate& dueDay, const QDate& today)
{
    return int(today.daysTo(dueDay));
}

} // namespace stolvar
