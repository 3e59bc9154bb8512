#include "ui/GridCells.h"

#include <QHeaderView>
#include <QTableWidget>

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
