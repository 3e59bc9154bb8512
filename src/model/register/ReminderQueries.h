#pragma once

#include "db/Records.h"
#include "model/maturity/DueScan.h"
#include "model/maturity/MaturityRule.h"
#include "model/maturity/SameConditionScan.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

class Database;

// The reminder scans on the project database. They only read, each through a statement of
// its own (which holds the connection lock), so they may run on a background thread. A
// failed statement gives an empty list.
// The groups that can come due at `now` with this lead time (cast within a day or two
// of the standard or form-removal reminder day), in id order: the scan's exact rule then
// picks among a few rows instead of reading every group of the project.
QVector<SpecimenGroup> LoadDueCandidates(const Database& db, const QDateTime& now, int daysAhead);
// Temperature records from targetDate − lookBackDays to targetDate, both included, oldest first.
QVector<TemperatureRecord> LoadSameConditionWindow(const Database& db, const QDateTime& targetDate,
                                                   int lookBackDays = kSameConditionLookBackDays);

// The three scans on the database: `now` is the local wall time of the scan.
DueTexts ScanDueSpecimens(const Database& db, const QDateTime& now, int daysAhead);
QString ScanSameConditionDue(const Database& db, const QDateTime& now, int daysAhead,
                             MaturityRule rule = MaturityRule::Classic);
QString ListRecentPours(const Database& db);

// Every reminder box at once, for a background run; the UI thread applies the texts.
struct Reminders {
    QString standard;       // 到期提醒编辑框
    QString formRemoval;    // 拆模提醒编辑框
    QString sameCondition;  // 到期提醒编辑框1
    QString recent;         // 近期浇筑编辑框
};
Reminders ComputeReminders(const Database& db, const QDateTime& now, int daysAhead,
                           MaturityRule rule = MaturityRule::Classic);

} // namespace stolvar
