#include "curing/CuringPageBuilder.h"

#include "curing/CuringWidgets.h"
#include "curing/forms/SameConditionTables.h"
#include "model/weather/WeatherSettings.h"
#include "ui/WidgetFactory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableWidget>

namespace stolvar {

QWidget* BuildTable1Page(CuringWidgets& ui)
{
    auto* page = new QWidget;
    ui.table1 = Place<QTableWidget>(page, QStringLiteral("高级表格1"), {0, 0, 600, 615});
    SetupTable1Grid(ui.table1);
    return page;
}

// Table 2 leaves a line under the grid for the legend of forecast days (screen only).
QWidget* BuildTable2Page(CuringWidgets& ui)
{
    auto* page = new QWidget;
    ui.table2 = Place<QTableWidget>(page, QStringLiteral("高级表格3"), {0, 0, 600, 595});
    ui.table2Legend = PlaceLabel(page, QStringLiteral("表二图例"), QString(), {4, 597, 592, 18});
    SetupTable2Grid(ui.table2);
    return page;
}

void BuildTemperatureEntry(QWidget* page, CuringWidgets& ui)
{
    auto* temps = Place<QGroupBox>(page, QStringLiteral("分组框1"), {2, 58, 594, 58});
    temps->setTitle(QStringLiteral("记录温度"));
    PlaceLabel(temps, QStringLiteral("日期标签"), QStringLiteral("日期："), {8, 22, 40, 26});
    ui.temperatureDateBox = Place<QLineEdit>(temps, QStringLiteral("编辑框1"), {46, 22, 140, 26});
    PlaceLabel(temps, QStringLiteral("温度标签"), QStringLiteral("最高："), {192, 22, 40, 26});
    ui.highBox = Place<QLineEdit>(temps, QStringLiteral("最高编辑框"), {230, 22, 52, 26});
    PlaceLabel(temps, QStringLiteral("温度标签1"), QStringLiteral("最低："), {288, 22, 40, 26});
    ui.lowBox = Place<QLineEdit>(temps, QStringLiteral("最低编辑框"), {326, 22, 52, 26});
    ui.addTemperatureButton =
        PlaceButton(temps, QStringLiteral("添加温度记录按钮"), QStringLiteral("添加温度"), {388, 20, 96, 30});
    ui.changeTemperatureButton =
        PlaceButton(temps, QStringLiteral("修改温度记录"), QStringLiteral("修改温度"), {490, 20, 96, 30});
}

// Under the same-condition state: when the group comes due, and which days have no temperature.
void BuildOutlookLabels(QWidget* sameConditionGroup, CuringWidgets& ui)
{
    QWidget* same = sameConditionGroup;
    ui.accumulatedLabel = PlaceLabel(same, QStringLiteral("累计温度标签"), QString(), {10, 48, 274, 24});
    ui.projectionLabel = PlaceLabel(same, QStringLiteral("预计日期标签"), QString(), {10, 72, 274, 36});
    ui.projectionLabel->setWordWrap(true);
    ui.projectionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.missingDaysLabel = PlaceLabel(same, QStringLiteral("缺测标签"), QString(), {10, 108, 274, 48});
    ui.missingDaysLabel->setWordWrap(true);
    ui.missingDaysLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QGroupBox* BuildWeatherGroup(QWidget* page, WeatherWidgets& ui)
{
    auto* group = Place<QGroupBox>(page, QStringLiteral("分组框5"), {2, 396, 594, 218});
    group->setTitle(QStringLiteral("温度提示"));
    ui.locationLabel = PlaceLabel(group, QStringLiteral("地区标签"), QString(), {6, 18, 472, 22});
    // The row of "更新位置" is full: the source choice sits at the end of the location line.
    ui.weatherSourceBox = Place<QComboBox>(group, QStringLiteral("天气来源框"), {482, 16, 106, 24});
    ui.weatherSourceBox->addItems(WeatherSourceTexts());
    ui.todayLabel = PlaceLabel(group, QStringLiteral("今天标签"), QString(), {6, 42, 112, 130});
    for (int i = 0; i < 4; ++i) {
        ui.futureLabels[size_t(i)] = PlaceLabel(group, QStringLiteral("未来%1标签").arg(i + 1), QString(),
                                                {122 + i * 116, 42, 112, 130});
    }
    for (QLabel* label : {ui.todayLabel, ui.futureLabels[0], ui.futureLabels[1], ui.futureLabels[2], ui.futureLabels[3]}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        label->setWordWrap(true);
    }
    ui.cityBox = Place<QLineEdit>(group, QStringLiteral("地名编辑框"), {6, 182, 80, 26});
    ui.updateCityButton = PlaceButton(group, QStringLiteral("查询按钮"), QStringLiteral("更新位置"), {90, 182, 70, 26});
    return group;
}

} // namespace stolvar
