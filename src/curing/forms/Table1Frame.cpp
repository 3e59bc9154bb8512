#include "curing/forms/Table1Frame.h"

#include "core/Conversions.h"
#include "core/SettingsStore.h"
#include "ui/GridCells.h"

#include <QTableWidget>

#include <algorithm>

namespace stolvar {

namespace {

constexpr int kRows = 24;
constexpr int kColumns = 8;

struct Span {
    int row, column, rows, columns;
};

// Merged cells of the form, top to bottom.
constexpr Span kSpans[] = {
    {0, 0, 1, 8}, {1, 0, 1, 8},                                // form code, title
    {2, 0, 1, 2}, {2, 2, 1, 6},                                // project
    {3, 0, 1, 2}, {3, 2, 1, 6},                                // position
    {4, 0, 1, 2}, {4, 2, 1, 3}, {4, 5, 1, 2},                  // casting date, grade
    {5, 0, 1, 2}, {5, 3, 1, 2}, {5, 5, 1, 3},                  // accumulated, curing age
    {6, 0, 1, 2}, {6, 2, 1, 2}, {6, 4, 1, 2}, {6, 6, 1, 2},    // day-area captions
    {22, 0, 2, 2}, {22, 2, 2, 2}, {22, 4, 2, 2}, {22, 6, 2, 2}, // signatures
};

struct FixedText {
    int row, column;
    const char16_t* text;
};

constexpr FixedText kTexts[] = {
    {0, 0, u"HJ0.1-2-8"},
    {1, 0, u"混凝土结构同条件养护试块养护记录"},
    {2, 0, u"工程名称："},
    {3, 0, u"工程部位："},
    {4, 0, u"成型日期："},
    {4, 5, u"强度等级："},
    {5, 0, u"累计温度："},
    {5, 3, u"养护龄期为："},
    {6, 0, u"日期/温度"},
    {6, 2, u"日期/温度"},
    {6, 4, u"日期/温度"},
    {6, 6, u"日期/温度"},
    {22, 0, u"施工单位试验员："},
    {22, 4, u"监理单位见证员："},
};

void MergeFrameCells(QTableWidget* grid)
{
    // The fills never merge cells of table 1, so every span here is the frame's own.
    grid->clearSpans();
    for (const Span& s : kSpans)
        grid->setSpan(s.row, s.column, s.rows, s.columns);
}

// A mistyped size such as 1000000 would make the form unusable; larger sizes are capped.
constexpr int kLargestFontSize = 200;

QFont SizedFont(const QTableWidget* grid, int size)
{
    QFont font = grid->font();
    if (size > 0)
        font.setPointSize(std::min(size, kLargestFontSize));
    return font;
}

void ApplyFonts(QTableWidget* grid, int titleFontSize, int tableFontSize)
{
    CellItem(grid, 0, 0)->setFont(grid->font());
    QFont title = SizedFont(grid, titleFontSize);
    title.setWeight(QFont::Bold);
    title.setItalic(false);
    title.setUnderline(false);
    CellItem(grid, 1, 0)->setFont(title);
    const QFont table = SizedFont(grid, tableFontSize);
    for (int row = 2; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column)
            CellItem(grid, row, column)->setFont(table);
    }
}

} // namespace

Table1FontSizes ReadTable1FontSizes(const SettingsStore& settings)
{
    return {TruncateToInt(ParseNumberText(settings.read(keys::kTitleFontSize))),
            TruncateToInt(ParseNumberText(settings.read(keys::kTableFontSize)))};
}

void ApplyTable1Frame(QTableWidget* grid, int titleFontSize, int tableFontSize)
{
    if (grid->rowCount() < kRows)
        grid->setRowCount(kRows);
    if (grid->columnCount() < kColumns)
        grid->setColumnCount(kColumns);
    MergeFrameCells(grid);
    grid->setRowHeight(0, 20);
    grid->setRowHeight(1, 40);
    for (const FixedText& t : kTexts)
        SetCellText(grid, t.row, t.column, QString::fromUtf16(t.text));
    ApplyFonts(grid, titleFontSize, tableFontSize);
    AlignCells(grid, 0, 0, 0, kColumns - 1, Qt::AlignRight | Qt::AlignVCenter);
    AlignCells(grid, 1, 0, kRows - 1, kColumns - 1, Qt::AlignCenter);
}

} // namespace stolvar
