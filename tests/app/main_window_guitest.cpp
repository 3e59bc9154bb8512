#include "app/ProportionalLayout.h"
#include "app/StartHint.h"
#include "support/MainWindowFixture.h"
#include "ui/SpinButton.h"
#include "ui/SplitterBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cmath>

namespace stolvar {
namespace {

using test::MainWindowFixture;

TEST(MainWindowStart, FirstRunWithoutSettingsIsQuietAndEmpty)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    EXPECT_EQ(w.windowTitle(), "Stolvar2.5");
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "未连接");
    EXPECT_EQ(f.ui().frame.statusParts[1]->text(), "数据库连接状态：");
    EXPECT_EQ(f.ui().frame.statusParts[3]->text(), "邮件发送状态：");
    EXPECT_EQ(f.ui().registerUi.tree->model()->rowCount(), 0);
    EXPECT_FALSE(f.ui().optionsUi.autoCollectBox->isChecked());
    EXPECT_FALSE(f.ui().optionsUi.autoMailBox->isChecked());
    EXPECT_FALSE(f.ui().optionsUi.autoStartBox->isChecked());
    EXPECT_FALSE(f.ui().frame.reminderTimer->isActive());
    EXPECT_TRUE(f.messages->shown.isEmpty());
    // The first write at start-up is the (empty) lead time.
    EXPECT_EQ(f.settings().read(keys::kLeadDays, "missing"), "");
}

// With no database the middle list says what to do; its buttons run the menu commands,
// and the hint goes once a database is open.
TEST(MainWindowStart, FirstRunHintOpensADatabaseAndGoes)
{
    MainWindowFixture f;
    const QString path = f.home.file("一号楼.dat");
    ASSERT_TRUE(test::MakeProjectDatabase(path));
    MainWindow& w = f.start();
    StartHint* hint = w.startHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(hint->isHidden());
    EXPECT_EQ(hint->geometry(), f.ui().registerUi.standardList->rect());
    auto* create = hint->findChild<QPushButton*>("新建工程数据库");
    auto* open = hint->findChild<QPushButton*>("打开工程数据库");
    ASSERT_TRUE(create && open);
    EXPECT_EQ(create->text(), "新建工程数据库");
    f.messages->fileNames = {path};
    open->click();
    EXPECT_EQ(f.messages->openRequests.size(), 1);
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "已连接");
    EXPECT_TRUE(hint->isHidden());
}

TEST(MainWindowStart, NoHintWhenTheLastDatabaseOpens)
{
    MainWindowFixture f;
    ASSERT_TRUE(f.prepareDatabase());
    MainWindow& w = f.start();
    EXPECT_TRUE(w.startHint()->isHidden());
}

TEST(MainWindowStart, EveryNamedControlExists)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    const char* names[] = {"树型框1", "高级选择夹1", "分隔条1", "分隔条2", "标签5", "高级表格1", "高级表格2", "高级表格3",
                           "到期提醒编辑框", "到期提醒编辑框1", "拆模提醒编辑框", "近期浇筑编辑框", "地名编辑框", "查询按钮",
                           "地区标签", "今天标签", "未来4标签", "选择框1", "选择框2", "选择框3", "编辑框3", "模糊查询编辑框",
                           "模糊查询按钮", "编辑框1", "最高编辑框", "最低编辑框", "添加温度记录按钮", "修改温度记录",
                           "标养状态标签", "委托日期标签", "剩余天数标签", "同养状态标签", "累计温度标签", "已委托按钮1",
                           "未委托按钮1", "已委托按钮", "未委托按钮", "工程名称编辑框", "工程部位编辑框", "强度等级编辑框",
                           "取样日期编辑框", "调节器2", "标养组数编辑框", "同养组数编辑框", "拆模组数编辑框", "确定", "按钮1",
                           "修改名称", "修改部位", "修改强度", "修改日期", "修改组数", "状态条1", "时钟1",
                           "预计日期标签", "缺测标签", "成熟度曲线页",
                           "待办页", "待办表格", "待办统计标签", "待办委托按钮", "试验结果按钮", "强度标签", "强度评定页",
                           "评定工程框", "评定等级框", "评定类别框", "评定方法框", "评定起始框", "评定截止框", "评定表格",
                           "评定结果标签", "待录入标签"};
    for (const char* name : names)
        EXPECT_NE(w.findChild<QObject*>(QString::fromUtf8(name)), nullptr) << name;
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"文件(&F)", "设置(&E)", "帮助(&H)", "更新"}));
    for (const char* item : {"新建(&N)", "打开(&O)", "标养打印", "同养表1打印", "同养表2打印", "成熟度曲线打印", "强度评定打印", "邮箱账号设置", "删除温度记录",
                             "显示设置", "系统设置", "关于", "退出", "下载新版本", "升级数据库"})
        EXPECT_NE(w.findChild<QAction*>(QString::fromUtf8(item)), nullptr) << item;
    // The chart comes from the chart module when its page is first shown.
    EXPECT_EQ(w.findChild<QObject*>(QStringLiteral("成熟度图")), nullptr);
    f.ui().frame.tabs->setCurrentIndex(kCurvePage);
    EXPECT_NE(w.findChild<QObject*>(QStringLiteral("成熟度图")), nullptr);
    const QTabWidget* tabs = f.ui().frame.tabs;
    ASSERT_EQ(tabs->count(), 7);   // the four pages keep their indexes; the curve, the worklist and the evaluation follow
    EXPECT_EQ(tabs->tabText(1), "同养表（一）");
    EXPECT_EQ(tabs->tabText(2), "同养表（二）");
    EXPECT_EQ(tabs->tabText(3), "数据管理");
    EXPECT_EQ(tabs->tabText(4), "成熟度曲线");
    EXPECT_EQ(tabs->widget(4)->objectName(), "成熟度曲线页");
    EXPECT_EQ(tabs->tabText(5), "送检待办");
    EXPECT_EQ(tabs->widget(5)->objectName(), "待办页");
    EXPECT_EQ(tabs->tabText(6), "强度评定");
    EXPECT_EQ(tabs->widget(6)->objectName(), "强度评定页");
    EXPECT_EQ(f.ui().curingUi.table1->rowCount(), 24);
    EXPECT_EQ(f.ui().curingUi.table1->columnCount(), 8);
}

TEST(MainWindowLayout, DoublingTheWidthDoublesEveryLeftEdgeAndWidth)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(20);
    ASSERT_TRUE(w.proportionalLayout().isCaptured());
    QWidget* central = f.ui().frame.central;
    const QSize before = central->size();
    const QRect tree = f.ui().registerUi.tree->geometry();
    const QRect tabs = f.ui().frame.tabs->geometry();
    const QRect button = f.ui().registerUi.addGroupButton->geometry();
    const QSize groupBefore = f.ui().registerUi.addGroupButton->parentWidget()->size();
    central->resize(before.width() * 2, before.height());
    // Placed to the nearest pixel.
    auto scaled = [](int value, int oldExtent, int newExtent) { return int(std::lround(double(value) / oldExtent * newExtent)); };
    EXPECT_EQ(f.ui().registerUi.tree->x(), scaled(tree.x(), before.width(), before.width() * 2));
    EXPECT_EQ(f.ui().registerUi.tree->width(), scaled(tree.width(), before.width(), before.width() * 2));
    EXPECT_EQ(f.ui().registerUi.tree->height(), tree.height());
    EXPECT_EQ(f.ui().frame.tabs->x(), scaled(tabs.x(), before.width(), before.width() * 2));
    // A control inside a group box scales with its group box.
    const QSize groupAfter = f.ui().registerUi.addGroupButton->parentWidget()->size();
    EXPECT_EQ(f.ui().registerUi.addGroupButton->x(), scaled(button.x(), groupBefore.width(), groupAfter.width()));
}

TEST(MainWindowLayout, DraggingTheFirstSplitterWidensTheTree)
{
    MainWindowFixture f;
    f.start();
    WindowWidgets& ui = f.ui();
    const int treeWidth = ui.registerUi.tree->width();
    const int from = ui.frame.splitter1->x();
    ui.frame.splitter1->dragTo(from + 40);
    EXPECT_EQ(ui.frame.splitter1->x(), from + 40);
    EXPECT_EQ(ui.registerUi.tree->width(), treeWidth + 40);
    EXPECT_EQ(ui.registerUi.standardList->x(), from + 45);
    EXPECT_EQ(ui.registerUi.listCaption->x(), from + 45);
    ui.frame.splitter2->dragTo(800);
    EXPECT_EQ(ui.frame.tabs->x(), 805);
}

TEST(MainWindowControls, SpinButtonStepsTheCastingDate)
{
    MainWindowFixture f;
    f.start();
    WindowWidgets& ui = f.ui();
    ui.registerUi.castingDateBox->setText("2017年2月28日");
    ui.registerUi.castingDateSpin->upButton()->click();
    EXPECT_EQ(ui.registerUi.castingDateBox->text(), "2017年3月1日");
    ui.registerUi.castingDateSpin->downButton()->click();
    EXPECT_EQ(ui.registerUi.castingDateBox->text(), "2017年2月28日");
}

TEST(MainWindowShutdown, ClosingStoresTheThreeOptions)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    f.ui().optionsUi.autoCollectBox->setChecked(true);
    w.close();
    EXPECT_EQ(f.settings().read(keys::kAutoCollect), "真");
    EXPECT_EQ(f.settings().read(keys::kAutoMail), "假");
    EXPECT_EQ(f.settings().read(keys::kAutoStart), "假");
}

// What the tray's double-click and its help menu do (the tray itself needs a desktop).
TEST(MainWindowTray, ShowFromTrayMaximisesAndExitShutsDownNormally)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    w.showMinimized();
    w.showFromTray();
    EXPECT_TRUE(w.isMaximized());
    f.ui().optionsUi.autoMailBox->setChecked(true);
    w.findChild<QAction*>("退出")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.settings().read(keys::kAutoMail), "真");
}

} // namespace
} // namespace stolvar
