#pragma once

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace stolvar {

// The four reminder boxes of "信息提示", named as their objectName, and the status bar
// part of the mail state. Used on the UI thread only.
struct ReminderWidgets {
    QPlainTextEdit* standardDueBox = nullptr;      // 到期提醒编辑框
    QPlainTextEdit* sameConditionDueBox = nullptr; // 到期提醒编辑框1
    QPlainTextEdit* formRemovalDueBox = nullptr;   // 拆模提醒编辑框
    QPlainTextEdit* recentPoursBox = nullptr;      // 近期浇筑编辑框
    QLabel* mailState = nullptr;                   // the status bar part of the mail state
};

// The page "送检待办" (待办页): what needs the clerk today.
struct WorklistWidgets {
    QTableWidget* grid = nullptr;             // 待办表格
    QLabel* summaryLabel = nullptr;           // 待办统计标签
    QPushButton* markSentButton = nullptr;    // 待办委托按钮 "标记委托"
};

} // namespace stolvar
