#pragma once

class QWidget;

namespace stolvar {

struct ReminderWidgets;

// The four read-only reminder boxes of page 0 "信息提示", each in its titled group.
void BuildReminderBoxes(QWidget* page, ReminderWidgets& ui);

} // namespace stolvar
