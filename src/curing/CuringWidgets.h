#pragma once

#include <array>

class QComboBox;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace stolvar {

// The curing controls, named as their objectName: the two same-condition tables, the
// maturity curve, the temperature entry and the selected group's outlook. Built by the
// curing page builders; used on the UI thread only.
struct CuringWidgets {
    QTableWidget* table1 = nullptr;           // 高级表格1
    QTableWidget* table2 = nullptr;           // 高级表格3
    QLabel* table2Legend = nullptr;           // 表二图例: what the forecast rows look like
    QWidget* curvePage = nullptr;             // 成熟度曲线页
    QWidget* curveArea = nullptr;             // 成熟度图区域: where the chart stands
    QGraphicsView* curveView = nullptr;       // 成熟度图, made when its page is first shown
    QLabel* curveProblem = nullptr;           // 成熟度曲线提示: why there is no chart

    QLineEdit* temperatureDateBox = nullptr;  // 编辑框1
    QLineEdit* highBox = nullptr;             // 最高编辑框
    QLineEdit* lowBox = nullptr;              // 最低编辑框
    QPushButton* addTemperatureButton = nullptr;     // 添加温度记录按钮
    QPushButton* changeTemperatureButton = nullptr;  // 修改温度记录

    QLabel* accumulatedLabel = nullptr;       // 累计温度标签
    QLabel* projectionLabel = nullptr;        // 预计日期标签
    QLabel* missingDaysLabel = nullptr;       // 缺测标签
};

// The "温度提示" box: where the automatic temperatures come from and the days ahead.
struct WeatherWidgets {
    QLabel* locationLabel = nullptr;          // 地区标签
    QComboBox* weatherSourceBox = nullptr;    // 天气来源框
    QLabel* todayLabel = nullptr;             // 今天标签
    std::array<QLabel*, 4> futureLabels{};    // 未来1标签 … 未来4标签
    QLineEdit* cityBox = nullptr;             // 地名编辑框
    QPushButton* updateCityButton = nullptr;  // 查询按钮 "更新位置"
};

} // namespace stolvar
