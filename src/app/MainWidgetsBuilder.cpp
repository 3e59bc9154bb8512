#include "app/MainWidgetsBuilder.h"

#include "ui/MainWidgets.h"
#include "ui/SplitterBar.h"
#include "ui/WidgetFactory.h"
#include "curing/forms/MaturityChart.h"
#include "curing/forms/SameConditionTables.h"
#include "register/DataPageBuilder.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace stolvar {

namespace {

// Rows, columns, sizes and headers of the grids are set up by the curing views.
QTableWidget* MakeGrid(QWidget* parent, const QString& name)
{
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    return grid;
}

void BuildStatusBar(QMainWindow* window, MainWidgets& ui)
{
    ui.statusBar = new QStatusBar(window);
    ui.statusBar->setObjectName(QStringLiteral("状态条1"));
    ui.statusBar->setSizeGripEnabled(false);
    window->setStatusBar(ui.statusBar);
    const int widths[6] = {150, 110, 100, 100, 200, 600};
    const QString texts[6] = {QStringLiteral("混凝土试块管理"), QStringLiteral("数据库连接状态："),
                              QStringLiteral("未连接"), QStringLiteral("邮件发送状态："), QString(), QString()};
    for (int i = 0; i < 6; ++i) {
        auto* part = new QLabel(texts[i], ui.statusBar);
        part->setObjectName(QStringLiteral("状态条1_%1").arg(i));
        // The last part takes what the others leave, so that a small window still fits.
        if (i < 5)
            part->setFixedWidth(widths[i]);
        else
            part->setMinimumWidth(0);
        ui.statusBar->addWidget(part, i < 5 ? 0 : 1);
        ui.statusParts[size_t(i)] = part;
    }
}

QWidget* BuildTablePage(QTableWidget*& grid, const QString& name)
{
    auto* page = new QWidget;
    grid = MakeGrid(page, name);
    grid->setGeometry(0, 0, 600, 615);
    return page;
}

// Table 2 leaves a line under the grid for the legend of forecast days (screen only).
QWidget* BuildTable2Page(MainWidgets& ui)
{
    QWidget* page = BuildTablePage(ui.table2, QStringLiteral("高级表格3"));
    ui.table2->setGeometry(0, 0, 600, 595);
    ui.table2Legend = PlaceLabel(page, QStringLiteral("表二图例"), QString(), {4, 597, 592, 18});
    return page;
}

} // namespace

void BuildMainWidgets(QMainWindow* window, MainWidgets& ui)
{
    ui.central = new QWidget(window);
    ui.central->setObjectName(QStringLiteral("主窗口区域"));
    ui.central->resize(kDesignWidth, kDesignHeight);
    window->setCentralWidget(ui.central);
    QWidget* c = ui.central;

    ui.tree = Place<QTreeView>(c, QStringLiteral("树型框1"), {2, 0, 150, 648});
    ui.tree->setHeaderHidden(true);
    // All nodes share one height; without this the view measures every node above the
    // selected one (tens of thousands in a large register) to place the selection.
    ui.tree->setUniformRowHeights(true);
    ui.tree->setContextMenuPolicy(Qt::CustomContextMenu);
    ui.splitter1 = Place<SplitterBar>(c, QStringLiteral("分隔条1"), {150, 0, 5, 700});
    ui.listCaption = PlaceLabel(c, QStringLiteral("标签5"), QString(), {155, 0, 590, 30});
    ui.listCaption->setAlignment(Qt::AlignCenter);
    ui.standardList = MakeGrid(c, QStringLiteral("高级表格2"));
    ui.standardList->setGeometry(155, 30, 590, 618);
    ui.splitter2 = Place<SplitterBar>(c, QStringLiteral("分隔条2"), {744, 0, 5, 700});
    ui.tabs = Place<QTabWidget>(c, QStringLiteral("高级选择夹1"), {749, 0, 608, 645});

    ui.tabs->addTab(BuildInfoPage(ui), QStringLiteral("信息提示"));
    ui.tabs->addTab(BuildTablePage(ui.table1, QStringLiteral("高级表格1")), QStringLiteral("同养表（一）"));
    ui.tabs->addTab(BuildTable2Page(ui), QStringLiteral("同养表（二）"));
    ui.tabs->addTab(BuildDataPage(ui), QStringLiteral("数据管理"));
    ui.tabs->addTab(BuildMaturityCurvePage(ui), QStringLiteral("成熟度曲线"));

    SetupStandardListGrid(ui.standardList);
    SetupTable1Grid(ui.table1);
    SetupTable2Grid(ui.table2);
    BuildStatusBar(window, ui);
    ui.reminderTimer = new QTimer(window);
    ui.reminderTimer->setObjectName(QStringLiteral("时钟1"));
}

} // namespace stolvar
