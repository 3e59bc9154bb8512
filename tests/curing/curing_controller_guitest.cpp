#include "curing/CuringWidgets.h"
#include "curing/CuringController.h"
#include "curing/CuringFixtures.h"
#include "curing/DeleteTemperatureDialog.h"
#include "curing/forms/SameConditionTables.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/temperatures/TemperatureStore.h"
#include "support/ControllerFixture.h"
#include "support/HeldConnection.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "ui/GridCells.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::kCasting;
using test::Text;

class CuringControllerTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    CuringControllerTest()
        : ControllerFixture(WallTime(QDate(2017, 3, 5), QTime(10, 0))), controller(context, ui.curingUi),
          table1(*ui.curingUi.table1), table2(*ui.curingUi.table2), label(*ui.curingUi.accumulatedLabel),
          dateBox(*ui.curingUi.temperatureDateBox), highBox(*ui.curingUi.highBox), lowBox(*ui.curingUi.lowBox),
          addButton(*ui.curingUi.addTemperatureButton), changeButton(*ui.curingUi.changeTemperatureButton)
    {
        openDatabase();
        // These tables count from the casting day (the choice when none was made is the next day).
        context.settings.write(keys::kCountFromNextDay, QStringLiteral("假"));
        context.selection = {QStringLiteral("三层梁"), QStringLiteral("一号楼"), kCasting, QStringLiteral("三层梁"),
                             QStringLiteral("C30")};
        controller.connectControls();
        controller.setAfterAddition([this] { ++additions; });
    }

    void type(const char* date, const char* high, const char* low)
    {
        dateBox.setText(QString::fromUtf8(date));
        highBox.setText(QString::fromUtf8(high));
        lowBox.setText(QString::fromUtf8(low));
    }

    CuringController controller;
    QTableWidget& table1;
    QTableWidget& table2;
    QLabel& label;
    QLineEdit& dateBox;
    QLineEdit& highBox;
    QLineEdit& lowBox;
    QPushButton& addButton;
    QPushButton& changeButton;
    int additions = 0;
};

TEST_F(CuringControllerTest, AddingADayRefreshesTable1AndRefusesTheSameDayAgain)
{
    type("2017年3月1日", "25", "18");
    addButton.click();
    settle();
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(Text(table1, 7, 0), QStringLiteral("3月1日"));
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("21.5℃"));
    EXPECT_EQ(label.text(), QStringLiteral("同养1天|21.5℃"));
    EXPECT_EQ(additions, 1);

    type("2017-3-1", "30", "20");
    addButton.click();
    settle();
    EXPECT_EQ(messages->lastText(), QStringLiteral("日期已存在，请重新输入！"));
    EXPECT_EQ(additions, 1);
}

TEST_F(CuringControllerTest, ChangingADayRefreshesTable1AndFailuresAreShown)
{
    InsertDayIfMissing(*context.db, QDate(2017, 3, 1), 10, 12, 8);
    type("2017-3-1", "30", "20");
    changeButton.click();
    settle();
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("25℃"));
    type("2017-3-1", "hot", "20");
    changeButton.click();
    settle();
    EXPECT_TRUE(messages->lastText().startsWith(QStringLiteral("最高温度")));

    context.db.reset();
    addButton.click();
    EXPECT_EQ(messages->lastText(), QStringLiteral("请先打开数据库！"));
    controller.fillTable1();
    EXPECT_EQ(messages->lastText(), QStringLiteral("连接数据库失败！"));
    EXPECT_EQ(Text(table1, 7, 0), QString()) << "the day area is left cleared";
}

// The typed days are stored on a worker, one after the other: a change typed right after the
// add of the same day finds the added day. At the close, the one on the worker finishes and
// those still queued are stored then.
TEST_F(CuringControllerTest, TypedDaysAreStoredInTheirOrderAndNoneIsLostAtTheClose)
{
    type("2017-3-1", "25", "18");
    addButton.click();
    type("2017-3-1", "30", "20");
    changeButton.click();
    type("2017-3-2", "20", "10");
    addButton.click();
    settle();   // each edit starts the next one and a refresh of table 1
    settle();
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(TemperatureRowsOn(*context.db, QDate(2017, 3, 1)), 1);
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("25℃")) << "the change came after the add";
    EXPECT_EQ(Text(table1, 8, 1), QStringLiteral("15℃"));
    EXPECT_EQ(additions, 2);

    for (int day = 3; day <= 5; ++day) {
        type(qPrintable(QStringLiteral("2017-3-%1").arg(day)), "16", "8");
        addButton.click();
    }
    context.writes.finish();   // as the window closes: no result is applied from here on
    for (int day = 3; day <= 5; ++day)
        EXPECT_EQ(TemperatureRowsOn(*context.db, QDate(2017, 3, day)), 1) << "3月" << day << "日";
}

// A maximum below the minimum is stored only after the clerk confirms it; a refused
// answer stores nothing, for adding and changing alike.
TEST_F(CuringControllerTest, AMaximumBelowTheMinimumIsStoredOnlyAfterConfirmation)
{
    type("2017-3-1", "8", "12");
    messages->answers = {false};
    addButton.click();
    ASSERT_EQ(messages->asked.size(), 1);
    EXPECT_EQ(messages->asked[0].text, QStringLiteral("最高温度低于最低温度，确定要保存吗？"));
    EXPECT_EQ(TemperatureRowsOn(*context.db, QDate(2017, 3, 1)), 0);

    messages->answers = {true};
    addButton.click();
    settle();
    EXPECT_EQ(TemperatureRowsOn(*context.db, QDate(2017, 3, 1)), 1);
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("10℃"));

    type("2017-3-1", "2", "6");
    messages->answers = {false};
    changeButton.click();
    settle();
    EXPECT_EQ(messages->asked.size(), 3);
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("10℃")) << "the refused change stored nothing";

    type("2017-3-1", "12", "6");   // the usual order asks nothing
    changeButton.click();
    settle();
    EXPECT_EQ(messages->asked.size(), 3);
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("9℃"));
}

TEST_F(CuringControllerTest, CountingFromTheNextDaySkipsTheCastingDay)
{
    for (int day = 1; day <= 3; ++day)
        InsertDayIfMissing(*context.db, QDate(2017, 3, day), day * 10, 0, 0);
    ASSERT_TRUE(context.settings.write(keys::kCountFromNextDay, QStringLiteral("真")));
    controller.fillTable1();
    EXPECT_EQ(label.text(), QStringLiteral("同养2天|50℃"));
    controller.showLastTemperatureDay();
    EXPECT_EQ(dateBox.text(), QStringLiteral("2017年3月3日"));
    controller.fillTable2();
    EXPECT_EQ(table2.rowCount(), 3 + 2 + 1);
    EXPECT_EQ(Text(table2, 0, 1), QStringLiteral("一号楼"));
    EXPECT_EQ(Text(table2, 1, 1), QStringLiteral("三层梁"));
    EXPECT_EQ(Text(table2, 3, 0), QStringLiteral("3月2日"));
}

TEST_F(CuringControllerTest, AnOlderBackgroundRefreshNeverOverwritesANewerFill)
{
    InsertDayIfMissing(*context.db, QDate(2017, 3, 1), 10, 0, 0);
    controller.refreshTable1InBackground();
    context.tasks.waitForDone();   // its one-day result waits for the UI thread
    InsertDayIfMissing(*context.db, QDate(2017, 3, 2), 10, 0, 0);
    controller.fillTable1();
    QCoreApplication::processEvents();
    EXPECT_EQ(label.text(), QStringLiteral("同养2天|20℃"));
}

// The clerk picks another position (on a page where table 1 is not refilled) while a
// refresh for the first group runs: its days never appear under the new group.
TEST_F(CuringControllerTest, ARefreshForAGroupNoLongerShownIsDropped)
{
    InsertDayIfMissing(*context.db, QDate(2017, 3, 1), 10, 0, 0);
    controller.refreshTable1InBackground();
    context.tasks.waitForDone();   // its result waits for the UI thread
    context.selection = {QStringLiteral("四层梁"), QStringLiteral("一号楼"), kCasting, QStringLiteral("四层梁"),
                         QStringLiteral("C30")};
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(table1, 7, 0), QString());
    EXPECT_EQ(label.text(), QString());

    controller.refreshTable1InBackground();   // for the group now shown
    settle();
    EXPECT_EQ(label.text(), QStringLiteral("同养1天|10℃"));
}

// After a change of days the scans that follow hold the shared connection on workers: the
// refreshed table 1 and outlook are computed there too, so the UI thread applies them
// without waiting for the connection.
TEST_F(CuringControllerTest, ARefreshIsAppliedWhileAWorkerHoldsTheConnection)
{
    InsertDayIfMissing(*context.db, QDate(2017, 3, 1), 10, 0, 0);
    InsertDayIfMissing(*context.db, QDate(2017, 3, 3), 20, 0, 0);
    controller.refreshTable1InBackground();
    context.tasks.waitForDone();   // its result waits for the UI thread

    test::HeldConnection held(context.db);
    QCoreApplication::processEvents();
    EXPECT_TRUE(held.heldUntilReleased()) << "the UI thread waited for the connection";
    EXPECT_EQ(label.text(), QStringLiteral("同养2天|30℃"));
    EXPECT_EQ(ui.curingUi.missingDaysLabel->text(), QStringLiteral("缺少2天温度记录：3月2日、3月4日"));
}

// Every text of a grid within its cell (a merged cell's width and height), in its own font.
QStringList CutTexts(const QTableWidget& grid)
{
    QStringList cut;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            if (!item || item->text().isEmpty())
                continue;
            int width = 0;
            int height = 0;
            for (int k = c; k < c + std::max(1, grid.columnSpan(r, c)); ++k)
                width += grid.columnWidth(k);
            for (int k = r; k < r + std::max(1, grid.rowSpan(r, c)); ++k)
                height += grid.rowHeight(k);
            const QSize needed = QFontMetrics(item->font()).size(0, item->text());
            if (needed.width() > width || needed.height() > height)
                cut << item->text();
        }
    }
    return cut;
}

// At table font size 16 the dates and sums of both tables stay whole: rows and columns grow.
TEST_F(CuringControllerTest, ALargeTableFontGrowsTheTablesInsteadOfCuttingTheirTexts)
{
    for (int d = 0; d < 5; ++d)
        InsertDayIfMissing(*context.db, kCasting.date().addDays(d), -12.5, -8.25, -16.75);
    home.settings().write(keys::kTableFontSize, QStringLiteral("16"));
    home.settings().write(keys::kTitleFontSize, QStringLiteral("22"));
    controller.applyTable1Frame();
    controller.fillTable1();
    controller.fillTable2();
    EXPECT_EQ(Text(table1, 7, 1), QStringLiteral("-12.5℃"));
    EXPECT_EQ(CutTexts(table1), QStringList());
    EXPECT_EQ(CutTexts(table2), QStringList());
    // The frame is laid again at the same sizes: the grid does not grow any further.
    const int width = table1.columnWidth(1);
    controller.applyTable1Frame();
    controller.fillTable1();
    EXPECT_EQ(table1.columnWidth(1), width);
}

TEST_F(CuringControllerTest, DeleteDialogDeletesOnEnterAndStaysOpen)
{
    InsertDayIfMissing(*context.db, QDate(2017, 3, 1), 10, 0, 0);
    InsertDayIfMissing(*context.db, QDate(2017, 3, 2), 10, 0, 0);
    std::unique_ptr<DeleteTemperatureDialog> dialog = controller.createDeleteDialog();
    EXPECT_EQ(dialog->objectName(), QStringLiteral("温度记录删除"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("温度记录删除"));
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("2017年3月5日"));
    auto* hint = dialog->findChild<QLabel*>(QStringLiteral("要修改的温度"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), QStringLiteral("例如：2008年10月01日"));
    dialog->show();

    // Each deletion is asked first, naming the day, and then reported.
    messages->answers = {true, false, true};
    box->setText(QStringLiteral("2017年3月2日"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    settle();
    EXPECT_EQ(label.text(), QStringLiteral("同养1天|10℃"));
    ASSERT_EQ(messages->asked.size(), 1);
    EXPECT_EQ(messages->asked[0].text, QStringLiteral("确定删除2017年3月2日的温度记录吗？"));
    EXPECT_EQ(messages->lastText(), QStringLiteral("已删除2017年3月2日的温度记录。"));

    box->setText(QStringLiteral("2017-3-1"));
    dialog->findChild<QPushButton*>(QStringLiteral("确定删除"))->click();
    EXPECT_EQ(LoadTemperatureWindow(*context.db, kCasting, AddDays(kCasting, 5)).size(), 1) << "the clerk said no";
    dialog->findChild<QPushButton*>(QStringLiteral("确定删除"))->click();
    EXPECT_TRUE(LoadTemperatureWindow(*context.db, kCasting, AddDays(kCasting, 5)).isEmpty());
    EXPECT_EQ(messages->lastText(), QStringLiteral("已删除2017年3月1日的温度记录。"));
    box->setText(QStringLiteral("2017-3-1"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(messages->asked.size(), 3) << "a day without records is not asked about";
    EXPECT_EQ(messages->lastText(), QStringLiteral("2017年3月1日没有温度记录。"));

    dialog->findChild<QPushButton*>(QStringLiteral("退出"))->click();
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
} // namespace stolvar
