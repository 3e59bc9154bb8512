#include "model/maturity/Worklist.h"

#include "core/Conversions.h"

#include <algorithm>

namespace stolvar {

namespace {

bool StillOpen(const SpecimenGroup& g, DueKind kind)
{
    switch (kind) {
    case DueKind::Standard:
        return g.standardState != kSent && !g.standardCount.isEmpty();
    case DueKind::SameCondition:
        return g.sameState != kSent && !g.sameCount.isEmpty();
    case DueKind::FormRemoval:
        return !g.formCount.isEmpty();
    }
    return false;
}

std::optional<WorkItem> ItemOf(const WorkGroup& w, DueKind kind, const QDate& today, int leadDays)
{
    if (!StillOpen(w.group, kind))
        return std::nullopt;
    WorkItem item{w.group, kind, {}, false, 0};
    if (const std::optional<QDate> day = DueDayOf(w.due, kind)) {
        item.dueDay = *day;
    } else if (kind == DueKind::SameCondition && w.projectedSameCondition) {
        item.dueDay = std::max(*w.projectedSameCondition, today);   // a projection never names a past day
        item.projected = true;
    } else {
        return std::nullopt;
    }
    const int back = kind == DueKind::FormRemoval ? kFormRemovalDaysShown : kWorklistDaysBack;
    item.remaining = RemainingDays(item.dueDay, today);
    if (item.remaining < -back || item.remaining > leadDays)
        return std::nullopt;
    return item;
}

} // namespace

QVector<WorkItem> BuildWorklist(const QVector<WorkGroup>& groups, const QDate& today, int leadDays)
{
    QVector<WorkItem> items;
    for (const WorkGroup& w : groups) {
        for (DueKind kind : kDueKinds) {
            if (const std::optional<WorkItem> item = ItemOf(w, kind, today, leadDays))
                items.append(*item);
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const WorkItem& a, const WorkItem& b) {
        const bool aOverdue = a.remaining < 0;
        const bool bOverdue = b.remaining < 0;
        if (aOverdue != bOverdue)
            return aOverdue;
        return a.dueDay < b.dueDay;
    });
    return items;
}

QStringList WorklistHeader()
{
    return {QStringLiteral("类别"),     QStringLiteral("工程名称"), QStringLiteral("工程部位"), QStringLiteral("强度等级"),
            QStringLiteral("成型日期"), QStringLiteral("到期日期"), QStringLiteral("状态")};
}

QString WorkStateText(int remaining)
{
    if (remaining < 0)
        return QStringLiteral("已过期%1天").arg(-remaining);
    if (remaining == 0)
        return QStringLiteral("今天到期");
    return QStringLiteral("还有%1天").arg(remaining);
}

QStringList WorklistRow(const WorkItem& item)
{
    const QString due = FormatLongDate(WallTime(item.dueDay));
    return {DueKindText(item.kind),
            item.group.project,
            item.group.position,
            item.group.grade,
            FormatLongDate(WallTime(item.group.castingDate.date())),
            item.projected ? QStringLiteral("预计") + due : due,
            WorkStateText(item.remaining)};
}

QString WorklistSummary(const QVector<WorkItem>& items, int leadDays)
{
    int overdue = 0;
    int today = 0;
    int ahead = 0;
    for (const WorkItem& item : items) {
        overdue += item.remaining < 0 ? 1 : 0;
        today += item.remaining == 0 ? 1 : 0;
        ahead += item.remaining > 0 ? 1 : 0;
    }
    return QStringLiteral("已过期%1组，今天到期%2组，%3天内%4组").arg(overdue).arg(today).arg(leadDays).arg(ahead);
}

} // namespace stolvar
