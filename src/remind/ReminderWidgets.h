#pragma once

class QLabel;
class QPlainTextEdit;

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

} // namespace stolvar
