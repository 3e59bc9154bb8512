#include "curing/forms/SameConditionTables.h"
#include "db/Database.h"
#include "model/temperatures/TemperatureStore.h"
#include "support/MainWindowFixture.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QStyleOptionViewItem>
#include <QAbstractItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// A group cast on 1 March 2017, seen on 20 March: typed days of 20 ℃ from 1 to 15 March
// without 10 and 11 March, then forecast days of 30 ℃ from 16 to 22 March.
class CuringInsight : public ::testing::Test
{
protected:
    CuringInsight() : f(Day(2017, 3, 20, 10, 0))
    {
        auto db = f.prepareDatabase();
        test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("三层梁"), Day(2017, 3, 1));
        for (int d = 1; d <= 15; ++d) {
            if (d != 10 && d != 11)
                test::InsertTemperature(*db, Day(2017, 3, d), 20, 24, 16);
        }
        db.reset();
        f.settings().write(keys::kCountFromNextDay, QStringLiteral("假"));   // count from the casting day
        f.start();
        for (int d = 16; d <= 22; ++d)
            StoreTemperatureDay(*f.ctx().db, {QDate(2017, 3, d), 30, 34, 26}, TemperatureSource::Forecast,
                                ExistingDay::Keep);
    }

    void selectGroup()
    {
        QTreeView* tree = f.ui().registerUi.tree;
        tree->setCurrentIndex({});
        tree->setCurrentIndex(tree->model()->index(0, 0, tree->model()->index(0, 0)));
        QCoreApplication::processEvents();
    }

    test::MainWindowFixture f;
};

TEST_F(CuringInsight, ThePanelNamesTheMissingDaysAndTheProjectedDate)
{
    selectGroup();
    const WindowWidgets& ui = f.ui();
    EXPECT_EQ(ui.curingUi.missingDaysLabel->objectName(), "缺测标签");
    EXPECT_EQ(ui.curingUi.missingDaysLabel->text(), "缺少2天温度记录：3月10日、3月11日");
    // 13 × 20 + 7 × 30 = 470 on 22 March; the last 7 days' mean (30) gives 600 on 27 March.
    EXPECT_EQ(ui.curingUi.projectionLabel->text(), "预计2017年3月27日达到600℃·d（含预报7天）");
}

TEST_F(CuringInsight, Table2MarksForecastDaysOnTheScreenOnly)
{
    f.ui().frame.tabs->setCurrentIndex(kTable2Page);
    selectGroup();
    const QTableWidget* grid = f.ui().curingUi.table2;
    ASSERT_GT(grid->rowCount(), 3 + 20);
    const QTableWidgetItem* typed = grid->item(3, 3);      // 1 March
    const QTableWidgetItem* forecast = grid->item(3 + 13, 3);  // 16 March, the first forecast day
    ASSERT_TRUE(typed && forecast);
    EXPECT_EQ(forecast->text(), "30℃");
    EXPECT_FALSE(typed->data(kSourceRole).isValid());
    EXPECT_EQ(forecast->data(kSourceRole).toString(), "预报");
    EXPECT_EQ(forecast->toolTip(), "温度来源：预报");
    // What the printer reads stays as for any day: no italics, no background of its own.
    EXPECT_FALSE(forecast->font().italic());
    EXPECT_EQ(forecast->background().style(), Qt::NoBrush);
    EXPECT_FALSE(f.ui().curingUi.table2Legend->text().isEmpty());
    EXPECT_FALSE(f.ui().curingUi.table2Legend->text().contains("GB"));
}

TEST_F(CuringInsight, TheCurvePageFollowsTheSelection)
{
    f.ui().frame.tabs->setCurrentIndex(kCurvePage);
    selectGroup();
    auto* view = qobject_cast<QChartView*>(f.ui().curingUi.curveView);
    ASSERT_TRUE(view);
    QChart* chart = view->chart();
    EXPECT_EQ(chart->title(), "一号楼 三层梁 C30");
    QStringList names;
    for (QAbstractSeries* s : chart->series())
        names << s->name();
    EXPECT_EQ(names, QStringList({"已记录", "预报", "推算", "600℃·d", "送检日（第26天）"}));
    const auto* stored = qobject_cast<QLineSeries*>(chart->series().constFirst());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->pen().style(), Qt::SolidLine);
    EXPECT_EQ(qobject_cast<QLineSeries*>(chart->series()[1])->pen().style(), Qt::DashLine);
    EXPECT_EQ(qobject_cast<QLineSeries*>(chart->series()[2])->pen().style(), Qt::DotLine);
    EXPECT_EQ(stored->points().constLast(), QPointF(14, 260));
}

TEST_F(CuringInsight, TheStandardRuleShowsInEveryView)
{
    ASSERT_TRUE(f.settings().write(keys::kStandardRule, QStringLiteral("真")));
    f.ui().frame.tabs->setCurrentIndex(kTable1Page);
    selectGroup();
    const WindowWidgets& ui = f.ui();
    EXPECT_TRUE(ui.curingUi.accumulatedLabel->text().endsWith("|国标")) << ui.curingUi.accumulatedLabel->text().toStdString();
    // Table 1's title carries the note on the screen; the item the printer reads does not.
    EXPECT_EQ(ui.curingUi.table1->property("screenNote").toString(), "（按GB 50204-2015）");
    ASSERT_NE(ui.curingUi.table1->item(1, 0), nullptr);
    EXPECT_EQ(ui.curingUi.table1->item(1, 0)->text(), "混凝土结构同条件养护试块养护记录");
    QStyleOptionViewItem option;
    option.initFrom(ui.curingUi.table1);
    const QModelIndex title = ui.curingUi.table1->model()->index(1, 0);
    const QSize withNote = ui.curingUi.table1->itemDelegate()->sizeHint(option, title);
    ShowRuleNote(ui.curingUi.table1, MaturityRule::Classic);
    EXPECT_LT(ui.curingUi.table1->itemDelegate()->sizeHint(option, title).width(), withNote.width());
    ShowRuleNote(ui.curingUi.table1, MaturityRule::Standard2015);
    EXPECT_EQ(ui.frame.tabs->tabText(kTable1Page), "同养表（一）");   // the captions stay
    f.ui().frame.tabs->setCurrentIndex(kTable2Page);
    selectGroup();
    EXPECT_TRUE(ui.curingUi.table2Legend->text().startsWith("同养表（二）（按GB 50204-2015）")) << ui.curingUi.table2Legend->text().toStdString();
    f.ui().frame.tabs->setCurrentIndex(kCurvePage);
    selectGroup();
    auto* view = qobject_cast<QChartView*>(ui.curingUi.curveView);
    ASSERT_TRUE(view);
    QStringList names;
    for (QAbstractSeries* s : view->chart()->series())
        names << s->name();
    EXPECT_TRUE(names.contains("国标14天")) << names.join(u',').toStdString();
}

} // namespace
} // namespace stolvar
