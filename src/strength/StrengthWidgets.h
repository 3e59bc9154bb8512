#pragma once

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace stolvar {

// On "数据管理": the selected group's results and the button that opens them.
struct ResultsPanelWidgets {
    QPushButton* resultsButton = nullptr;   // 试验结果按钮 "试验结果…"
    QLabel* strengthLabel = nullptr;        // 强度标签
};

// The page "强度评定" (强度评定页): a lot of one grade and kind, its groups and its verdict.
struct EvaluationWidgets {
    QWidget* page = nullptr;
    QComboBox* projectBox = nullptr;   // 评定工程框
    QComboBox* gradeBox = nullptr;     // 评定等级框
    QComboBox* kindBox = nullptr;      // 评定类别框
    QComboBox* methodBox = nullptr;    // 评定方法框
    QDateEdit* fromBox = nullptr;      // 评定起始框
    QDateEdit* toBox = nullptr;        // 评定截止框
    QTableView* grid = nullptr;        // 评定表格
    QLabel* resultLabel = nullptr;     // 评定结果标签
    QLabel* pendingLabel = nullptr;    // 待录入标签
};

} // namespace stolvar
