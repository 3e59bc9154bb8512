#pragma once

#include "model/maturity/Maturity.h"

#include <QDateTime>
#include <QString>

class QLabel;
class QTableWidget;

namespace stolvar {

// Designs of the two same-condition grids, applied when they are built.
void SetupTable1Grid(QTableWidget* grid);        // same-condition form: 24 × 8, rows 31, columns 71
void SetupTable2Grid(QTableWidget* grid);        // row-per-day record: 3 × 7, rows 20, columns 80

// The selected group as both forms show it in their headers.
struct GroupHeader {
    QString project;
    QString position;
    QDateTime castingDate;
    QString grade;
};
using Table2Header = GroupHeader;

// The group cells of table 1 (project, position, casting date, grade) and the casting
// date of table 2, written when a position is selected.
void WriteGroupHeaderCells(QTableWidget* table1, QTableWidget* table2, const GroupHeader& header);

// Table 1: empties the day area, places each counted day in its column pair and writes
// the accumulated degree-days and the day count, in the grid and in the label.
void FillSameConditionTable1(QTableWidget* grid, QLabel* accumulatedLabel, const MaturitySummary& summary,
                             MaturityRule rule = MaturityRule::Classic);
// Only the day area is emptied, e.g. when the days could not be read.
void ClearTable1Days(QTableWidget* grid);
// The label text: 同养23天|604.5℃, ending with "|国标" under the national standard's rule.
QString AccumulatedLabelText(const MaturitySummary& summary, MaturityRule rule = MaturityRule::Classic);

// Table 2: rebuilt completely: three header rows, one row per counted day, signature footer.
// The cells of a forecast day carry its source (kSourceRole) and a tooltip naming it; the
// grid's delegate shows them in italics on light blue, on the screen only.
void FillSameConditionTable2(QTableWidget* grid, const Table2Header& header, const MaturitySummary& summary);
inline constexpr int kSourceRole = Qt::UserRole + 1;
// The line under table 2 explaining the forecast rows; empty when no row is a forecast.
QString ForecastLegendText(const MaturitySummary& summary);
// "（按GB 50204-2015）" under the national standard's rule, else empty. On the screen it
// follows the title of table 1 (drawn by the grid's delegate, so the printed form keeps
// its title) and starts the line under table 2.
QString RuleNoteText(MaturityRule rule);
void ShowRuleNote(QTableWidget* table1, MaturityRule rule);
// The line under table 2: the rule note after the table's name, and the forecast legend.
QString Table2NoteText(MaturityRule rule, const MaturitySummary& summary);

} // namespace stolvar
