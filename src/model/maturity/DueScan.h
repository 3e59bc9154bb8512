#pragma once

#include "db/Records.h"
#include "model/maturity/DueDays.h"
#include "model/maturity/DueRules.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

// A reminder is due for every group whose due day lies on or before the scan day plus the
// lead time, once per group and kind (the reminder log keeps the day it was first listed).
// A due day the computer was off for is caught up, but not when it lies more than 30 days
// back: such a group was dealt with long ago or will not be any more.
inline constexpr int kCatchUpDays = 30;

// What a group's reminder of a kind needs: standard specimens not sent yet and a count
// of groups to send; same-condition and form-removal specimens a count (any text, "0" too).
bool NeedsReminder(const SpecimenGroup& group, DueKind kind);
// The group's day of that kind lies from scanDay − 30 to scanDay + leadDays and it needs one.
bool DueForReminder(const SpecimenGroup& group, const GroupDueDays& due, DueKind kind, const QDate& scanDay,
                    int leadDays);

// One reminder listed: the group, its due days without their table-1 days (a scan can
// list thousands), the kind, and table 1 as it stands on the scan's horizon.
struct DueReminder {
    SpecimenGroup group;
    GroupDueDays due;
    DueKind kind = DueKind::Standard;
    MaturityOnDay onHorizon;   // same-condition reminders only
};
// The reminder of a kind for a group whose due days were computed in full; `horizon` is the
// scan day plus the lead time.
DueReminder MakeDueReminder(const SpecimenGroup& group, const GroupDueDays& due, DueKind kind, const QDate& horizon);

struct DueTexts {
    QString standardText;       // 到期提醒编辑框
    QString formRemovalText;    // 拆模提醒编辑框
    QString sameConditionText;  // 到期提醒编辑框1

    bool isEmpty() const { return standardText.isEmpty() && formRemovalText.isEmpty() && sameConditionText.isEmpty(); }
};

// The texts of the reminders, in the order given; a same-condition entry gives the sum and
// the age on `horizon` (scan day + lead time, the one the reminders were made for), as
// table 1 has them.
DueTexts ReminderTexts(const QVector<DueReminder>& reminders, const QDate& horizon, MaturityRule rule);

// The ten newest groups (the list must come newest first).
QString RecentPoursText(const QVector<SpecimenGroup>& newestFirst);
constexpr int kRecentPoursListed = 10;

// One reminder mail per calendar day: the gate compares today with the last mail day
// (the FormatLongDate text kept in Temp.ini).
struct MailGateDecision {
    bool sendNow = false;
    QString statusText;
};
MailGateDecision MailGate(const QString& mailDayText, const QDateTime& today);

} // namespace stolvar
