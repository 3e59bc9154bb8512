#pragma once

#include "model/maturity/DueDays.h"
#include "model/maturity/DueScan.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

namespace stolvar {

class Database;

// The reminder log, table txjl: when each group's reminder of each kind was first listed
// (the scan's local time; the day is what counts). It makes every due group reminded
// exactly once, and the daily mail name exactly the reminders listed since the last one.

bool HasReminderLog(const Database& db);

// Creates the log in a file opened for writing. On creation, every reminder already due
// before the horizon (now + lead time) is recorded as listed 31 days before now, so that
// the first scan of an upgraded register lists and mails nothing old. True when the log
// exists afterwards or the file is read-only (it is then scanned without one).
bool EnsureReminderLog(Database& db, const QDateTime& now, int leadDays, const CountingRule& rule,
                       QString* error = nullptr);

// The logged reminders of the given groups: (group id, kind) to the time first listed.
using ReminderKey = QPair<qint64, int>;
inline ReminderKey KeyOf(qint64 groupId, DueKind kind)
{
    return {groupId, int(kind)};
}
QHash<ReminderKey, QDateTime> LoadReminderLog(const Database& db, const QVector<SpecimenGroup>& groups,
                                              QString* error = nullptr);

// Records the reminders as first listed at `at`, in one transaction.
bool RecordReminders(Database& db, const QVector<DueReminder>& reminders, const QDateTime& at,
                     QString* error = nullptr);

} // namespace stolvar
