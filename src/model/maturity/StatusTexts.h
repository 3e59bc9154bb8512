#pragma once

#include "db/Records.h"
#include "model/maturity/DueRules.h"

#include <QStringList>

namespace stolvar {

// Standard-cured specimens are tested at 28 days. The panel counts down to the day of
// delivery (casting + 28); the list counts to the day after it (casting + 29), so a group
// shows as expired in the list one day later than in the panel.
inline constexpr int kPanelDueOffset = kStandardCuringDays;
inline constexpr int kListDueOffset = kStandardCuringDays + 1;

// Remaining days from now to casting + offset, truncated toward zero.
int RemainingDays(const QDateTime& castingDate, int offset, const QDateTime& now);

struct PanelTexts {
    QString standardState;   // 标养状态标签
    QString sameState;       // 同养状态标签
    QString dueDate;         // 委托日期标签
    QString remaining;       // 剩余天数标签
};
PanelTexts StatusPanelTexts(const SpecimenGroup& group, const QDateTime& now);

// Header and the nine cells of one row of the standard-curing list.
QStringList StandardListHeader();
QStringList StandardListRow(const SpecimenGroup& group, const QDateTime& now);

} // namespace stolvar
