#include "db/ResultsSchema.h"
#include "model/strength/TestResults.h"
#include "strength/EvaluationController.h"
#include "strength/EvaluationModel.h"
#include "strength/EvaluationRecord.h"
#include "strength/StrengthWidgets.h"
#include "support/ControllerFixture.h"
#include "ui/GridCells.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

TestResult Standard(double f)
{
    return {DueKind::Standard, 1, {}, {}, 150, {f, f, f}};
}

// 20 October 2026. 甲楼: three C30 groups of two standard groups each, one result each
// (35, 36, 37 MPa). 乙楼: ten C30 groups, 33 … 42 MPa, and a C40 group with a
// same-condition result.
class EvaluationGuiTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    EvaluationGuiTest() : ControllerFixture(Day(2026, 10, 20, 9, 0)), controller(context, ui.evaluationUi)
    {
        openDatabase();
        EnsureResultsSchema(*context.db);
        qint64 id = 0;
        for (int i = 0; i < 3; ++i) {
            test::InsertGroup(*context.db, "甲楼", QString("基础%1").arg(i + 1), Day(2026, 8, 1 + i), kSent, kNotSent, "C30", "2");
            SaveGroupResults(*context.db, ++id, {Standard(35.0 + i)}, std::nullopt);
        }
        for (int i = 0; i < 10; ++i) {
            test::InsertGroup(*context.db, "乙楼", QString("%1层柱").arg(i + 1), Day(2026, 9, 1 + i));
            SaveGroupResults(*context.db, ++id, {Standard(33.0 + i)}, std::nullopt);
        }
        test::InsertGroup(*context.db, "乙楼", "屋面梁板", Day(2026, 9, 20), kSent, kSent, "C40");
        SaveGroupResults(*context.db, ++id, {{DueKind::SameCondition, 1, {}, {}, 150, {40.0, 40.0, 40.0}}}, std::nullopt);
    }

    void show(const QString& project)
    {
        controller.pageShown(project);
        settle();
    }

    // What the page shows once the evaluation of the choices, on a worker, is in.
    QString result()
    {
        settle();
        return ui.evaluationUi.resultLabel->text();
    }
    int rows()
    {
        settle();
        return controller.model().rowCount();
    }
    QString cell(int row, int column) { return controller.model().index(row, column).data().toString(); }

    EvaluationController controller;
};

TEST_F(EvaluationGuiTest, TheTreesProjectIsEvaluatedWhenThePageIsShown)
{
    show("甲楼");
    const EvaluationWidgets& w = ui.evaluationUi;
    EXPECT_EQ(w.projectBox->currentText(), "甲楼");
    QStringList projects;
    for (int i = 0; i < w.projectBox->count(); ++i)
        projects << w.projectBox->itemText(i);
    EXPECT_EQ(projects, (QStringList{"全部工程", "甲楼", "乙楼"}));
    EXPECT_EQ(w.gradeBox->currentText(), "C30");
    EXPECT_EQ(w.fromBox->date(), QDate(2026, 8, 1));
    EXPECT_EQ(w.toBox->date(), QDate(2026, 8, 3));
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(0, 2), "基础1");
    EXPECT_EQ(cell(2, 9), "37.0");
    EXPECT_TRUE(w.grid->isColumnHidden(1)) << "one project's name is not repeated";
    EXPECT_TRUE(result().startsWith("n=3　mfcu=36.00　Sfcu=1.00　fcu,min=35.0　fcu,k=30｜非统计方法：")) << result().toStdString();
    EXPECT_TRUE(result().endsWith("评定结果：合格"));
    // Each group counts two and has one result, and all three are past 28 days.
    EXPECT_EQ(w.pendingLabel->text(), "已到龄期尚无结果：3组");
}

TEST_F(EvaluationGuiTest, TheChoicesMakeTheLot)
{
    show("乙楼");
    const EvaluationWidgets& w = ui.evaluationUi;
    EXPECT_EQ(w.gradeBox->count(), 2);
    EXPECT_EQ(w.gradeBox->itemText(1), "C40");
    EXPECT_TRUE(result().contains("｜统计方法：")) << result().toStdString();
    EXPECT_TRUE(result().contains("fcu,k+λ1·Sfcu=30+1.15×3.03=33.48 ✓")) << result().toStdString();

    w.projectBox->setCurrentIndex(0);   // 全部工程
    settle();
    EXPECT_FALSE(w.grid->isColumnHidden(1));
    EXPECT_EQ(rows(), 13);
    EXPECT_TRUE(result().startsWith("n=13")) << result().toStdString();
    EXPECT_EQ(w.fromBox->date(), QDate(2026, 8, 1));
    EXPECT_EQ(w.toBox->date(), QDate(2026, 9, 20));
    w.methodBox->setCurrentIndex(2);   // 非统计方法
    EXPECT_TRUE(result().contains("｜非统计方法：mfcu=")) << result().toStdString();

    w.fromBox->setDate(QDate(2026, 9, 5));
    EXPECT_EQ(rows(), 6);
    w.methodBox->setCurrentIndex(1);   // 统计方法, with six groups
    EXPECT_TRUE(result().contains("｜非统计方法（统计方法需n≥10）：")) << result().toStdString();
    // A register read again keeps the dates the clerk chose.
    controller.refresh();
    settle();
    EXPECT_EQ(w.fromBox->date(), QDate(2026, 9, 5));
    EXPECT_EQ(rows(), 6);

    w.gradeBox->setCurrentIndex(1);   // C40
    EXPECT_EQ(result(), "无可评定的试验结果");
    w.kindBox->setCurrentIndex(1);    // 同条件养护（结构实体）
    EXPECT_EQ(w.kindBox->currentText(), "同条件养护（结构实体）");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 9), "44.0");
    EXPECT_EQ(cell(0, 10), "折算×1.10");
    EXPECT_TRUE(result().startsWith("n=1　mfcu=44.00　Sfcu=—　fcu,min=44.0　fcu,k=40")) << result().toStdString();
}

// The choices are evaluated on a worker: a newer choice replaces an evaluation still running,
// and a record asked for meanwhile evaluates the choices as they stand at once.
TEST_F(EvaluationGuiTest, TheLatestChoicesAreWhatThePageAndTheRecordShow)
{
    show("乙楼");
    const EvaluationWidgets& w = ui.evaluationUi;
    w.gradeBox->setCurrentIndex(1);   // C40, and at once back to C30
    w.gradeBox->setCurrentIndex(0);
    w.methodBox->setCurrentIndex(2);  // 非统计方法
    const QString now = controller.evaluation().resultText;
    EXPECT_TRUE(now.startsWith("n=10")) << now.toStdString();
    EXPECT_TRUE(now.contains("｜非统计方法：mfcu=")) << now.toStdString();
    EXPECT_EQ(w.resultLabel->text(), now) << "shown as soon as it is done";
    EXPECT_EQ(result(), now) << "no older evaluation comes after it";
    EXPECT_EQ(rows(), 10);
}

TEST_F(EvaluationGuiTest, ADoubleClickAsksForTheGroupInTheTree)
{
    show("乙楼");
    QSignalSpy requested(&controller, &EvaluationController::groupRequested);
    QTableView* grid = ui.evaluationUi.grid;
    ui.frame.tabs->setCurrentWidget(ui.evaluationUi.page);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QModelIndex third = controller.model().index(2, 2);
    // The view takes a double click on the cell its press landed on, as a real one has.
    const QPoint where = grid->visualRect(third).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, where);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toString(), "乙楼");
    EXPECT_EQ(requested[0][1].toString(), "3层柱");
}

TEST_F(EvaluationGuiTest, AHiddenPageReadsTheRegisterWhenShown)
{
    show("甲楼");
    bool shown = false;
    controller.setShownCheck([&shown] { return shown; });
    SaveGroupResults(*context.db, 1, {Standard(35.0), {DueKind::Standard, 2, {}, {}, 150, {20.0, 20.0, 20.0}}}, std::nullopt);
    controller.refresh();
    settle();
    EXPECT_EQ(rows(), 3) << "not read while hidden";
    shown = true;
    show("甲楼");
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(result().endsWith("评定结果：不合格"));   // 20.0 < 0.95 × 30
    EXPECT_EQ(ui.evaluationUi.pendingLabel->text(), "已到龄期尚无结果：2组");
}

QByteArray Head(const QString& path, int n)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(n) : QByteArray();
}

TEST_F(EvaluationGuiTest, TheRecordPrintsWithItsScopeFiguresAndSignatures)
{
    show("甲楼");
    const std::unique_ptr<QTableWidget> record = controller.buildRecord();
    EXPECT_EQ(CellText(*record, 0, 0), "混凝土试块强度统计、评定记录");
    EXPECT_EQ(CellText(*record, 1, 0), "工程名称：甲楼");
    EXPECT_EQ(CellText(*record, 1, 5), "强度等级：C30");
    EXPECT_EQ(CellText(*record, 1, 8), "养护条件：标准养护");
    EXPECT_EQ(CellText(*record, 2, 0), "成型日期：2026年8月1日～2026年8月3日");
    EXPECT_EQ(CellText(*record, 2, 5), "评定方法：自动（非统计方法）");
    EXPECT_EQ(CellText(*record, 3, 9), "代表值");
    EXPECT_EQ(CellText(*record, 4, 2), "基础1");
    QStringList lines;
    for (int r = 7; r < record->rowCount(); ++r)
        lines << CellText(*record, r, 0) + CellText(*record, r, 5);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith("统计：n=3"));
    EXPECT_TRUE(lines[1].startsWith("非统计方法：mfcu=36.00 ≥ λ3·fcu,k=1.15×30=34.50 ✓"));
    EXPECT_EQ(lines[3], "评定结果：合格");
    EXPECT_EQ(lines[4], "计算：审核：");
    EXPECT_EQ(lines[5], "施工单位评定结果：");
    EXPECT_EQ(lines[6], "监理（建设）单位验收结论：");
    EXPECT_TRUE(lines[7].startsWith("日期："));

    QPrinter printer;
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateRecordPreview(record.get(), &printer, nullptr, *messages));
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    EXPECT_EQ(preview->pageCount(), 1);
    auto* pdf = dialog->findChild<QAction*>("另存为PDF");
    auto* png = dialog->findChild<QAction*>("另存为PNG");
    ASSERT_TRUE(pdf && png);
    messages->fileNames << home.file("评定") << home.file("评定");
    pdf->trigger();
    png->trigger();
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->lastText().toStdString();
    EXPECT_EQ(Head(home.file("评定.pdf"), 5), "%PDF-");
    const QImage image(home.file("评定.png"));
    EXPECT_GT(image.width(), 1000);
    EXPECT_GT(image.height(), 400);

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext not installed";
    QProcess text;
    text.start(pdftotext, {home.file("评定.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* line : {"混凝土试块强度统计、评定记录", "评定结果：合格", "监理（建设）单位验收结论：", "基础3"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(line))) << line << "\n" << printed.toStdString();
}

} // namespace
} // namespace stolvar
