#pragma once

#include "db/Records.h"
#include "model/maturity/DueRules.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

// The countdown runs to the day after delivery, so that the remaining days stay at
// daysAhead from the start to the end of the reminder day.
constexpr int kStandardReferenceDays = kStandardCuringDays + 1;
constexpr int kFormRemovalReferenceDays = kFormRemovalDays + 1;

struct DueTexts {
    QString standardText;     // 到期提醒编辑框
    QString formRemovalText;  // 拆模提醒编辑框
};

// Groups whose delivery date lies daysAhead days ahead of `now` (local wall time). The
// countdown is truncated toward zero, so a group is listed during the whole calendar day
// on which its delivery is daysAhead days away.
DueTexts ScanDueSpecimens(const QVector<SpecimenGroup>& groups, const QDateTime& now, int daysAhead);

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
