#include "curing/CuringFixtures.h"
#include "curing/CuringWidgets.h"
#include "curing/forms/CurveChartLoader.h"
#include "curing/forms/MaturityCurvePage.h"
#include "model/maturity/Projection.h"
#include "support/TempHome.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace stolvar {
namespace {

struct CurvePage {
    CurvePage() : page(BuildMaturityCurvePage(ui)) { page->resize(600, 615); }
    CuringWidgets ui;
    std::unique_ptr<QWidget> page;
};

// The build tree holds the module above the test programs, as the installed program holds it
// in its module folder: the page makes its chart from it when a curve is first shown.
TEST(CurveChartModule, ThePageMakesItsChartFromTheModuleOnceWhenACurveIsFirstShown)
{
    const QStringList folders = CurveChartFolders();
    ASSERT_EQ(folders.size(), 3);
    const QString program = QCoreApplication::applicationDirPath();
    EXPECT_EQ(folders[0], program);
    EXPECT_TRUE(folders[1].endsWith(QStringLiteral("/stolvar"))) << folders[1].toStdString();
    EXPECT_EQ(folders[2], QDir::cleanPath(program + QStringLiteral("/..")));

    QString error;
    const CurveChart* chart = LoadCurveChart(&error);
    ASSERT_NE(chart, nullptr) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(LoadCurveChart(nullptr), chart);

    CurvePage p;
    EXPECT_EQ(p.ui.curveView, nullptr);
    ASSERT_TRUE(ShowCurveOnPage(p.ui, test::TenDaysOfTwenty(), QStringLiteral("一号楼 三层梁 C30")));
    auto* view = qobject_cast<QChartView*>(p.ui.curveView);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->objectName(), "成熟度图");
    EXPECT_EQ(view->parentWidget(), p.ui.curveArea);
    EXPECT_EQ(view->size(), QSize(600, 615));   // printed as it would show, before it is shown
    EXPECT_EQ(view->chart()->title(), "一号楼 三层梁 C30");
    EXPECT_EQ(view->chart()->series().size(), 4);
    // A later curve goes into the same chart.
    ASSERT_TRUE(ShowCurveOnPage(p.ui, MaturityCurve{}, QStringLiteral("二号楼")));
    EXPECT_EQ(p.ui.curveView, view);
    EXPECT_EQ(p.ui.curveArea->findChildren<QGraphicsView*>().size(), 1);
    EXPECT_TRUE(view->chart()->series().isEmpty());
    EXPECT_EQ(p.ui.curveProblem, nullptr);
}

TEST(CurveChartModule, AMissingOrForeignModuleIsRefusedWithItsReasonAndThePageSaysSo)
{
    test::TempHome home;
    QString error;
    EXPECT_FALSE(LoadCurveChartFrom({home.path()}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("stolvar-curve-chart"))) << error.toStdString();

    // Not a shared object at all, then one without the module's functions.
    const QString fake = home.file(QStringLiteral("libstolvar-curve-chart.so"));
    QFile garbage(fake);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not an ELF file");
    garbage.close();
    error.clear();
    EXPECT_FALSE(LoadCurveChartFrom({home.path()}, &error));
    EXPECT_FALSE(error.isEmpty());
    const QString zlib = QStringLiteral("/usr/lib/x86_64-linux-gnu/libz.so.1");
    if (QFile::exists(zlib)) {
        ASSERT_TRUE(QFile::remove(fake));
        ASSERT_TRUE(QFile::copy(zlib, fake));
        error.clear();
        EXPECT_FALSE(LoadCurveChartFrom({home.path()}, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("版本不符"))) << error.toStdString();
    }

    CurvePage p;
    EXPECT_EQ(CurveViewOf(p.ui, nullptr, QStringLiteral("找不到曲线组件")), nullptr);
    EXPECT_EQ(CurveViewOf(p.ui, nullptr, QStringLiteral("找不到曲线组件")), nullptr);
    ASSERT_NE(p.ui.curveProblem, nullptr);
    EXPECT_EQ(p.ui.curveProblem->objectName(), "成熟度曲线提示");
    EXPECT_EQ(p.ui.curveProblem->text(), "成熟度曲线无法显示：找不到曲线组件");
    EXPECT_EQ(p.ui.curveArea->findChildren<QLabel*>().size(), 1);
    EXPECT_EQ(p.ui.curveView, nullptr);
}

TEST(CurveChartModule, AChosenModuleFolderIsTheOnlyOneSearched)
{
    qputenv("STOLVAR_MODULE_DIR", "/opt/stolvar-modules");
    const QStringList folders = CurveChartFolders();
    qunsetenv("STOLVAR_MODULE_DIR");
    EXPECT_EQ(folders, QStringList({QStringLiteral("/opt/stolvar-modules")}));
    EXPECT_EQ(CurveChartFolders().size(), 3);
}

} // namespace
} // namespace stolvar
