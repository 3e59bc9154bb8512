#pragma once

#include "db/Records.h"
#include "model/maturity/Maturity.h"
#include "model/maturity/MaturityRule.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

// The three kinds of specimens a group may have, each coming due on a day of its own.
enum class DueKind { Standard, SameCondition, FormRemoval };
inline constexpr DueKind kDueKinds[] = {DueKind::Standard, DueKind::SameCondition, DueKind::FormRemoval};
QString DueKindText(DueKind kind);   // "标养", "同养", "拆模"

// The records a group's same-condition days are read from: its casting day to 60 days
// after, or 90 under the national standard's rule, whose frost days do not count.
DayWindow DueWindow(const QDateTime& castingDate, MaturityRule rule);

// How far a group's same-condition accumulation has come on a day.
struct MaturityOnDay {
    float sum = 0;          // ℃·d, as table 1 sums them up to that day
    int countedDays = 0;    // records counted up to that day
    int age = 0;            // calendar days from casting to that day
};

// The one computation of a group's due days, from its casting date and the records of its
// due window (ascending; forecast days count as stored days). Dates only: a time of day in
// the casting date never shifts a due day. Every view, print, scan, mail and export takes
// its dates from here.
struct GroupDueDays {
    QDate standard;                       // casting + 28
    QDate formRemoval;                    // casting + 14
    std::optional<QDate> sameCondition;   // 600 ℃·d or the 60th counted day; none yet
    bool sameConditionByCap = false;      // reached by the 60th counted day, below 600 ℃·d
    MaturitySummary table1;               // the accumulation of table 1 it rests on
};
GroupDueDays ComputeDueDays(const QDateTime& castingDate, const QVector<TemperatureRecord>& window,
                            const CountingRule& rule);

// The accumulation of table 1 as it stands on `day` (the records after it not yet taken).
MaturityOnDay MaturityOn(const GroupDueDays& due, const QDateTime& castingDate, const QDate& day);

// The due day of one kind; none for a same-condition group not due yet.
std::optional<QDate> DueDayOf(const GroupDueDays& due, DueKind kind);

// Calendar days from today to the due day: 0 is today, a negative number is past.
int RemainingDays(const QDate& dueDay, const QDate& today);

} // namespace stolvar
