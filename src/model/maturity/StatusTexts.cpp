#include "model/maturity/StatusTexts.h"

#include "core/Conversions.h"

namespace stolvar {

int RemainingDays(const QDateTime& castingDate, int offset, const QDateTime& now)
{
    return WholeDaysBetween(now, AddDays(castingDate, offset));
}

PanelTexts StatusPanelTexts(const SpecimenGroup& group, const QDateTime& now)
{
    PanelTexts texts;
    texts.standardState = QStringLiteral("标养状态：") + group.standardState;
    texts.sameState = QStringLiteral("同养状态：") + group.sameState;
    texts.dueDate = FormatLongDate(AddDays(group.castingDate, kPanelDueOffset));
    const int n = RemainingDays(group.castingDate, kPanelDueOffset, now);
    texts.remaining = n > 0 ? QStringLiteral("还有%1天达到龄期").arg(n) : QStringLiteral("该试块已过期");
    return texts;
}

QStringList StandardListHeader()
{
    return {QString(),
            QStringLiteral("工程部位"),
            QStringLiteral("强度等级"),
            QStringLiteral("取样日期"),
            QStringLiteral("委托日期"),
            QStringLiteral("剩余天数"),
            QStringLiteral("标养状态"),
            QStringLiteral("同养状态"),
            QStringLiteral("标养组数")};
}

QStringList StandardListRow(const SpecimenGroup& group, const QDateTime& now)
{
    const int m = RemainingDays(group.castingDate, kListDueOffset, now);
    return {QString(),
            group.position,
            group.grade,
            FormatLongDate(group.castingDate),
            FormatLongDate(AddDays(group.castingDate, kListDueOffset)),
            m > 0 ? QStringLiteral("%1天").arg(m) : QStringLiteral("已过期"),
            group.standardState,
            group.sameState,
            group.standardCount};
}

} // namespace stolvar
