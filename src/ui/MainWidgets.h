#pragma once

#include <array>

class QChartView;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTabWidget;
class QTimer;
class QTreeView;
class QWidget;

namespace stolvar {

class SpinButton;
class SplitterBar;

// Every control of the main window, named as its objectName. Built by BuildMainWidgets;
// the controllers of each subsystem read and write them on the UI thread only.
struct MainWidgets {
    QWidget* central = nullptr;

    // Left and middle.
    QTreeView* tree = nullptr;                // 树型框1
    SplitterBar* splitter1 = nullptr;         // 分隔条1
    SplitterBar* splitter2 = nullptr;         // 分隔条2
    QLabel* listCaption = nullptr;            // 标签5
    QTableWidget* standardList = nullptr;     // 高级表格2
    QTabWidget* tabs = nullptr;               // 高级选择夹1

    // Page 0 "信息提示".
    QPlainTextEdit* standardDueBox = nullptr;      // 到期提醒编辑框
    QPlainTextEdit* sameConditionDueBox = nullptr; // 到期提醒编辑框1
    QPlainTextEdit* formRemovalDueBox = nullptr;   // 拆模提醒编辑框
    QPlainTextEdit* recentPoursBox = nullptr;      // 近期浇筑编辑框
    QLineEdit* cityBox = nullptr;             // 地名编辑框
    QPushButton* updateCityButton = nullptr;  // 查询按钮 "更新位置"
    QComboBox* weatherSourceBox = nullptr;    // 天气来源框
    QLabel* locationLabel = nullptr;          // 地区标签
    QLabel* todayLabel = nullptr;             // 今天标签
    std::array<QLabel*, 4> futureLabels{};    // 未来1标签 … 未来4标签
    QCheckBox* autoCollectBox = nullptr;      // 选择框1
    QCheckBox* autoMailBox = nullptr;         // 选择框2
    QCheckBox* autoStartBox = nullptr;        // 选择框3
    QLineEdit* leadDaysBox = nullptr;         // 编辑框3

    // Pages 1 and 2.
    QTableWidget* table1 = nullptr;           // 高级表格1
    QTableWidget* table2 = nullptr;           // 高级表格3
    QLabel* table2Legend = nullptr;           // 表二图例: what the forecast rows look like

    // Page 4 "成熟度曲线".
    QWidget* curvePage = nullptr;             // 成熟度曲线页
    QChartView* curveView = nullptr;          // 成熟度图

    // Page 3 "数据管理".
    QLineEdit* keywordBox = nullptr;          // 模糊查询编辑框
    QPushButton* keywordButton = nullptr;     // 模糊查询按钮
    QLineEdit* temperatureDateBox = nullptr;  // 编辑框1
    QLineEdit* highBox = nullptr;             // 最高编辑框
    QLineEdit* lowBox = nullptr;              // 最低编辑框
    QPushButton* addTemperatureButton = nullptr;     // 添加温度记录按钮
    QPushButton* changeTemperatureButton = nullptr;  // 修改温度记录
    QLabel* standardStateLabel = nullptr;     // 标养状态标签
    QLabel* dueDateLabel = nullptr;           // 委托日期标签
    QLabel* remainingLabel = nullptr;         // 剩余天数标签
    QLabel* sameStateLabel = nullptr;         // 同养状态标签
    QLabel* accumulatedLabel = nullptr;       // 累计温度标签
    QLabel* projectionLabel = nullptr;        // 预计日期标签
    QLabel* missingDaysLabel = nullptr;       // 缺测标签
    QPushButton* markStandardButton = nullptr;    // 已委托按钮1
    QPushButton* unmarkStandardButton = nullptr;  // 未委托按钮1
    QPushButton* markSameButton = nullptr;        // 已委托按钮
    QPushButton* unmarkSameButton = nullptr;      // 未委托按钮
    QLineEdit* projectBox = nullptr;          // 工程名称编辑框
    QLineEdit* positionBox = nullptr;         // 工程部位编辑框
    QLineEdit* gradeBox = nullptr;            // 强度等级编辑框
    QLineEdit* castingDateBox = nullptr;      // 取样日期编辑框
    SpinButton* castingDateSpin = nullptr;    // 调节器2
    QLineEdit* standardCountBox = nullptr;    // 标养组数编辑框
    QLineEdit* sameCountBox = nullptr;        // 同养组数编辑框
    QLineEdit* formCountBox = nullptr;        // 拆模组数编辑框
    QPushButton* addGroupButton = nullptr;        // 确定 "添加试块"
    QPushButton* deleteGroupButton = nullptr;     // 按钮1 "删除试块"
    QPushButton* renameProjectButton = nullptr;   // 修改名称
    QPushButton* changePositionButton = nullptr;  // 修改部位
    QPushButton* changeGradeButton = nullptr;     // 修改强度
    QPushButton* changeDateButton = nullptr;      // 修改日期
    QPushButton* changeCountsButton = nullptr;    // 修改组数

    // Status bar 状态条1 and its six parts.
    QStatusBar* statusBar = nullptr;
    std::array<QLabel*, 6> statusParts{};

    QTimer* reminderTimer = nullptr;          // 时钟1
    QMenu* helpMenu = nullptr;                // "帮助(&H)"
};

// Designed size of the central area (window designed at 1366 × 725).
inline constexpr int kDesignWidth = 1366;
inline constexpr int kDesignHeight = 700;

// Tab pages of 高级选择夹1.
enum TabPage { kInfoPage = 0, kTable1Page = 1, kTable2Page = 2, kDataPage = 3, kCurvePage = 4 };

// Status bar parts with texts of their own.
enum StatusPart { kDatabaseStatePart = 2, kMailStatePart = 4, kVersionPart = 5 };

} // namespace stolvar
