#include "model/register/ReminderLog.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupQueries.h"

#include <QSet>

#include <algorithm>

namespace stolvar {

namespace {

// The log starts as if every reminder due before the horizon had been listed well before
// the catch-up floor.
constexpr int kSeedDaysBack = kCatchUpDays + 1;

std::optional<DueKind> KindFromText(const QString& text)
{
    for (DueKind kind : kDueKinds) {
        if (DueKindText(kind) == text)
            return kind;
    }
    return std::nullopt;
}

bool InsertReminder(Database& db, qint64 groupId, DueKind kind, const QDateTime& at, QString* error)
{
    Statement st(db, QStringLiteral("INSERT OR IGNORE INTO txjl (试块编号, 类别, 提醒日期) VALUES (?, ?, ?)"));
    st.bindAll(groupId, DueKindText(kind), at);
    if (!st.run()) {
        if (error)
            *error = st.error();
        return false;
    }
    return true;
}

// Every reminder due from the catch-up floor up to, not including, the horizon (an older
// one is never listed anyway).
QVector<DueReminder> DueBefore(const Database& db, const QDate& floor, const QDate& horizon, const CountingRule& rule,
                               QString* error)
{
    const QVector<SpecimenGroup> groups = LoadCandidateGroups(db, floor, horizon);
    const QVector<GroupDueDays> due = ComputeDueDaysOf(db, groups, rule, error);
    QVector<DueReminder> reminders;
    for (qsizetype i = 0; i < due.size(); ++i) {
        for (DueKind kind : kDueKinds) {
            const std::optional<QDate> day = DueDayOf(due[i], kind);
            if (day && *day >= floor && *day < horizon)
                reminders.append(MakeDueReminder(groups[i], due[i], kind, horizon));
        }
    }
    return reminders;
}

} // namespace

bool HasReminderLog(const Database& db)
{
    return HasTable(db, QStringLiteral("txjl"));
}

bool EnsureReminderLog(Database& db, const QDateTime& now, int leadDays, const CountingRule& rule, QString* error)
{
    if (db.isReadOnly() || HasReminderLog(db))
        return true;
    Transaction tx(db);
    if (!tx.ok() || !CreateReminderLogTable(db, error))
        return false;
    QString readError;
    const QVector<DueReminder> old =
        DueBefore(db, now.date().addDays(-kCatchUpDays), now.date().addDays(leadDays), rule, &readError);
    if (!readError.isEmpty()) {
        if (error)
            *error = readError;
        return false;
    }
    const QDateTime seeded = WallTime(now.date().addDays(-kSeedDaysBack));
    for (const DueReminder& r : old) {
        if (!InsertReminder(db, r.group.id, r.kind, seeded, error))
            return false;
    }
    return tx.commit();
}

QHash<ReminderKey, QDateTime> LoadReminderLog(const Database& db, const QVector<SpecimenGroup>& groups, QString* error)
{
    QHash<ReminderKey, QDateTime> log;
    if (groups.isEmpty() || !HasReminderLog(db))
        return log;
    // The rows of the groups cast in the range the groups span, found through the casting
    // date index; the ones of other groups are left out.
    QDateTime first = groups.front().castingDate;
    QDateTime last = first;
    QSet<qint64> ids;
    for (const SpecimenGroup& g : groups) {
        ids.insert(g.id);
        first = std::min(first, g.castingDate);
        last = std::max(last, g.castingDate);
    }
    Statement st(db, QStringLiteral("SELECT t.试块编号, t.类别, t.提醒日期 FROM gcxx g JOIN txjl t ON t.试块编号 = g.id "
                                    "WHERE g.取样日期 >= ? AND g.取样日期 <= ?"));
    st.bindAll(first, last);
    while (st.next()) {
        const std::optional<DueKind> kind = KindFromText(st.text(1));
        if (kind && ids.contains(st.integer(0)))
            log.insert(KeyOf(st.integer(0), *kind), st.dateTime(2));
    }
    if (!st.ok()) {
        log.clear();
        if (error)
            *error = st.error();
    }
    return log;
}

bool RecordReminders(Database& db, const QVector<DueReminder>& reminders, const QDateTime& at, QString* error)
{
    if (reminders.isEmpty())
        return true;
    Transaction tx(db);
    if (!tx.ok()) {
        if (error)
            *error = db.lastError();
        return false;
    }
    for (const DueReminder& r : reminders) {
        if (!InsertReminder(db, r.group.id, r.kind, at, error))
            return false;
    }
    return tx.commit();
}

} // namespace stolvar
