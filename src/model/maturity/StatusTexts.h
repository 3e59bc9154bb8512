#pragma once

#include "db/Records.h"

#include <QStringList>

namespace stolvar {

// The texts of the status panel and the standard-curing list for a group. Both count the
// calendar days from today to the standard due day (casting + 28): the time of day of `now`
// and of the casting date never shifts it.
struct PanelTexts {
    QString standardState;   // 标养状态标签
    QString sameState;       // 同养状态标签
    QString dueDate;         // 委托日期标签
    QString remaining;       // 剩余天数标签: "还有N天达到龄期", "今天达到龄期", "该试块已过期"
};
PanelTexts StatusPanelTexts(const SpecimenGroup& group, const QDateTime& now);

// Header and the nine cells of one row of the standard-curing list; 剩余天数 reads "N天",
// "今天到期" or "已过期".
QStringList StandardListHeader();
QStringList StandardListRow(const SpecimenGroup& group, const QDateTime& now);

} // namespace stolvar
