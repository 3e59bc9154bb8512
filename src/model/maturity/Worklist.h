#pragma once

#include "db/Records.h"
#include "model/maturity/DueDays.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace stolvar {

// What needs the clerk today: every group and kind due from 30 days ago up to the lead
// time ahead (same-condition groups by their reached day, or else their projected one),
// standard and same-condition specimens until they are marked sent, form-removal specimens
// until a week after their day.
inline constexpr int kWorklistDaysBack = 30;
inline constexpr int kFormRemovalDaysShown = 7;

struct WorkItem {
    SpecimenGroup group;
    DueKind kind = DueKind::Standard;
    QDate dueDay;
    bool projected = false;   // a same-condition day not reached yet, from the projection
    int remaining = 0;        // calendar days from today
};

// One group's days: its due days and, while its same-condition day is not reached, the
// projected one.
struct WorkGroup {
    SpecimenGroup group;
    GroupDueDays due;
    std::optional<QDate> projectedSameCondition;
};

// Overdue rows first, then by due day.
QVector<WorkItem> BuildWorklist(const QVector<WorkGroup>& groups, const QDate& today, int leadDays);

// The row of the grid 待办表格: 类别, 工程名称, 工程部位, 强度等级, 成型日期, 到期日期, 状态.
QStringList WorklistHeader();
QStringList WorklistRow(const WorkItem& item);
// "已过期N天", "今天到期", "还有N天".
QString WorkStateText(int remaining);
// "已过期N组，今天到期M组，L天内K组".
QString WorklistSummary(const QVector<WorkItem>& items, int leadDays);

} // namespace stolvar
