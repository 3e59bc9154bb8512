#pragma once

#include <QPoint>
#include <QRectF>
#include <QVector>

class QTableWidget;

namespace stolvar {

// Where the rows, columns and merged cells of a grid lie, in screen pixels, as the
// grid shows them. Hidden rows and columns take no room.
class GridGeometry
{
public:
    explicit GridGeometry(const QTableWidget& grid);

    int rows() const { return int(m_rowTop.size()) - 1; }
    int columns() const { return int(m_columnLeft.size()) - 1; }
    double width() const { return m_columnLeft.back(); }
    double top(int row) const { return m_rowTop[row]; }
    double bottom(int row) const { return m_rowTop[row + 1]; }

    // The top-left cell of the merged cell that covers (row, column); the cell itself
    // when it is not merged.
    QPoint origin(int row, int column) const { return m_origin[row * columns() + column]; }
    // The rectangle of the whole merged cell whose top-left cell is (row, column).
    QRectF cellRect(int row, int column) const;
    // True when no merged cell spans across the line between row - 1 and row.
    bool canBreakBefore(int row) const { return m_breakable[row]; }

private:
    void mergeSpans(const QTableWidget& grid);

    QVector<double> m_rowTop;      // rows + 1 entries
    QVector<double> m_columnLeft;  // columns + 1 entries
    QVector<QPoint> m_origin;      // (column, row) of the covering cell
    QVector<int> m_rowSpan;
    QVector<int> m_columnSpan;
    QVector<bool> m_breakable;     // rows + 1 entries
};

// Rows first..last (both included) printed on one page.
struct PageRows {
    int first = 0;
    int last = 0;
};

// Cuts the rows into pages of at most pageHeight pixels, between merged cells where it
// can; a single row taller than a page gets a page of its own.
QVector<PageRows> SplitIntoPages(const GridGeometry& geometry, double pageHeight);

} // namespace stolvar
