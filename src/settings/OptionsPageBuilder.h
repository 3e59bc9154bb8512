#pragma once

class QWidget;

namespace stolvar {

struct SettingsWidgets;

// The options on the last row of the "温度提示" box: collect temperatures automatically,
// send reminder mail automatically, start at log-on, and the lead time "提前 … 天提醒".
void BuildOptionControls(QWidget* weatherGroup, SettingsWidgets& ui);

} // namespace stolvar
