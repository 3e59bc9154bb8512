#include "model/mail/ReminderTexts.h"

#include "core/Conversions.h"

namespace stolvar {

namespace {

QString Head(const SpecimenGroup& group, const QString& positionSuffix = {})
{
    return QStringLiteral("工程名称：") + group.project + QStringLiteral("\r\n工程部位：") + group.position
           + positionSuffix + QStringLiteral("\r\n强度等级：") + group.grade;
}

QString DeliveryLines(const SpecimenGroup& group, int deliveryDays)
{
    return QStringLiteral("\r\n成型日期") + FormatLongDate(group.castingDate) + QStringLiteral("\r\n送样日期")
           + FormatLongDate(AddDays(group.castingDate, deliveryDays));
}

QString CastingLine(const SpecimenGroup& group)
{
    return QStringLiteral("\r\n成型日期：") + FormatLongDate(group.castingDate);
}

} // namespace

QString StandardDueEntry(const SpecimenGroup& group)
{
    return Head(group) + DeliveryLines(group, kStandardCuringDays) + QStringLiteral("\r\n标养：")
           + group.standardCount + QStringLiteral("\r\n\r\n");
}

QString FormRemovalEntry(const SpecimenGroup& group)
{
    return Head(group, QStringLiteral("【梁板拆模】")) + DeliveryLines(group, kFormRemovalDays)
           + QStringLiteral("\r\n\r\n");
}

QString StandardRuleSuffix()
{
    return QStringLiteral("（按GB 50204-2015）");
}

QString SameConditionEntry(const SpecimenGroup& group, const QDateTime& targetDate, float sum, int age,
                           const QString& ruleSuffix)
{
    const QString upTo = QStringLiteral("\r\n截止至") + FormatLongDate(targetDate);
    return Head(group) + CastingLine(group) + QStringLiteral("\r\n同养：") + group.sameCount + upTo
           + QStringLiteral("累计温度为：") + FormatNumber(sum) + QStringLiteral("℃") + ruleSuffix + upTo
           + QStringLiteral("同条件养护龄期为") + QString::number(age) + QStringLiteral("天\r\n\r\n");
}

QString RecentPourEntry(const SpecimenGroup& group)
{
    return Head(group) + CastingLine(group) + QStringLiteral("\r\n\r\n");
}

} // namespace stolvar
