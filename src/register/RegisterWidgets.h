#pragma once

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeView;

namespace stolvar {

class SpinButton;

// The register's controls, named as their objectName: the project tree, the
// standard-curing list, and on "数据管理" the search, the group's states and the editor.
// Built by BuildRegisterList and BuildRegisterDataControls; used on the UI thread only.
struct RegisterWidgets {
    QTreeView* tree = nullptr;                // 树型框1
    QLabel* listCaption = nullptr;            // 标签5
    QTableWidget* standardList = nullptr;     // 高级表格2

    QLineEdit* keywordBox = nullptr;          // 模糊查询编辑框
    QPushButton* keywordButton = nullptr;     // 模糊查询按钮
    QCheckBox* allProjectsBox = nullptr;      // 全部工程框: search every project

    QGroupBox* standardStateGroup = nullptr;  // 分组框4 "标养状态"
    QLabel* standardStateLabel = nullptr;     // 标养状态标签
    QLabel* dueDateLabel = nullptr;           // 委托日期标签
    QLabel* remainingLabel = nullptr;         // 剩余天数标签
    QGroupBox* sameConditionGroup = nullptr;  // 分组框2 "同养状态"
    QLabel* sameStateLabel = nullptr;         // 同养状态标签
    QPushButton* markStandardButton = nullptr;    // 已委托按钮1
    QPushButton* unmarkStandardButton = nullptr;  // 未委托按钮1
    QPushButton* markSameButton = nullptr;        // 已委托按钮
    QPushButton* unmarkSameButton = nullptr;      // 未委托按钮

    QGroupBox* groupEditingGroup = nullptr;   // 分组框3 "试块管理"
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

    QLabel* databaseState = nullptr;          // the status bar part the database state is shown in
    QLabel* noticeState = nullptr;            // the status bar part a failed backup is shown in
};

} // namespace stolvar
