#include "curing/forms/SameConditionTables.h"

#include "core/Conversions.h"
#include "ui/GridCells.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <optional>

namespace stolvar {

namespace {

// Table 1: rows 7 to 21 hold four column pairs (date, temperature) of 15 days each.
constexpr int kFirstDayRow = 7;
constexpr int kLastDayRow = 21;
constexpr int kDaysPerPair = 15;
constexpr int kSummaryRow = 5;
constexpr int kSumColumn = 2;
constexpr int kDayCountColumn = 5;
constexpr int kTitleRow = 1;
constexpr const char* kScreenNoteProperty = "screenNote";

// Table 2: three header rows, seven columns, a tall footer for the signatures.
constexpr int kTable2HeaderRows = 3;
constexpr int kTable2Columns = 7;
constexpr int kFooterHeight = 60;

QString Degrees(const std::optional<float>& value)
{
    return value ? FormatNumber(*value) + QStringLiteral("℃") : QString();
}

QString Degrees(float value)
{
    return FormatNumber(value) + QStringLiteral("℃");
}

// Day n (from 1) of table 1 goes down the pairs: 1–15 in columns 0/1, 16–30 in 2/3, …
void PlaceTable1Day(QTableWidget* grid, int n, const MaturityDay& day)
{
    const int row = kFirstDayRow + (n - 1) % kDaysPerPair;
    const int column = 2 * ((n - 1) / kDaysPerPair);
    SetCellText(grid, row, column, FormatShortDay(day.day));
    SetCellText(grid, row, column + 1, Degrees(day.mean));
}

void WriteTable2Headers(QTableWidget* grid, const Table2Header& header)
{
    grid->setSpan(0, 1, 1, 3);
    grid->setSpan(1, 1, 1, 3);
    grid->setSpan(0, 5, 1, 2);
    grid->setSpan(1, 5, 1, 2);
    SetCellText(grid, 0, 0, QStringLiteral("工程名称"));
    SetCellText(grid, 0, 1, header.project);
    SetCellText(grid, 0, 4, QStringLiteral("成型日期"));
    SetCellText(grid, 0, 5, FormatLongDate(header.castingDate));
    SetCellText(grid, 1, 0, QStringLiteral("工程部位"));
    SetCellText(grid, 1, 1, header.position);
    SetCellText(grid, 1, 4, QStringLiteral("强度等级"));
    SetCellText(grid, 1, 5, header.grade);
    const QString columns[kTable2Columns] = {
        QStringLiteral("日    期"), QStringLiteral("最高温度"), QStringLiteral("最低温度"), QStringLiteral("平均温度"),
        QStringLiteral("有效温度判定"), QStringLiteral("有效天数累计"), QStringLiteral("累计℃·d"),
    };
    for (int column = 0; column < kTable2Columns; ++column)
        SetCellText(grid, 2, column, columns[column]);
    AlignCells(grid, 0, 0, kTable2HeaderRows - 1, kTable2Columns - 1, Qt::AlignCenter);
}

void WriteTable2Day(QTableWidget* grid, int row, const MaturityDay& day)
{
    const QString texts[kTable2Columns] = {
        FormatShortDay(day.day),
        Degrees(day.high),
        Degrees(day.low),
        Degrees(day.mean),
        day.valid ? QStringLiteral("有效") : QStringLiteral("无效"),
        QString::number(day.validSoFar),
        Degrees(day.sumSoFar),
    };
    const bool forecast = day.source == TemperatureSource::Forecast;
    for (int column = 0; column < kTable2Columns; ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        if (forecast) {
            item->setData(kSourceRole, SourceText(day.source));
            item->setToolTip(QStringLiteral("温度来源：") + SourceText(day.source));
        }
        grid->setItem(row, column, item);
    }
}

// The footer may land on a row that held a day: its other cells are emptied.
void WriteTable2Footer(QTableWidget* grid, int row)
{
    if (grid->rowHeight(row) != kFooterHeight)
        grid->setRowHeight(row, kFooterHeight);
    for (int column = 0; column < kTable2Columns; ++column) {
        const char* text = column == 0 ? " 取样员：" : column == 3 ? " 见证员：" : nullptr;
        grid->setItem(row, column, text ? new QTableWidgetItem(QString::fromUtf8(text)) : nullptr);
    }
    grid->setSpan(row, 1, 1, 2);
    grid->setSpan(row, 4, 1, 3);
}

// Forecast days in italics on light blue, on the screen only: the printer paints the
// items' own font and background, which stay as for any other day.
class ForecastCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(kSourceRole).isValid())
            return;
        option->font.setItalic(true);
        option->backgroundBrush = QColor(0xdd, 0xee, 0xff);
    }
};

// The title of table 1 followed, on the screen only, by the grid's note property.
class TitleNoteDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == kTitleRow && index.column() == 0 && !option->text.isEmpty())
            option->text += parent()->property(kScreenNoteProperty).toString();
    }
};

} // namespace

void SetupTable1Grid(QTableWidget* grid)
{
    SetupGrid(grid, 24, 8, 31, 71);
    grid->setItemDelegate(new TitleNoteDelegate(grid));
}

void SetupTable2Grid(QTableWidget* grid)
{
    SetupGrid(grid, kTable2HeaderRows, kTable2Columns, 20, 80);
    grid->setItemDelegate(new ForecastCellDelegate(grid));
}

void WriteGroupHeaderCells(QTableWidget* table1, QTableWidget* table2, const GroupHeader& header)
{
    const QString date = FormatLongDate(header.castingDate);
    SetCellText(table1, 2, 2, header.project);
    SetCellText(table1, 3, 2, header.position);
    SetCellText(table1, 4, 2, date);
    SetCellText(table1, 4, 7, header.grade);
    SetCellText(table2, 0, 5, date);
}

void ClearTable1Days(QTableWidget* grid)
{
    ClearCellTexts(grid, kFirstDayRow, 0, kLastDayRow, grid->columnCount() - 1);
}

QString AccumulatedLabelText(const MaturitySummary& summary, MaturityRule rule)
{
    const QString text = QStringLiteral("同养%1天|").arg(summary.countedDays) + Degrees(summary.accumulated);
    return rule == MaturityRule::Standard2015 ? text + QStringLiteral("|国标") : text;
}

QString ForecastLegendText(const MaturitySummary& summary)
{
    const bool any = std::any_of(summary.days.cbegin(), summary.days.cend(),
                                 [](const MaturityDay& d) { return d.source == TemperatureSource::Forecast; });
    return any ? QStringLiteral("斜体浅蓝底的日期为预报温度，以实测温度为准。") : QString();
}

QString RuleNoteText(MaturityRule rule)
{
    return rule == MaturityRule::Standard2015 ? QStringLiteral("（按GB 50204-2015）") : QString();
}

void ShowRuleNote(QTableWidget* table1, MaturityRule rule)
{
    table1->setProperty(kScreenNoteProperty, RuleNoteText(rule));
    table1->viewport()->update();
}

QString Table2NoteText(MaturityRule rule, const MaturitySummary& summary)
{
    const QString note = RuleNoteText(rule);
    const QString legend = ForecastLegendText(summary);
    if (note.isEmpty())
        return legend;
    return QStringLiteral("同养表（二）") + note + (legend.isEmpty() ? QString() : QStringLiteral("　") + legend);
}

void FillSameConditionTable1(QTableWidget* grid, QLabel* accumulatedLabel, const MaturitySummary& summary,
                             MaturityRule rule)
{
    ClearTable1Days(grid);
    // The accumulation never takes more than 60 days: exactly what the four pairs hold.
    const int shown = std::min<int>(int(summary.days.size()), maturity::kTable1DayCap);
    for (int n = 1; n <= shown; ++n)
        PlaceTable1Day(grid, n, summary.days[n - 1]);
    SetCellText(grid, kSummaryRow, kSumColumn, Degrees(summary.accumulated));
    SetCellText(grid, kSummaryRow, kDayCountColumn, QStringLiteral("%1天").arg(summary.countedDays));
    if (accumulatedLabel)
        accumulatedLabel->setText(AccumulatedLabelText(summary, rule));
}

void FillSameConditionTable2(QTableWidget* grid, const Table2Header& header, const MaturitySummary& summary)
{
    const int dayRows = int(summary.days.size());
    const int footer = kTable2HeaderRows + dayRows;
    const int oldFooter = grid->rowCount() - 1;
    grid->setUpdatesEnabled(false);
    grid->clearSpans();
    // The rows are written over, not dropped and added again: a new row count, or a row
    // of a new height, has the view lay itself out once more after the painting that
    // shows the page, and paint the whole table a second time.
    grid->setRowCount(footer + 1);
    if (oldFooter >= kTable2HeaderRows && oldFooter < footer)
        grid->setRowHeight(oldFooter, grid->verticalHeader()->defaultSectionSize());
    WriteTable2Headers(grid, header);
    for (int i = 0; i < dayRows; ++i)
        WriteTable2Day(grid, kTable2HeaderRows + i, summary.days[i]);
    WriteTable2Footer(grid, footer);
    grid->setUpdatesEnabled(true);
}

} // namespace stolvar
