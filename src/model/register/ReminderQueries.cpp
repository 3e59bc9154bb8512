#include "model/register/ReminderQueries.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "model/maturity/SameConditionScan.h"
#include "model/register/GroupQueries.h"
#include "model/temperatures/TemperatureStore.h"

namespace stolvar {

namespace {

QDateTime Midnight(const QDateTime& value)
{
    return WallTime(value.date());
}

} // namespace

// A group is due when trunc(casting + reference − now) == daysAhead, so casting + reference
// lies within one day of now + daysAhead; two days of margin keep every candidate.
QVector<SpecimenGroup> LoadDueCandidates(const Database& db, const QDateTime& now, int daysAhead)
{
    Statement st(db, SelectGroupsSql(QStringLiteral("WHERE (取样日期 >= ? AND 取样日期 <= ?) OR (取样日期 >= ? AND 取样日期 <= ?) "
                                               "ORDER BY id")));
    const QDateTime standard = AddDays(Midnight(now), daysAhead - kStandardReferenceDays);
    const QDateTime formRemoval = AddDays(Midnight(now), daysAhead - kFormRemovalReferenceDays);
    st.bindAll(AddDays(standard, -2), AddDays(standard, 2), AddDays(formRemoval, -2), AddDays(formRemoval, 2));
    return ReadGroups(st);
}

QVector<TemperatureRecord> LoadSameConditionWindow(const Database& db, const QDateTime& targetDate, int lookBackDays)
{
    const QDateTime to = Midnight(targetDate);
    return LoadTemperatureWindow(db, AddDays(to, -lookBackDays), to);
}

DueTexts ScanDueSpecimens(const Database& db, const QDateTime& now, int daysAhead)
{
    return ScanDueSpecimens(LoadDueCandidates(db, now, daysAhead), now, daysAhead);
}

QString ScanSameConditionDue(const Database& db, const QDateTime& now, int daysAhead, MaturityRule rule)
{
    const QDateTime targetDate = AddDays(Midnight(now), daysAhead);
    const auto stop = FindSameConditionStop(LoadSameConditionWindow(db, targetDate, LookBackDays(rule)), rule);
    if (!stop)
        return {};
    return SameConditionText(LoadGroupsCastOn(db, stop->stopDay), targetDate, *stop, rule);
}

QString ListRecentPours(const Database& db)
{
    return RecentPoursText(LoadNewestGroups(db, kRecentPoursListed));
}

Reminders ComputeReminders(const Database& db, const QDateTime& now, int daysAhead, MaturityRule rule)
{
    const DueTexts due = ScanDueSpecimens(db, now, daysAhead);
    return {due.standardText, due.formRemovalText, ScanSameConditionDue(db, now, daysAhead, rule), ListRecentPours(db)};
}

} // namespace stolvar
