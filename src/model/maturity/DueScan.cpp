#include "model/maturity/DueScan.h"

#include "core/Conversions.h"
#include "model/mail/ReminderTexts.h"

namespace stolvar {

namespace {

bool CountdownHits(const QDateTime& casting, int referenceDays, const QDateTime& now, int daysAhead)
{
    const QDateTime reference = AddDays(casting, referenceDays);
    return reference.date() >= now.date() && WholeDaysBetween(now, reference) == daysAhead;
}

bool StandardDue(const SpecimenGroup& g, const QDateTime& now, int daysAhead)
{
    return g.standardState == kNotSent && CountdownHits(g.castingDate, kStandardReferenceDays, now, daysAhead);
}

// Any count text, "0" included, means form-removal specimens were made.
bool FormRemovalDue(const SpecimenGroup& g, const QDateTime& now, int daysAhead)
{
    return !g.formCount.isEmpty() && CountdownHits(g.castingDate, kFormRemovalReferenceDays, now, daysAhead);
}

} // namespace

DueTexts ScanDueSpecimens(const QVector<SpecimenGroup>& groups, const QDateTime& now, int daysAhead)
{
    DueTexts texts;
    for (const SpecimenGroup& g : groups) {
        if (!g.castingDate.isValid())
            continue;
        if (StandardDue(g, now, daysAhead))
            texts.standardText += StandardDueEntry(g);
        if (FormRemovalDue(g, now, daysAhead))
            texts.formRemovalText += FormRemovalEntry(g);
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
