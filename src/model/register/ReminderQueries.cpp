#include "model/register/ReminderQueries.h"

#include "db/Database.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupQueries.h"
#include "model/register/ReminderLog.h"

namespace stolvar {

namespace {

// Every reminder due at the scan, with the time it was first listed (invalid: never yet).
struct Candidate {
    DueReminder reminder;
    QDateTime listed;
};

// Groups whose due days are computed at a time: each carries its table-1 days until its
// reminders are made.
constexpr qsizetype kDueBatch = 64;

QVector<Candidate> DueCandidates(const Database& db, const ReminderScanInput& input, QString* error)
{
    const QDate today = input.now.date();
    const QDate horizon = today.addDays(input.leadDays);
    const QVector<SpecimenGroup> groups = LoadCandidateGroups(db, today.addDays(-kCatchUpDays), horizon);
    const QHash<ReminderKey, QDateTime> log = LoadReminderLog(db, groups, error);
    QVector<Candidate> candidates;
    for (qsizetype first = 0; first < groups.size(); first += kDueBatch) {
        const QVector<SpecimenGroup> batch = groups.mid(first, kDueBatch);
        QString batchError;
        const QVector<GroupDueDays> due = ComputeDueDaysOf(db, batch, input.rule, &batchError);
        if (!batchError.isEmpty()) {
            if (error)
                *error = batchError;
            return {};
        }
        for (qsizetype i = 0; i < due.size(); ++i) {
            for (DueKind kind : kDueKinds) {
                if (DueForReminder(batch[i], due[i], kind, today, input.leadDays))
                    candidates.append(
                        {MakeDueReminder(batch[i], due[i], kind, horizon), log.value(KeyOf(batch[i].id, kind))});
            }
        }
    }
    return candidates;
}

// The log's rows for what it does not hold yet; without a log (read-only file) nothing is
// kept and every due reminder counts as listed now.
void RecordNew(Database& db, QVector<Candidate>& candidates, const QDateTime& now, QString* error)
{
    QVector<DueReminder> fresh;
    for (Candidate& c : candidates) {
        if (!c.listed.isValid()) {
            fresh.append(c.reminder);
            c.listed = now;
        }
    }
    if (HasReminderLog(db) && !db.isReadOnly())
        RecordReminders(db, fresh, now, error);
}

// A mail day kept before mail times were: everything listed that day went with it.
bool MailedAlready(const QDateTime& listed, const QDateTime& lastMail)
{
    return lastMail.isValid() && listed <= lastMail;
}

} // namespace

ReminderScan ScanReminders(Database& db, const ReminderScanInput& input)
{
    ReminderScan scan;
    const QDate today = input.now.date();
    if (!EnsureReminderLog(db, input.now, input.leadDays, input.rule, &scan.error))
        return scan;
    QVector<Candidate> candidates = DueCandidates(db, input, &scan.error);
    if (!scan.error.isEmpty())
        return scan;
    RecordNew(db, candidates, input.now, &scan.error);
    QVector<DueReminder> boxes;
    QVector<DueReminder> mail;
    for (const Candidate& c : candidates) {
        if (c.listed.date() == today)
            boxes.append(c.reminder);
        const bool unmailed = !MailedAlready(c.listed, input.lastMail) || (input.mailToday && c.listed.date() == today);
        if (c.listed.date() >= today.addDays(-kCatchUpDays) && unmailed)
            mail.append(c.reminder);
    }
    const QDate horizon = today.addDays(input.leadDays);
    scan.boxes = ReminderTexts(boxes, horizon, input.rule.rule);
    scan.mail = ReminderTexts(mail, horizon, input.rule.rule);
    return scan;
}

QString ListRecentPours(const Database& db)
{
    return RecentPoursText(LoadNewestGroups(db, kRecentPoursListed));
}

} // namespace stolvar
