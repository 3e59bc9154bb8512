#include "model/workbook/WorkbookSheets.h"

#include "core/Conversions.h"
#include "model/maturity/DueRules.h"

#include <QRegularExpression>

#include <optional>

namespace stolvar {

namespace {

std::optional<double> StrictNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

std::optional<QDateTime> LongDate(const QString& text)
{
    QDateTime parsed;
    if (!text.contains(QStringLiteral("年")) || !TryParseDateText(text, &parsed) || FormatLongDate(parsed) != text)
        return std::nullopt;
    return parsed;
}

std::optional<QDateTime> ShortDay(const QString& text, const QDateTime& anchor)
{
    static const QRegularExpression shortDay(QStringLiteral("^(\\d{1,2})月(\\d{1,2})日$"));
    const QRegularExpressionMatch m = shortDay.match(text);
    if (!anchor.isValid() || !m.hasMatch())
        return std::nullopt;
    const int month = m.captured(1).toInt();
    const int day = m.captured(2).toInt();
    for (int year = anchor.date().year(); year <= anchor.date().year() + 1; ++year) {
        const QDate date(year, month, day);
        if (date.isValid() && date >= anchor.date())
            return WallTime(date);
    }
    return std::nullopt;
}

QVector<SheetValue> GroupRow(const SpecimenGroup& g)
{
    const auto count = [](const QString& text) -> SheetValue {
        if (const std::optional<double> n = StrictNumber(text.trimmed()))
            return *n;
        return text.isEmpty() ? SheetValue() : SheetValue(text);
    };
    const auto date = [](const QDateTime& d) { return d.isValid() ? SheetValue(d) : SheetValue(); };
    return {g.project, g.position, g.grade, date(g.castingDate),
            date(g.castingDate.isValid() ? WallTime(g.castingDate.date().addDays(kStandardCuringDays)) : QDateTime()), g.standardState, g.sameState,
            count(g.standardCount), count(g.sameCount), count(g.formCount)};
}

} // namespace

SheetValue SheetValueFromText(const QString& text, const QDateTime& anchor)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (const std::optional<double> n = StrictNumber(trimmed))
        return *n;
    if (trimmed.endsWith(QStringLiteral("℃"))) {
        if (const std::optional<double> n = StrictNumber(trimmed.chopped(1)))
            return Degrees{*n};
    }
    if (const std::optional<QDateTime> d = LongDate(trimmed))
        return *d;
    if (const std::optional<QDateTime> d = ShortDay(trimmed, anchor))
        return *d;
    return text;
}

Sheet GroupsSheet(const QVector<SpecimenGroup>& groups)
{
    Sheet sheet;
    sheet.name = QStringLiteral("全部试块");
    sheet.rows.reserve(groups.size() + 1);
    sheet.rows.append(QVector<SheetValue>{QStringLiteral("工程名称"), QStringLiteral("工程部位"), QStringLiteral("强度等级"),
                       QStringLiteral("取样日期"), QStringLiteral("委托日期"), QStringLiteral("标养状态"),
                       QStringLiteral("同养状态"), QStringLiteral("标养组数"), QStringLiteral("同养组数"),
                       QStringLiteral("拆模组数")});
    for (const SpecimenGroup& group : groups)
        sheet.rows.append(GroupRow(group));
    return sheet;
}

} // namespace stolvar
