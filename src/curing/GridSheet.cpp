#include "curing/GridSheet.h"

#include "model/workbook/WorkbookSheets.h"

#include <QSet>
#include <QTableWidget>

namespace stolvar {

namespace {

// Grid column widths are pixels; a spreadsheet column counts characters of about 7 px.
constexpr double kPixelsPerCharacter = 7.0;

} // namespace

Sheet SheetFromGrid(const QString& name, const QTableWidget& grid, int headerRows, bool form, const QDateTime& anchor)
{
    Sheet sheet;
    sheet.name = name;
    sheet.headerRows = headerRows;
    sheet.gridLines = form;
    for (int c = 0; c < grid.columnCount(); ++c)
        sheet.minimumWidths.append(grid.isColumnHidden(c) ? 0 : grid.columnWidth(c) / kPixelsPerCharacter);
    // The grid reports a span for every cell it covers; the first cell met (its top left
    // in row order) starts the merge, the others are covered.
    QSet<QPair<int, int>> covered;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QVector<SheetValue> row;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            row.append(item ? SheetValueFromText(item->text(), anchor) : SheetValue());
            const int rows = grid.rowSpan(r, c);
            const int columns = grid.columnSpan(r, c);
            if ((rows > 1 || columns > 1) && !covered.contains({r, c})) {
                sheet.merges.append({r, c, r + rows - 1, c + columns - 1});
                for (int dr = 0; dr < rows; ++dr)
                    for (int dc = 0; dc < columns; ++dc)
                        covered.insert({r + dr, c + dc});
            }
        }
        sheet.rows.append(row);
    }
    return sheet;
}

} // namespace stolvar
