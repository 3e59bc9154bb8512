#pragma once

class QTableWidget;
class QWidget;

namespace stolvar {

struct RegisterWidgets;

// The tree and the standard-curing list with its caption, at their designed places in the
// central area.
void BuildRegisterList(QWidget* central, RegisterWidgets& ui);
// The standard-curing list's grid: 1 × 9, rows 20, columns 60.
void SetupStandardListGrid(QTableWidget* grid);

// The register's part of page 3 "数据管理": the search, the selected group's states and the
// group editor, each control named as its objectName. The same-condition state box leaves
// room under its state for the curing outlook (RegisterWidgets::sameConditionGroup).
void BuildRegisterDataControls(QWidget* page, RegisterWidgets& ui);

} // namespace stolvar
