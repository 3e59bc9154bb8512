#pragma once

class QGroupBox;
class QWidget;

namespace stolvar {

struct CuringWidgets;
struct WeatherWidgets;

// Pages 1 and 2 of the tab control: the two same-condition tables, their grids designed.
QWidget* BuildTable1Page(CuringWidgets& ui);
QWidget* BuildTable2Page(CuringWidgets& ui);

// On page 3 "数据管理": the temperature entry (分组框1), and the selected group's outlook
// (accumulated degree-days, projected day, missing days) in the register's same-condition
// state box.
void BuildTemperatureEntry(QWidget* page, CuringWidgets& ui);
void BuildOutlookLabels(QWidget* sameConditionGroup, CuringWidgets& ui);

// On page 0 "信息提示": the "温度提示" box (分组框5) with the location line, the source
// choice, the five day labels and the city search. Its last row leaves room for the options.
QGroupBox* BuildWeatherGroup(QWidget* page, WeatherWidgets& ui);

} // namespace stolvar
