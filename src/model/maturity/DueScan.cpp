#include "model/maturity/DueScan.h"

#include "core/Conversions.h"
#include "model/mail/ReminderTexts.h"

namespace stolvar {

bool NeedsReminder(const SpecimenGroup& group, DueKind kind)
{
    switch (kind) {
    case DueKind::Standard:
        return group.standardState == kNotSent && !group.standardCount.isEmpty();
    case DueKind::SameCondition:
        return !group.sameCount.isEmpty();
    case DueKind::FormRemoval:
        return !group.formCount.isEmpty();
    }
    return false;
}

bool DueForReminder(const SpecimenGroup& group, const GroupDueDays& due, DueKind kind, const QDate& scanDay,
                    int leadDays)
{
    const std::optional<QDate> day = DueDayOf(due, kind);
    return day && *day <= scanDay.addDays(leadDays) && *day >= scanDay.addDays(-kCatchUpDays)
           && NeedsReminder(group, kind);
}

DueReminder MakeDueReminder(const SpecimenGroup& group, const GroupDueDays& due, DueKind kind, const QDate& horizon)
{
    DueReminder reminder{group, due, kind, {}};
    if (kind == DueKind::SameCondition)
        reminder.onHorizon = MaturityOn(due, group.castingDate, horizon);
    reminder.due.table1.days = {};
    return reminder;
}

DueTexts ReminderTexts(const QVector<DueReminder>& reminders, const QDate& horizon, MaturityRule rule)
{
    DueTexts texts;
    const QString rule2015 = rule == MaturityRule::Standard2015 ? StandardRuleSuffix() : QString();
    for (const DueReminder& r : reminders) {
        switch (r.kind) {
        case DueKind::Standard:
            texts.standardText += StandardDueEntry(r.group);
            break;
        case DueKind::FormRemoval:
            texts.formRemovalText += FormRemovalEntry(r.group);
            break;
        case DueKind::SameCondition: {
            texts.sameConditionText +=
                SameConditionEntry(r.group, WallTime(horizon), r.onHorizon.sum, r.onHorizon.age, rule2015);
            break;
        }
        }
    }
    return texts;
}

QString RecentPoursText(const QVector<SpecimenGroup>& newestFirst)
{
    QString text;
    for (qsizetype i = 0; i < newestFirst.size() && i < kRecentPoursListed; ++i)
        text += RecentPourEntry(newestFirst[i]);
    return text;
}

MailGateDecision MailGate(const QString& mailDayText, const QDateTime& today)
{
    if (FormatLongDate(WallTime(today.date())) == mailDayText)
        return {false, QStringLiteral("邮件于") + mailDayText + QStringLiteral("发送成功！")};
    return {true, QStringLiteral("邮件暂未发送")};
}

} // namespace stolvar
