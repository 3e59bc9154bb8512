#include "ui/GridCells.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>
#include <utility>

namespace stolvar {

QTableWidgetItem* CellItem(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    return item;
}

void SetCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    CellItem(grid, row, column)->setText(text);
}

QString CellText(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

void ClearCellTexts(QTableWidget* grid, int top, int left, int bottom, int right)
{
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (QTableWidgetItem* item = grid->item(row, column))
                item->setText(QString());
        }
    }
}

void AlignCells(QTableWidget* grid, int top, int left, int bottom, int right, Qt::Alignment alignment)
{
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column)
            CellItem(grid, row, column)->setTextAlignment(alignment);
    }
}

namespace {

// Room around a text inside its cell: the grid line and a little air.
constexpr int kTextPaddingX = 6;
constexpr int kTextPaddingY = 4;

int SpannedWidth(const QTableWidget* grid, int column, int columns)
{
    int width = 0;
    for (int c = column; c < column + columns; ++c)
        width += grid->isColumnHidden(c) ? 0 : grid->columnWidth(c);
    return width;
}

int SpannedHeight(const QTableWidget* grid, int row, int rows)
{
    int height = 0;
    for (int r = row; r < row + rows; ++r)
        height += grid->isRowHidden(r) ? 0 : grid->rowHeight(r);
    return height;
}

// Table 1 is filled again at every click on a position, mostly with texts it has shown
// before (days, temperatures, headings); each is shaped and measured once. On the UI
// thread only, as every widget; a few thousand texts at most are kept.
QSize TextSize(const QFont& font, const QString& text)
{
    static QHash<std::pair<QFont, QString>, QSize> measured;
    constexpr qsizetype kMaxMeasured = 4096;
    std::pair<QFont, QString> key{font, text};
    if (const auto known = measured.constFind(key); known != measured.cend())
        return *known;
    if (measured.size() >= kMaxMeasured)
        measured.clear();
    const QSize size = QFontMetrics(font).size(0, text);
    measured.insert(std::move(key), size);
    return size;
}

void GrowCell(QTableWidget* grid, const QTableWidgetItem& item, int row, int column)
{
    const int rows = std::max(1, grid->rowSpan(row, column));
    const int columns = std::max(1, grid->columnSpan(row, column));
    const QSize text = TextSize(item.font(), item.text());
    const int last = column + columns - 1;
    const int missingWidth = text.width() + kTextPaddingX - SpannedWidth(grid, column, columns);
    if (missingWidth > 0 && !grid->isColumnHidden(last))
        grid->setColumnWidth(last, grid->columnWidth(last) + missingWidth);
    const int bottom = row + rows - 1;
    const int missingHeight = text.height() + kTextPaddingY - SpannedHeight(grid, row, rows);
    if (missingHeight > 0 && !grid->isRowHidden(bottom))
        grid->setRowHeight(bottom, grid->rowHeight(bottom) + missingHeight);
}

} // namespace

void GrowToFitTexts(QTableWidget* grid)
{
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QTableWidgetItem* item = grid->item(row, column);
            if (item && !item->text().isEmpty() && !grid->isRowHidden(row) && !grid->isColumnHidden(column))
                GrowCell(grid, *item, row, column);
        }
    }
}

void SetupGrid(QTableWidget* grid, int rows, int columns, int rowHeight, int columnWidth)
{
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    // Small minimums so that narrow spacer columns and short rows keep their sizes.
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setRowCount(rows);
    grid->setColumnCount(columns);
}

} // namespace stolvar
