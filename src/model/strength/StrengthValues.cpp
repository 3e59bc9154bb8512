#include "model/strength/StrengthValues.h"

#include "core/Conversions.h"
#include "db/Records.h"
#include "model/strength/StrengthRules.h"

#include <QRegularExpression>

namespace stolvar {

namespace {

ReadRow Problem(ResultColumn column, const QString& message)
{
    return {std::nullopt, CellProblem{column, message}};
}

std::optional<int> ReadEdge(const QString& text)
{
    QString edge = FoldFullWidth(text).trimmed();
    if (edge.endsWith(QStringLiteral("mm"), Qt::CaseInsensitive))
        edge.chop(2);
    bool ok = false;
    const int mm = edge.trimmed().toInt(&ok);
    return ok && SizeFactor(mm) ? std::optional<int>(mm) : std::nullopt;
}

ResultColumn StrengthColumn(int i)
{
    return i == 0 ? ResultColumn::Strength1 : i == 1 ? ResultColumn::Strength2 : ResultColumn::Strength3;
}

bool AllEmpty(const std::array<QString, 3>& strengths)
{
    return strengths[0].trimmed().isEmpty() && strengths[1].trimmed().isEmpty() && strengths[2].trimmed().isEmpty();
}

// The strengths of a row, or the first cell that is wrong.
std::optional<CellProblem> ReadStrengths(const std::array<QString, 3>& cells, std::array<double, 3>* out)
{
    for (int i = 0; i < 3; ++i) {
        if (cells[size_t(i)].trimmed().isEmpty())
            return CellProblem{StrengthColumn(i), QStringLiteral("三个试件的强度都应填写")};
        const std::optional<double> f = ParseDecimal(cells[size_t(i)]);
        if (!f || *f <= 0 || *f > strength::kMaximumStrength)
            return CellProblem{StrengthColumn(i), QStringLiteral("强度应大于0且不超过150MPa（输入：%1）").arg(cells[size_t(i)])};
        (*out)[size_t(i)] = *f;
    }
    return std::nullopt;
}

std::optional<CellProblem> ReadTestDate(const QString& text, const QDate& casting, QDateTime* out)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    if (!TryParseDateText(text.trimmed(), out))
        return CellProblem{ResultColumn::TestDate, QStringLiteral("不是日期（输入：%1）").arg(text)};
    *out = WallTime(out->date());
    if (casting.isValid() && out->date() < casting)
        return CellProblem{ResultColumn::TestDate,
                           QStringLiteral("试验日期不能早于成型日期%1").arg(FormatLongDate(WallTime(casting)))};
    return std::nullopt;
}

} // namespace

std::optional<double> ParseDecimal(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    QString folded = FoldFullWidth(text).trimmed();
    if (!number.match(folded).hasMatch())
        return std::nullopt;
    folded.replace(u',', u'.');
    return folded.toDouble();
}

QString ResultColumnTitle(ResultColumn column)
{
    switch (column) {
    case ResultColumn::Report:
        return QStringLiteral("报告编号");
    case ResultColumn::TestDate:
        return QStringLiteral("试验日期");
    case ResultColumn::Size:
        return QStringLiteral("尺寸");
    case ResultColumn::Strength1:
        return QStringLiteral("强度1");
    case ResultColumn::Strength2:
        return QStringLiteral("强度2");
    case ResultColumn::Strength3:
        return QStringLiteral("强度3");
    }
    return {};
}

ReadRow ReadResultCells(const ResultCells& cells, DueKind kind, int number, const QDate& casting)
{
    if (AllEmpty(cells.strengths))
        return {};
    TestResult r;
    r.kind = kind;
    r.number = number;
    if (const std::optional<CellProblem> p = ReadStrengths(cells.strengths, &r.strengths))
        return {std::nullopt, p};
    const std::optional<int> edge = ReadEdge(cells.size);
    if (!edge)
        return Problem(ResultColumn::Size, QStringLiteral("试件尺寸应为100、150或200（输入：%1）").arg(cells.size));
    r.edgeMm = *edge;
    if (const std::optional<CellProblem> p = ReadTestDate(cells.testDate, casting, &r.testDate))
        return {std::nullopt, p};
    r.report = cells.report.trimmed();
    if (r.report.size() > kTextColumnWidth)
        return Problem(ResultColumn::Report, QStringLiteral("报告编号不能超过%1个字符").arg(kTextColumnWidth));
    return {r, std::nullopt};
}

QString CellProblemText(int row, DueKind kind, int number, const CellProblem& problem)
{
    return QStringLiteral("第%1行（%2第%3组）%4：%5")
        .arg(row)
        .arg(DueKindText(kind))
        .arg(number)
        .arg(ResultColumnTitle(problem.column), problem.message);
}

} // namespace stolvar
