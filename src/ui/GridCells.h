#pragma once

#include <QString>
#include <Qt>

class QTableWidget;
class QTableWidgetItem;

namespace stolvar {

// Cell operations of the printable grids. Writing a text keeps the cell's font and
// alignment, so a form's frame survives every refill of its values.
QTableWidgetItem* CellItem(QTableWidget* grid, int row, int column);
void SetCellText(QTableWidget* grid, int row, int column, const QString& text);
QString CellText(const QTableWidget& grid, int row, int column);
// Empties the texts of a rectangle (both ends included), keeping the formats.
void ClearCellTexts(QTableWidget* grid, int top, int left, int bottom, int right);
void AlignCells(QTableWidget* grid, int top, int left, int bottom, int right, Qt::Alignment alignment);

// Widens columns and heightens rows until every text shows whole in its own font (a merged
// cell's text against the width and height of the whole merge); never narrows anything.
// A large table font (表格字号) grows the grid instead of cutting dates and sums.
void GrowToFitTexts(QTableWidget* grid);

// A grid with no visible headers, read-only, with the given default cell size.
void SetupGrid(QTableWidget* grid, int rows, int columns, int rowHeight, int columnWidth);

} // namespace stolvar
