#pragma once

#include "model/maturity/DueScan.h"
#include "model/maturity/MaturityRule.h"

#include <QDateTime>
#include <QString>

namespace stolvar {

class Database;

// One due scan on the project database: it may run on a worker (each statement holds the
// connection lock). Every group due for a reminder that the log does not hold yet is
// recorded as listed now, in the scan's own transaction; a read-only file is scanned
// without recording.
struct ReminderScanInput {
    QDateTime now;              // local wall time of the scan
    int leadDays = 0;
    CountingRule rule;
    QDateTime lastMail;         // when the last successful mail was composed; invalid: none
    bool mailToday = false;     // the mail also names today's reminders mailed already (sent by hand)
};

struct ReminderScan {
    DueTexts boxes;             // the reminders first listed today (the three boxes)
    DueTexts mail;              // the reminders first listed since the last mail, 30 days back at most
                                // (and today's, with mailToday)
    QString error;              // why the groups, the records or the log could not be read or written
};
ReminderScan ScanReminders(Database& db, const ReminderScanInput& input);

// The ten newest groups for 近期浇筑编辑框.
QString ListRecentPours(const Database& db);

} // namespace stolvar
