#include "remind/ReminderQueries.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "remind/SameConditionScan.h"

namespace stolvar {

namespace {

QVector<SpecimenGroup> ReadGroups(Statement& st)
{
    QVector<SpecimenGroup> groups;
    while (st.next())
        groups.append(ReadGroup(st));
    if (!st.ok())
        groups.clear();
    return groups;
}

QString GroupQuery(const QString& tail)
{
    return QStringLiteral("SELECT ") + GroupColumns() + QStringLiteral(" FROM gcxx ") + tail;
}

QDateTime Midnight(const QDateTime& value)
{
    return WallTime(value.date());
}

} // namespace

QVector<SpecimenGroup> LoadAllGroups(const Database& db)
{
    Statement st(db, GroupQuery(QStringLiteral("ORDER BY id")));
    return ReadGroups(st);
}

// A group is due when trunc(casting + reference − now) == daysAhead, so casting + reference
// lies within one day of now + daysAhead; two days of margin keep every candidate.
QVector<SpecimenGroup> LoadDueCandidates(const Database& db, const QDateTime& now, int daysAhead)
{
    Statement st(db, GroupQuery(QStringLiteral("WHERE (取样日期 >= ? AND 取样日期 <= ?) OR (取样日期 >= ? AND 取样日期 <= ?) "
                                               "ORDER BY id")));
    const QDateTime standard = AddDays(Midnight(now), daysAhead - kStandardReferenceDays);
    const QDateTime formRemoval = AddDays(Midnight(now), daysAhead - kFormRemovalReferenceDays);
    st.bindAll(AddDays(standard, -2), AddDays(standard, 2), AddDays(formRemoval, -2), AddDays(formRemoval, 2));
    return ReadGroups(st);
}

// A casting date may carry a time of day; the whole day counts.
QVector<SpecimenGroup> LoadGroupsCastOn(const Database& db, const QDateTime& day)
{
    Statement st(db, GroupQuery(QStringLiteral("WHERE 取样日期 >= ? AND 取样日期 < ? ORDER BY id")));
    st.bindAll(Midnight(day), AddDays(Midnight(day), 1));
    return ReadGroups(st);
}

QVector<TemperatureRecord> LoadSameConditionWindow(const Database& db, const QDateTime& targetDate, int lookBackDays)
{
    const QString sql = QStringLiteral("SELECT ") + TemperatureColumns()
                        + QStringLiteral(" FROM skxx WHERE 养护记录 >= ? AND 养护记录 <= ? ORDER BY 养护记录");
    Statement st(db, sql);
    const QDateTime to = Midnight(targetDate);
    st.bindAll(AddDays(to, -lookBackDays), to);
    QVector<TemperatureRecord> records;
    while (st.next()) {
        if (HasUsableMean(st))
            records.append(ReadTemperature(st));
    }
    if (!st.ok())
        records.clear();
    return records;
}

QVector<SpecimenGroup> LoadNewestGroups(const Database& db, int count)
{
    Statement st(db, GroupQuery(QStringLiteral("ORDER BY id DESC LIMIT ?")));
    st.bind(1, count);
    return ReadGroups(st);
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
    return RecentPoursText(LoadNewestGroups(db));
}

Reminders ComputeReminders(const Database& db, const QDateTime& now, int daysAhead, MaturityRule rule)
{
    const DueTexts due = ScanDueSpecimens(db, now, daysAhead);
    return {due.standardText, due.formRemovalText, ScanSameConditionDue(db, now, daysAhead, rule), ListRecentPours(db)};
}

} // namespace stolvar
