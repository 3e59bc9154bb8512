#pragma once

class QTableWidget;

namespace stolvar {

class SettingsStore;

// Font sizes of the same-condition form; 0 keeps the grid's own size.
struct Table1FontSizes {
    int title = 0;
    int table = 0;
};

// "标题字号" and "表格字号" of Temp.ini, read as their leading number and truncated;
// an empty or non-numeric setting reads as 0.
Table1FontSizes ReadTable1FontSizes(const SettingsStore& settings);

// Lays out the fixed frame of the same-condition curing record form in table 1: merged
// cells, row heights, fixed texts, fonts and alignment. It never writes the cells that
// hold the group, the days and the totals, and applying it again changes nothing.
void ApplyTable1Frame(QTableWidget* grid, int titleFontSize, int tableFontSize);

} // namespace stolvar
