#include "register/RegisterPageBuilder.h"

#include "register/RegisterWidgets.h"
#include "ui/GridCells.h"
#include "ui/MeasuredItemDelegate.h"
#include "ui/SpinButton.h"
#include "ui/WidgetFactory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeView>

namespace stolvar {

namespace {

QGroupBox* Group(QWidget* page, const QString& name, const QString& title, const QRect& geometry)
{
    auto* group = Place<QGroupBox>(page, name, geometry);
    group->setTitle(title);
    return group;
}

void BuildSearch(QWidget* page, RegisterWidgets& ui)
{
    auto* search = Group(page, QStringLiteral("分组框10"), QString(), {2, 2, 594, 52});
    PlaceLabel(search, QStringLiteral("关键字标签"), QStringLiteral("关键字："), {8, 18, 56, 26});
    ui.keywordBox = Place<QLineEdit>(search, QStringLiteral("模糊查询编辑框"), {64, 18, 300, 26});
    ui.keywordButton = PlaceButton(search, QStringLiteral("模糊查询按钮"), QStringLiteral("查询"), {372, 17, 80, 28});
    ui.allProjectsBox = Place<QCheckBox>(search, QStringLiteral("全部工程框"), {464, 19, 120, 26});
    ui.allProjectsBox->setText(QStringLiteral("全部工程"));
    ui.allProjectsBox->setToolTip(QStringLiteral("在全部工程的工程名称、工程部位和强度等级中查询"));
}

void BuildStatusGroups(QWidget* page, RegisterWidgets& ui)
{
    auto* standard = Group(page, QStringLiteral("分组框4"), QStringLiteral("标养状态"), {2, 120, 294, 196});
    ui.standardStateGroup = standard;
    ui.standardStateLabel = PlaceLabel(standard, QStringLiteral("标养状态标签"), QStringLiteral("标养状态："), {10, 22, 274, 24});
    PlaceLabel(standard, QStringLiteral("委托日期标题"), QStringLiteral("委托日期："), {10, 48, 70, 24});
    ui.dueDateLabel = PlaceLabel(standard, QStringLiteral("委托日期标签"), QString(), {80, 48, 204, 24});
    ui.remainingLabel = PlaceLabel(standard, QStringLiteral("剩余天数标签"), QString(), {10, 74, 274, 24});
    ui.markStandardButton = PlaceButton(standard, QStringLiteral("已委托按钮1"), QStringLiteral("标记委托"), {10, 158, 130, 30});
    ui.unmarkStandardButton = PlaceButton(standard, QStringLiteral("未委托按钮1"), QStringLiteral("取消委托"), {152, 158, 130, 30});

    auto* same = Group(page, QStringLiteral("分组框2"), QStringLiteral("同养状态"), {302, 120, 294, 196});
    ui.sameConditionGroup = same;
    ui.sameStateLabel = PlaceLabel(same, QStringLiteral("同养状态标签"), QStringLiteral("同养状态："), {10, 22, 274, 24});
    ui.markSameButton = PlaceButton(same, QStringLiteral("已委托按钮"), QStringLiteral("标记委托"), {10, 158, 130, 30});
    ui.unmarkSameButton = PlaceButton(same, QStringLiteral("未委托按钮"), QStringLiteral("取消委托"), {152, 158, 130, 30});
}

QLineEdit* FieldRow(QWidget* group, int row, const QString& caption, const QString& boxName, int boxWidth)
{
    const int y = 24 + row * 38;
    PlaceLabel(group, boxName + QStringLiteral("标签"), caption, {10, y, 72, 26});
    return Place<QLineEdit>(group, boxName, {84, y, boxWidth, 26});
}

QPushButton* RowButton(QWidget* group, int row, const QString& name, const QString& text)
{
    return PlaceButton(group, name, text, {420, 23 + row * 38, 150, 30});
}

void BuildGroupEditing(QWidget* page, RegisterWidgets& ui)
{
    auto* g = Group(page, QStringLiteral("分组框3"), QStringLiteral("试块管理"), {2, 320, 594, 290});
    ui.groupEditingGroup = g;
    ui.projectBox = FieldRow(g, 0, QStringLiteral("工程名称："), QStringLiteral("工程名称编辑框"), 320);
    ui.positionBox = FieldRow(g, 1, QStringLiteral("工程部位："), QStringLiteral("工程部位编辑框"), 320);
    ui.positionBox->setPlaceholderText(QStringLiteral("部位不能为空"));
    ui.gradeBox = FieldRow(g, 2, QStringLiteral("强度等级："), QStringLiteral("强度等级编辑框"), 320);
    ui.castingDateBox = FieldRow(g, 3, QStringLiteral("取样日期："), QStringLiteral("取样日期编辑框"), 300);
    ui.castingDateSpin = Place<SpinButton>(g, QStringLiteral("调节器2"), {386, 24 + 3 * 38, 18, 26});
    ui.standardCountBox = FieldRow(g, 4, QStringLiteral("标养组数："), QStringLiteral("标养组数编辑框"), 160);
    ui.sameCountBox = FieldRow(g, 5, QStringLiteral("同养组数："), QStringLiteral("同养组数编辑框"), 160);
    ui.formCountBox = FieldRow(g, 6, QStringLiteral("拆模组数："), QStringLiteral("拆模组数编辑框"), 160);

    ui.renameProjectButton = RowButton(g, 0, QStringLiteral("修改名称"), QStringLiteral("修改工程名称"));
    ui.changePositionButton = RowButton(g, 1, QStringLiteral("修改部位"), QStringLiteral("修改工程部位"));
    ui.changeGradeButton = RowButton(g, 2, QStringLiteral("修改强度"), QStringLiteral("修改强度"));
    ui.changeDateButton = RowButton(g, 3, QStringLiteral("修改日期"), QStringLiteral("修改日期"));
    ui.changeCountsButton = RowButton(g, 4, QStringLiteral("修改组数"), QStringLiteral("修改组数"));
    ui.addGroupButton = PlaceButton(g, QStringLiteral("确定"), QStringLiteral("添加试块"), {260, 23 + 5 * 38, 150, 30});
    ui.deleteGroupButton = PlaceButton(g, QStringLiteral("按钮1"), QStringLiteral("删除试块"), {260, 23 + 6 * 38, 150, 30});
}

} // namespace

void BuildRegisterList(QWidget* central, RegisterWidgets& ui)
{
    ui.tree = Place<QTreeView>(central, QStringLiteral("树型框1"), {2, 0, 150, 648});
    ui.tree->setHeaderHidden(true);
    // All nodes share one height; without this the view measures every node above the
    // selected one (tens of thousands in a large register) to place the selection.
    ui.tree->setUniformRowHeights(true);
    // A name longer than the pane is shortened in its middle (its start and end tell
    // projects apart); the whole name is the item's tooltip.
    ui.tree->setTextElideMode(Qt::ElideMiddle);
    ui.tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.tree->header()->setStretchLastSection(true);
    ui.tree->setContextMenuPolicy(Qt::CustomContextMenu);
    ui.listCaption = PlaceLabel(central, QStringLiteral("标签5"), QString(), {155, 0, 590, 30});
    ui.listCaption->setAlignment(Qt::AlignCenter);
    ui.standardList = Place<QTableWidget>(central, QStringLiteral("高级表格2"), {155, 30, 590, 618});
    SetupStandardListGrid(ui.standardList);
}

void SetupStandardListGrid(QTableWidget* grid)
{
    SetupGrid(grid, 1, 9, 20, 60);
    grid->setItemDelegate(new MeasuredItemDelegate(grid));
}

void BuildRegisterDataControls(QWidget* page, RegisterWidgets& ui)
{
    BuildSearch(page, ui);
    BuildStatusGroups(page, ui);
    BuildGroupEditing(page, ui);
}

} // namespace stolvar
