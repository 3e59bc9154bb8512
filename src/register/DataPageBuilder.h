#pragma once

class QWidget;

namespace stolvar {

struct MainWidgets;

// Page 3 "数据管理" of the tab control: search, temperature entry, the selected group's
// states and the group editor, each control named as its objectName.
QWidget* BuildDataPage(MainWidgets& ui);

} // namespace stolvar
