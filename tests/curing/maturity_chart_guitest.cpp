#include "chart/MaturityChart.h"
#include "core/Conversions.h"
#include "curing/CuringFixtures.h"
#include "curing/forms/ChartPrinter.h"
#include "curing/forms/MaturityCurvePage.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace stolvar {
namespace {

// The test curve with its last stored sum 5 ℃·d higher: a changed curve to show.
MaturityCurve WarmerLastDay()
{
    MaturityCurve warmer = test::TenDaysOfTwenty();
    warmer.runs.first().points.last().ry() += 5;
    return warmer;
}

class MaturityChart : public ::testing::Test
{
protected:
    MaturityChart() : view(CreateMaturityChartView(nullptr)) { view->resize(600, 615); }
    QByteArray head(const QString& path, int bytes)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
    }

    test::TempHome home;
    std::unique_ptr<QChartView> view;
};

TEST_F(MaturityChart, ShowsTheCurveAndAnEmptyGroupLeavesOnlyTheTitle)
{
    EXPECT_EQ(view->objectName(), "成熟度图");
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), MaturityCurveTitle("一号楼", "三层梁", "C30"));
    QChart* chart = view->chart();
    EXPECT_EQ(chart->title(), "一号楼 三层梁 C30");
    EXPECT_EQ(chart->series().size(), 4);   // stored, projected, 600 line, due day
    EXPECT_EQ(chart->axes().size(), 3);     // days, dates, ℃·d
    // A second fill replaces the first instead of adding to it.
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), QStringLiteral("x"));
    EXPECT_EQ(chart->series().size(), 4);
    EXPECT_EQ(chart->axes().size(), 3);
    // The same curve and title again keep the chart as it stands; a changed curve does not.
    const auto kept = [chart] { return chart->series().constFirst()->objectName() == "drawn"; };
    chart->series().constFirst()->setObjectName("drawn");
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), QStringLiteral("x"));
    EXPECT_TRUE(kept());
    ShowMaturityCurve(view.get(), WarmerLastDay(), QStringLiteral("x"));
    EXPECT_FALSE(kept());
    EXPECT_EQ(chart->series().size(), 4);
    ShowMaturityCurve(view.get(), MaturityCurve{}, QStringLiteral("二号楼"));
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chart->axes().isEmpty());
    EXPECT_EQ(chart->title(), "二号楼");
}

// Switching to its page and away hides and shows the view in an active window; the chart
// stays as it was drawn instead of laying out and repainting all its items again.
TEST_F(MaturityChart, HidingAndShowingTheViewRedrawsNothing)
{
    QWidget window;
    window.resize(600, 615);
    QChartView* shown = CreateMaturityChartView(&window);
    shown->resize(600, 615);
    ShowMaturityCurve(shown, test::TenDaysOfTwenty(), QStringLiteral("一号楼"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::qWait(50);
    int changes = 0;
    QObject::connect(shown->scene(), &QGraphicsScene::changed, [&changes] { ++changes; });
    for (int i = 0; i < 3; ++i) {
        shown->hide();
        QCoreApplication::processEvents();
        shown->show();
        QTest::qWait(20);
    }
    EXPECT_EQ(changes, 0);
    // A change of the curve still redraws it.
    ShowMaturityCurve(shown, WarmerLastDay(), QStringLiteral("一号楼"));
    QTest::qWait(20);
    EXPECT_GT(changes, 0);
}

TEST_F(MaturityChart, ThePreviewPrintsTheChartAndSavesItAsPdfOrPng)
{
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), QStringLiteral("一号楼"));
    test::ScriptedMessages messages;
    QPrinter printer;
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateChartPreview(view.get(), &printer, nullptr, messages));
    EXPECT_EQ(dialog->objectName(), "打印预览");
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    EXPECT_EQ(preview->pageCount(), 1);

    auto* pdf = dialog->findChild<QAction*>(QStringLiteral("另存为PDF"));
    auto* png = dialog->findChild<QAction*>(QStringLiteral("另存为PNG"));
    ASSERT_TRUE(pdf && png);
    messages.fileNames << home.file(QStringLiteral("curve")) << home.file(QStringLiteral("curve"));
    pdf->trigger();
    png->trigger();
    EXPECT_EQ(head(home.file(QStringLiteral("curve.pdf")), 5), "%PDF-");
    const QImage image(home.file(QStringLiteral("curve.png")));
    EXPECT_EQ(image.size(), view->size());
    EXPECT_TRUE(messages.shown.isEmpty());
    messages.fileNames << home.file(QStringLiteral("missing/curve.png"));
    png->trigger();
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("PNG文件保存失败"))) << messages.lastText().toStdString();
}


QValueAxis* AxisAt(QChart* chart, Qt::Alignment where)
{
    const QList<QAbstractAxis*> axes = chart->axes(where == Qt::AlignLeft ? Qt::Vertical : Qt::Horizontal);
    for (QAbstractAxis* axis : axes) {
        if (axis->alignment() == where)
            return qobject_cast<QValueAxis*>(axis);
    }
    return nullptr;
}

QStringList SeriesNames(QChart* chart)
{
    QStringList names;
    for (const QAbstractSeries* series : chart->series())
        names << series->name();
    return names;
}

// A winter under the classic rule: days below 0 ℃ sum below zero, and the axis shows them.
// Too cold to reach 600 ℃·d: the legend names the day the panel names.
TEST_F(MaturityChart, NegativeSumsAreShownAndTheLegendNamesThePanelsDay)
{
    const ProjectionInput input{test::kCasting, false, MaturityRule::Classic, test::kCasting.date().addDays(12), {}};
    const auto records = test::Window(std::vector<float>(12, -5.0f));
    ShowMaturityCurve(view.get(), BuildMaturityCurve(records, input), QStringLiteral("冬季"));
    QChart* chart = view->chart();
    QValueAxis* sums = AxisAt(chart, Qt::AlignLeft);
    ASSERT_NE(sums, nullptr);
    EXPECT_LE(sums->min(), -60.0) << "12 days at -5 ℃ sum to -60 ℃·d";
    EXPECT_GE(sums->max(), 600.0);
    const SameConditionProjection panel = ProjectSameConditionDate(records, input);
    ASSERT_EQ(panel.outcome, SameConditionProjection::Outcome::TooCold);
    const QString day = FormatLongDate(WallTime(panel.date));
    EXPECT_TRUE(ProjectionText(panel).contains(day));
    EXPECT_TRUE(SeriesNames(chart).contains(QStringLiteral("送检日（第60天，%1）").arg(day))) << SeriesNames(chart).join(u'|').toStdString();

    // Sixty counted days at 5 ℃, counted from the casting day: the cap passed on the 60th.
    const ProjectionInput mild{test::kCasting, false, MaturityRule::Classic, test::kCasting.date().addDays(70), {}};
    const auto sixty = test::Window(std::vector<float>(70, 5.0f));
    const SameConditionProjection passed = ProjectSameConditionDate(sixty, mild);
    ASSERT_EQ(passed.outcome, SameConditionProjection::Outcome::CapPassed);
    ShowMaturityCurve(view.get(), BuildMaturityCurve(sixty, mild), QStringLiteral("秋季"));
    const QString capDay = FormatLongDate(WallTime(passed.date));
    EXPECT_TRUE(ProjectionText(passed).contains(capDay));
    EXPECT_TRUE(SeriesNames(chart).contains(QStringLiteral("送检日（第60天，%1）").arg(capDay))) << SeriesNames(chart).join(u'|').toStdString();
}

// A narrow chart puts fewer dates on its top axis, so that none runs into the next.
TEST_F(MaturityChart, ANarrowChartSpacesItsDates)
{
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), QStringLiteral("x"));
    QValueAxis* wide = AxisAt(view->chart(), Qt::AlignBottom);
    ASSERT_NE(wide, nullptr);
    const int wideTicks = wide->tickCount();
    view->resize(260, 400);
    ShowMaturityCurve(view.get(), test::TenDaysOfTwenty(), QStringLiteral("x"));
    QValueAxis* narrow = AxisAt(view->chart(), Qt::AlignBottom);
    ASSERT_NE(narrow, nullptr);
    EXPECT_LT(narrow->tickCount(), wideTicks);
    EXPECT_LE((narrow->tickCount() - 1) * 64, 260 - 120 + 64);
    EXPECT_EQ(std::fmod(narrow->max(), (narrow->max() - narrow->min()) / (narrow->tickCount() - 1)), 0.0);
}

} // namespace
} // namespace stolvar
