#include "curing/forms/MaturityChart.h"
#include "curing/CuringFixtures.h"
#include "curing/CuringWidgets.h"
#include "curing/forms/ChartPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <gtest/gtest.h>

#include <memory>

namespace stolvar {
namespace {

// Ten stored days of 20 ℃ and the projection that follows them.
MaturityCurve TenDaysOfTwenty()
{
    const ProjectionInput input{test::kCasting, false, MaturityRule::Classic, test::kCasting.date().addDays(10)};
    return BuildMaturityCurve(test::Window(std::vector<float>(10, 20.0f)), input);
}

class MaturityChart : public ::testing::Test
{
protected:
    MaturityChart()
    {
        page.reset(BuildMaturityCurvePage(ui));
        page->resize(600, 615);
    }
    QByteArray head(const QString& path, int bytes)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
    }

    test::TempHome home;
    CuringWidgets ui;
    std::unique_ptr<QWidget> page;
};

TEST_F(MaturityChart, ShowsTheCurveAndAnEmptyGroupLeavesOnlyTheTitle)
{
    ASSERT_EQ(ui.curvePage, page.get());
    EXPECT_EQ(ui.curveView->objectName(), "成熟度图");
    ShowMaturityCurve(ui.curveView, TenDaysOfTwenty(), MaturityCurveTitle("一号楼", "三层梁", "C30"));
    QChart* chart = ui.curveView->chart();
    EXPECT_EQ(chart->title(), "一号楼 三层梁 C30");
    EXPECT_EQ(chart->series().size(), 4);   // stored, projected, 600 line, due day
    EXPECT_EQ(chart->axes().size(), 3);     // days, dates, ℃·d
    // A second fill replaces the first instead of adding to it.
    ShowMaturityCurve(ui.curveView, TenDaysOfTwenty(), QStringLiteral("x"));
    EXPECT_EQ(chart->series().size(), 4);
    EXPECT_EQ(chart->axes().size(), 3);
    ShowMaturityCurve(ui.curveView, MaturityCurve{}, QStringLiteral("二号楼"));
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chart->axes().isEmpty());
    EXPECT_EQ(chart->title(), "二号楼");
}

TEST_F(MaturityChart, ThePreviewPrintsTheChartAndSavesItAsPdfOrPng)
{
    ShowMaturityCurve(ui.curveView, TenDaysOfTwenty(), QStringLiteral("一号楼"));
    test::ScriptedMessages messages;
    QPrinter printer;
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateChartPreview(ui.curveView, &printer, nullptr, messages));
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
    EXPECT_EQ(image.size(), ui.curveView->size());
    EXPECT_TRUE(messages.shown.isEmpty());
    messages.fileNames << home.file(QStringLiteral("missing/curve.png"));
    png->trigger();
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("PNG文件保存失败"))) << messages.lastText().toStdString();
}

} // namespace
} // namespace stolvar
