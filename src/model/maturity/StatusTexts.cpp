#include "model/maturity/StatusTexts.h"

#include "core/Conversions.h"
#include "model/maturity/DueDays.h"
#include "model/maturity/DueRules.h"

namespace stolvar {

namespace {

QDate StandardDueDay(const SpecimenGroup& group)
{
    return group.castingDate.isValid() ? group.castingDate.date().addDays(kStandardCuringDays) : QDate();
}

} // namespace

PanelTexts StatusPanelTexts(const SpecimenGroup& group, const QDateTime& now)
{
    PanelTexts texts;
    texts.standardState = QStringLiteral("标养状态：") + group.standardState;
    texts.sameState = QStringLiteral("同养状态：") + group.sameState;
    const QDate due = StandardDueDay(group);
    texts.dueDate = FormatLongDay(due);
    const int n = RemainingDays(due, now.date());
    if (!due.isValid() || n < 0)
        texts.remaining = QStringLiteral("该试块已过期");
    else if (n == 0)
        texts.remaining = QStringLiteral("今天达到龄期");
    else
        texts.remaining = QStringLiteral("还有%1天达到龄期").arg(n);
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
    const QDate due = StandardDueDay(group);
    const int m = RemainingDays(due, now.date());
    const QString remaining = !due.isValid() || m < 0 ? QStringLiteral("已过期")
                              : m == 0               ? QStringLiteral("今天到期")
                                                     : QStringLiteral("%1天").arg(m);
    return {QString(),
            group.position,
            group.grade,
            FormatLongDate(group.castingDate),
            FormatLongDay(due),
            remaining,
            group.standardState,
            group.sameState,
            group.standardCount};
}

} // namespace stolvar
