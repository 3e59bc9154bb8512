#include "ui/GridGeometry.h"

#include <QTableWidget>

#include <algorithm>

namespace stolvar {

GridGeometry::GridGeometry(const QTableWidget& grid)
{
    m_rowTop.append(0.0);
    for (int row = 0; row < grid.rowCount(); ++row)
        m_rowTop.append(m_rowTop.back() + (grid.isRowHidden(row) ? 0 : grid.rowHeight(row)));
    m_columnLeft.append(0.0);
    for (int column = 0; column < grid.columnCount(); ++column)
        m_columnLeft.append(m_columnLeft.back() + (grid.isColumnHidden(column) ? 0 : grid.columnWidth(column)));
    mergeSpans(grid);
}

void GridGeometry::mergeSpans(const QTableWidget& grid)
{
    const int cells = rows() * columns();
    m_origin.resize(cells);
    m_rowSpan.fill(1, cells);
    m_columnSpan.fill(1, cells);
    m_breakable.fill(true, rows() + 1);
    for (int row = 0; row < rows(); ++row) {
        for (int column = 0; column < columns(); ++column)
            m_origin[row * columns() + column] = QPoint(column, row);
    }
    for (int row = 0; row < rows(); ++row) {
        for (int column = 0; column < columns(); ++column) {
            if (origin(row, column) != QPoint(column, row))
                continue;   // already inside an earlier merged cell
            const int rowSpan = std::clamp(grid.rowSpan(row, column), 1, rows() - row);
            const int columnSpan = std::clamp(grid.columnSpan(row, column), 1, columns() - column);
            m_rowSpan[row * columns() + column] = rowSpan;
            m_columnSpan[row * columns() + column] = columnSpan;
            for (int r = row; r < row + rowSpan; ++r) {
                for (int c = column; c < column + columnSpan; ++c)
                    m_origin[r * columns() + c] = QPoint(column, row);
            }
            for (int r = row + 1; r < row + rowSpan; ++r)
                m_breakable[r] = false;
        }
    }
}

QRectF GridGeometry::cellRect(int row, int column) const
{
    const int index = row * columns() + column;
    const double left = m_columnLeft[column];
    const double top = m_rowTop[row];
    return QRectF(left, top, m_columnLeft[column + m_columnSpan[index]] - left,
                  m_rowTop[row + m_rowSpan[index]] - top);
}

namespace {

// The first row after `first` that does not fit on a page starting at `first`.
int FirstRowBeyond(const GridGeometry& g, int first, double pageHeight)
{
    int end = first + 1;   // a page holds at least one row
    while (end < g.rows() && g.bottom(end) - g.top(first) <= pageHeight)
        ++end;
    return end;
}

} // namespace

QVector<PageRows> SplitIntoPages(const GridGeometry& geometry, double pageHeight)
{
    QVector<PageRows> pages;
    int first = 0;
    while (first < geometry.rows()) {
        const int beyond = FirstRowBeyond(geometry, first, pageHeight);
        int cut = beyond;
        while (cut < geometry.rows() && cut > first + 1 && !geometry.canBreakBefore(cut))
            --cut;
        if (cut < geometry.rows() && !geometry.canBreakBefore(cut))
            cut = beyond;   // a merged cell taller than a page: cut through it
        pages.append({first, cut - 1});
        first = cut;
    }
    return pages;
}

} // namespace stolvar
