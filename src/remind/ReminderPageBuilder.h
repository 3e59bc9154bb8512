#pragma once

class QWidget;

namespace stolvar {

struct ReminderWidgets;
struct WorklistWidgets;

// The four read-only reminder boxes of page 0 "信息提示", each in its titled group.
void BuildReminderBoxes(QWidget* page, ReminderWidgets& ui);

// The page "送检待办": the worklist grid, its summary line and "标记委托".
QWidget* BuildWorklistPage(WorklistWidgets& ui);

} // namespace stolvar
