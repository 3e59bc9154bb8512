#pragma once

class QMainWindow;
class QWidget;

namespace stolvar {

struct MainWidgets;

// Creates every control of the main window at its designed place (window designed at
// 1366 × 725), each named as its objectName.
void BuildMainWidgets(QMainWindow* window, MainWidgets& ui);

// The pages of the tab control, built by their own subsystems.
QWidget* BuildInfoPage(MainWidgets& ui);
QWidget* BuildDataPage(MainWidgets& ui);

// Designed size of the central area.
inline constexpr int kDesignWidth = 1366;
inline constexpr int kDesignHeight = 700;

} // namespace stolvar
