#pragma once

class QMainWindow;
class QWidget;

namespace stolvar {

struct MainWidgets;

// Creates every control of the main window at its designed place (window designed at
// 1366 × 725), each named as its objectName.
void BuildMainWidgets(QMainWindow* window, MainWidgets& ui);

// Page 0 of the tab control; the other pages are built by their own subsystems.
QWidget* BuildInfoPage(MainWidgets& ui);

} // namespace stolvar
