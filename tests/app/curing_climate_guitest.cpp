// A register with its place's 30 years stored: the panel, the curve and the worklist show the
// projection from the climate. With STOLVAR_SHOT_DIR set, each view is also saved as a PNG.
#include "db/Database.h"
#include "model/temperatures/ClimateStore.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QLabel>
#include <QLineSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// A group cast on 1 March 2017, seen on 20 March, its days of 10 ℃ typed up to 15 March.
// Every day of 1987–2016 is 13, 14, 15, 16 or 17 ℃ by the year (six years each), so the
// 450 ℃·d still wanting take 27 to 35 days after 15 March.
class CuringClimate : public ::testing::Test
{
protected:
    CuringClimate() : f(Day(2017, 3, 20, 10, 0))
    {
        auto db = f.prepareDatabase();
        test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("三层梁"), Day(2017, 3, 1));
        for (int d = 1; d <= 15; ++d)
            test::InsertTemperature(*db, Day(2017, 3, d), 10, 14, 6);
        QVector<ClimateDay> years;
        for (QDate d(1987, 1, 1); d <= QDate(2016, 12, 31); d = d.addDays(1))
            years.append({d, 15.0 + d.year() % 5 - 2});
        EXPECT_EQ(StoreClimate(*db, years), QString());
        db.reset();
        f.settings().write(keys::kCountFromNextDay, QStringLiteral("假"));
        f.settings().write(keys::kLeadDays, QStringLiteral("30"));
        f.start();
        f.window->resize(1400, 860);
        f.window->show();
    }

    void selectGroup()
    {
        QTreeView* tree = f.ui().registerUi.tree;
        tree->setCurrentIndex({});
        tree->setCurrentIndex(tree->model()->index(0, 0, tree->model()->index(0, 0)));
        QCoreApplication::processEvents();
    }

    void shoot(const QString& name)
    {
        const QString dir = qEnvironmentVariable("STOLVAR_SHOT_DIR");
        if (dir.isEmpty())
            return;
        QCoreApplication::processEvents();
        f.window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    static QString cell(const QTableWidget* grid, int row, int column)
    {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }

    test::MainWindowFixture f;
};

TEST_F(CuringClimate, ThePanelNamesTheMedianAndItsRange)
{
    selectGroup();
    EXPECT_EQ(f.ui().curingUi.projectionLabel->text(),
              "预计2017年4月14日达到600℃·d（4月11日～4月19日，按30年气候，含预报0天）");
    f.ui().frame.tabs->setCurrentIndex(kDataPage);
    shoot(QStringLiteral("climate-panel"));
}

TEST_F(CuringClimate, TheCurveShadesTheRangeUnderTheMedian)
{
    f.ui().frame.tabs->setCurrentIndex(kCurvePage);
    selectGroup();
    auto* view = qobject_cast<QChartView*>(f.ui().curingUi.curveView);
    ASSERT_TRUE(view);
    QChart* chart = view->chart();
    ASSERT_FALSE(chart->series().isEmpty());
    const auto* band = qobject_cast<QAreaSeries*>(chart->series().constFirst());
    ASSERT_TRUE(band);
    EXPECT_EQ(band->name(), "气候范围（10%～90%）");
    // From the last stored day (14 days after casting, 150 ℃·d) to the late day, 49 days.
    EXPECT_EQ(band->upperSeries()->points().constFirst(), QPointF(14, 150));
    EXPECT_EQ(band->upperSeries()->points().constLast().x(), 49);
    QStringList names;
    for (QAbstractSeries* s : chart->series())
        names << s->name();
    EXPECT_TRUE(names.contains("送检日（第44天）")) << names.join(u',').toStdString();
    shoot(QStringLiteral("climate-curve"));
}

TEST_F(CuringClimate, TheWorklistTakesTheMedian)
{
    f.ui().frame.tabs->setCurrentIndex(kWorklistPage);
    QTableWidget* work = f.ui().worklistUi.grid;
    ASSERT_TRUE(test::WaitUntil([&] {
        for (int r = 0; r < work->rowCount(); ++r)
            if (cell(work, r, 0) == "同养")
                return true;
        return false;
    }));
    int row = 0;
    while (cell(work, row, 0) != "同养")
        ++row;
    EXPECT_EQ(cell(work, row, 5), "预计2017年4月14日");
    shoot(QStringLiteral("climate-worklist"));
}

} // namespace
} // namespace stolvar
