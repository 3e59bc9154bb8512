#pragma once

class QMainWindow;
class QWidget;

namespace stolvar {

struct WindowWidgets;

// Creates every control of the main window at its designed place (window designed at
// 1366 × 725), each named as its objectName: the frame here, each subsystem's controls by
// its own builder.
void BuildMainWidgets(QMainWindow* window, WindowWidgets& ui);

// Pages 0 "信息提示" and 3 "数据管理", where the controls of several subsystems meet.
QWidget* BuildInfoPage(WindowWidgets& ui);
QWidget* BuildDataPage(WindowWidgets& ui);

} // namespace stolvar
