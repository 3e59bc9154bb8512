#include "model/workbook/StrengthSheet.h"

#include "core/Conversions.h"
#include "model/strength/StrengthTexts.h"

namespace stolvar {

namespace {

constexpr int kColumns = 11;

SheetValue DateValue(const QDateTime& date)
{
    return date.isValid() ? SheetValue(WallTime(date.date())) : SheetValue();
}

SheetValue NumberOrText(const QString& text)
{
    bool ok = false;
    const double n = text.toDouble(&ok);
    return text.isEmpty() ? SheetValue() : ok ? SheetValue(n) : SheetValue(text);
}

// A line across the block's width.
void AppendLine(Sheet& sheet, const QString& text)
{
    const int row = int(sheet.rows.size());
    QVector<SheetValue> cells(kColumns);
    cells[0] = text;
    sheet.rows.append(cells);
    sheet.merges.append({row, 0, row, kColumns - 1});
}

void AppendHeader(Sheet& sheet)
{
    QVector<SheetValue> cells;
    for (const QString& title : EvaluationHeader())
        cells << title;
    sheet.rows.append(cells);
}

void AppendResult(Sheet& sheet, const StrengthRegister& reg, const EvaluationRow& row, int serial, double conversion)
{
    const QStringList texts = EvaluationCells(reg, row, serial, conversion);
    QVector<SheetValue> cells;
    cells << double(serial) << texts[1] << texts[2] << DateValue(reg.groups[row.group].group.castingDate)
          << double(row.number) << texts[5];
    for (const double f : ResultOf(reg, row).strengths)
        cells << f;
    cells << NumberOrText(texts[9]) << texts[10];
    sheet.rows.append(cells);
}

void AppendBlock(Sheet& sheet, const StrengthRegister& reg, const QString& grade, DueKind kind, double conversion)
{
    const EvaluationScope scope{std::nullopt, grade, kind, LotMethod::Automatic, {}, {}};
    const ScopeEvaluation result = EvaluateScope(reg, scope, conversion, {});
    AppendLine(sheet, (grade.isEmpty() ? QStringLiteral("（无强度等级）") : grade) + QStringLiteral("　") + KindChoiceText(kind));
    AppendHeader(sheet);
    int serial = 0;
    for (const EvaluationRow& row : result.rows)
        AppendResult(sheet, reg, row, ++serial, conversion);
    if (!result.lot) {
        AppendLine(sheet, result.resultText);
    } else {
        AppendLine(sheet, LotSummaryText(*result.lot));
        const QStringList conditions = LotConditionTexts(*result.lot);
        for (const QString& condition : conditions)
            AppendLine(sheet, LotMethodHeading(*result.lot) + u'：' + condition);
        AppendLine(sheet, LotVerdictText(*result.lot));
    }
    sheet.rows.append(QVector<SheetValue>());
}

} // namespace

Sheet StrengthSheet(const StrengthRegister& reg, double conversion)
{
    Sheet sheet;
    sheet.name = QStringLiteral("强度评定");
    sheet.headerRows = 0;
    sheet.minimumWidths = {6, 16, 14, 16, 6, 12, 8, 8, 8, 8, 16};
    for (const QString& grade : reg.choices.all.grades) {
        AppendBlock(sheet, reg, grade, DueKind::Standard, conversion);
        AppendBlock(sheet, reg, grade, DueKind::SameCondition, conversion);
    }
    if (sheet.rows.isEmpty())
        AppendLine(sheet, NoEvaluableResultsText());
    return sheet;
}

} // namespace stolvar
