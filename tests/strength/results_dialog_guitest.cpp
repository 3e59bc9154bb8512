#include "db/ResultsSchema.h"
#include "model/register/GroupQueries.h"
#include "model/strength/TestResults.h"
#include "strength/ResultsController.h"
#include "strength/ResultsDialog.h"
#include "strength/StrengthWidgets.h"
#include "support/ControllerFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// Columns of 结果表格.
enum { kKind, kNumber, kReport, kDate, kSize, kS1, kS2, kS3, kValue, kConclusion };

// One group cast on 1 September 2026: two standard, one same-condition, one form-removal group.
class ResultsDialogTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    ResultsDialogTest() : ControllerFixture(Day(2026, 10, 20, 9, 0)), controller(context, ui.resultsUi)
    {
        openDatabase();
        EnsureResultsSchema(*context.db);
        test::InsertGroup(*context.db, "一号楼", "三层梁板", Day(2026, 9, 1), kNotSent, kNotSent, "C30", "2", "1", "1");
        showGroup();
    }

    void showGroup()
    {
        const QVector<SpecimenGroup> groups = LoadGroups(*context.db, "一号楼", QString("三层梁板"));
        ASSERT_EQ(groups.size(), 1);
        controller.showGroup(groups[0]);
    }

    static void type(QTableWidget* grid, int row, int column, const QString& text)
    {
        grid->item(row, column)->setText(text);
    }

    static void typeStrengths(QTableWidget* grid, int row, const QString& a, const QString& b, const QString& c)
    {
        type(grid, row, kS1, a);
        type(grid, row, kS2, b);
        type(grid, row, kS3, c);
    }

    QVector<TestResult> stored() { return LoadGroupResults(*context.db, 1); }

    ResultsController controller;
};

TEST_F(ResultsDialogTest, OneRowPerGroupOfEachKindTitledWithTheGroup)
{
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->objectName(), "试验结果对话框");
    EXPECT_EQ(dialog->windowTitle(), "试验结果：一号楼　三层梁板　C30　2026年9月1日成型");
    QTableWidget* grid = dialog->grid();
    EXPECT_EQ(grid->objectName(), "结果表格");
    ASSERT_EQ(grid->rowCount(), 4);
    QStringList kinds;
    for (int r = 0; r < 4; ++r)
        kinds << grid->item(r, kKind)->text() + grid->item(r, kNumber)->text();
    EXPECT_EQ(kinds, (QStringList{"标养1", "标养2", "同养1", "拆模1"}));
    EXPECT_EQ(grid->item(0, kSize)->text(), "150");
    EXPECT_FALSE(grid->item(0, kValue)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->item(0, kS1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(dialog->requirementBox()->objectName(), "拆模要求框");
    EXPECT_EQ(dialog->requirementBox()->count(), 7);
    EXPECT_EQ(dialog->requirementBox()->currentText(), "未指定");
    EXPECT_EQ(ui.resultsUi.strengthLabel->text(), "暂无试验结果");
}

TEST_F(ResultsDialogTest, EnteringComputesAndSavingStoresEveryRowAtOnce)
{
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    QTableWidget* grid = dialog->grid();
    typeStrengths(grid, 0, "31.0", "32.0", "33.3");
    EXPECT_EQ(grid->item(0, kValue)->text(), "32.1");
    EXPECT_EQ(grid->item(0, kConclusion)->text(), "取平均值，为设计强度的107%");
    typeStrengths(grid, 1, "24", "30", "36");
    EXPECT_EQ(grid->item(1, kValue)->text(), "");
    EXPECT_TRUE(grid->item(1, kConclusion)->text().startsWith("无效")) << grid->item(1, kConclusion)->text().toStdString();
    typeStrengths(grid, 2, "34", "34", "34");
    EXPECT_EQ(grid->item(2, kValue)->text(), "37.4");
    typeStrengths(grid, 3, "24.6", "24.6", "24.6");
    EXPECT_EQ(grid->item(3, kConclusion)->text(), "达到设计强度的82%");
    dialog->requirementBox()->setCurrentIndex(1);   // 板 2~8m：75%
    EXPECT_EQ(grid->item(3, kConclusion)->text(), "达到设计强度的82%，可拆模（要求≥75%）");
    type(grid, 0, kReport, "BG-118");
    type(grid, 0, kDate, "2026-9-29");

    QSignalSpy changed(&controller, &ResultsController::resultsChanged);
    dialog->saveButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->lastText().toStdString();
    EXPECT_EQ(changed.count(), 1);
    const QVector<TestResult> rows = stored();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(LoadFormRequirement(*context.db, 1), 75);
    const auto standard1 = std::find_if(rows.begin(), rows.end(),
                                        [](const TestResult& r) { return r.kind == DueKind::Standard && r.number == 1; });
    ASSERT_NE(standard1, rows.end());
    EXPECT_EQ(standard1->report, "BG-118");
    EXPECT_EQ(standard1->testDate, Day(2026, 9, 29));
    EXPECT_EQ(ui.resultsUi.strengthLabel->text(), "标养：32.1、无效 MPa；同养：37.4 MPa（×1.10）；拆模：82%");

    // Opened again, the dialog shows what was stored; a row emptied holds no result any more.
    const std::unique_ptr<ResultsDialog> again = controller.createDialog();
    EXPECT_EQ(again->grid()->item(0, kS3)->text(), "33.3");
    EXPECT_EQ(again->grid()->item(0, kDate)->text(), "2026年9月29日");
    EXPECT_EQ(again->requirementBox()->currentText(), "板 2~8m：75%");
    typeStrengths(again->grid(), 1, "", "", "");
    again->saveButton()->click();
    EXPECT_EQ(stored().size(), 3);
}

TEST_F(ResultsDialogTest, APastedBlockFillsTheGridFromTheCurrentCell)
{
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    QTableWidget* grid = dialog->grid();
    grid->setCurrentCell(0, kReport);
    // As a spreadsheet copies it: CR LF line ends, a decimal comma, a last line end.
    dialog->pasteText("BG-1\t2026-9-29\t150\t31,5\t32.0\t33\r\nBG-2\t2026-9-29\t100\t30\t30\t30\t多余\r\n");
    EXPECT_EQ(grid->item(0, kS1)->text(), "31,5");
    EXPECT_EQ(grid->item(0, kValue)->text(), "32.2");
    EXPECT_EQ(grid->item(1, kReport)->text(), "BG-2");
    EXPECT_EQ(grid->item(1, kValue)->text(), "28.5");   // 30 × 0.95
    EXPECT_NE(grid->item(1, kConclusion)->text(), "多余") << "nothing lands in a computed column";
    EXPECT_EQ(grid->item(2, kReport)->text(), "");

    // Ctrl+V takes the clipboard; a block starting on a fixed column skips it.
    QApplication::clipboard()->setText("x\t9\t\t\t150\t35\t35\t35\n");
    grid->setCurrentCell(2, kKind);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->item(2, kKind)->text(), "同养");
    EXPECT_EQ(grid->item(2, kNumber)->text(), "1");
    EXPECT_EQ(grid->item(2, kS1)->text(), "35");
    EXPECT_EQ(grid->item(2, kValue)->text(), "38.5");
    // A block longer than the grid stops at its last row.
    grid->setCurrentCell(3, kS1);
    dialog->pasteText("20\t20\t20\n21\t21\t21\n");
    EXPECT_EQ(grid->rowCount(), 4);

    dialog->saveButton()->click();
    EXPECT_EQ(stored().size(), 4);
}

TEST_F(ResultsDialogTest, AWrongCellIsNamedAndNothingIsStored)
{
    ASSERT_EQ(SaveGroupResults(*context.db, 1, {{DueKind::Standard, 1, {}, {}, 150, {30.0, 30.0, 30.0}}}, 50), QString());
    struct Case {
        int row;
        int column;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {1, kS2, "160", "第2行（标养第2组）强度2：强度应大于0且不超过150MPa（输入：160）"},
        {1, kSize, "120", "第2行（标养第2组）尺寸：试件尺寸应为100、150或200（输入：120）"},
        {1, kDate, "2026-8-31", "第2行（标养第2组）试验日期：试验日期不能早于成型日期2026年9月1日"},
        {1, kS3, "", "第2行（标养第2组）强度3：三个试件的强度都应填写"},
    };
    for (const Case& c : cases) {
        messages->shown.clear();
        const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
        QTableWidget* grid = dialog->grid();
        typeStrengths(grid, 0, "35", "35", "35");
        typeStrengths(grid, 1, "33", "33", "33");
        type(grid, c.row, c.column, c.text);
        dialog->requirementBox()->setCurrentIndex(2);
        dialog->saveButton()->click();
        EXPECT_EQ(messages->lastText(), c.message);
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(grid->currentRow(), c.row);
        EXPECT_EQ(grid->currentColumn(), c.column);
        const QVector<TestResult> rows = stored();
        ASSERT_EQ(rows.size(), 1) << c.message.toStdString();
        EXPECT_EQ(rows[0].strengths[0], 30.0);
        EXPECT_EQ(LoadFormRequirement(*context.db, 1), 50);
    }
}

TEST_F(ResultsDialogTest, AFailingWriteIsSaidAndRolledBack)
{
    // A table that takes only one row fails the second insert, after the first insert and the
    // requirement have been written in the same transaction.
    ASSERT_TRUE(context.db->execute("DROP TABLE syjg; CREATE TABLE syjg (id INTEGER PRIMARY KEY, 试块编号 INTEGER, "
                                    "类别 TEXT, 组号 INTEGER, 报告编号 TEXT, 试验日期 TEXT, 试件尺寸 INTEGER, 强度1 REAL, "
                                    "强度2 REAL, 强度3 REAL, CHECK (组号 < 2))"));
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    typeStrengths(dialog->grid(), 0, "35", "35", "35");
    typeStrengths(dialog->grid(), 1, "33", "33", "33");
    dialog->requirementBox()->setCurrentIndex(0);
    QSignalSpy changed(&controller, &ResultsController::resultsChanged);
    dialog->saveButton()->click();
    EXPECT_TRUE(messages->lastText().startsWith("试验结果未能保存：")) << messages->lastText().toStdString();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(test::CountRows(*context.db, "syjg"), 0);
    EXPECT_EQ(LoadFormRequirement(*context.db, 1), std::nullopt);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(ResultsDialogTest, CancelStoresNothing)
{
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    typeStrengths(dialog->grid(), 0, "35", "35", "35");
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == "取消")
            button->click();
    }
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(ResultsDialogTest, AReadOnlyFileShowsResultsAndAcceptsNone)
{
    ASSERT_EQ(SaveGroupResults(*context.db, 1, {{DueKind::Standard, 1, {}, {}, 150, {30.0, 31.0, 32.0}}}, 75), QString());
    const QString path = context.db->path();
    context.db = Database::OpenReadOnly(path);
    ASSERT_TRUE(context.db && context.db->isReadOnly());
    showGroup();
    EXPECT_EQ(ui.resultsUi.strengthLabel->text(), "标养：31.0 MPa");
    const std::unique_ptr<ResultsDialog> dialog = controller.createDialog();
    EXPECT_EQ(dialog->grid()->item(0, kS2)->text(), "31.0");
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    EXPECT_FALSE(dialog->requirementBox()->isEnabled());
    EXPECT_EQ(dialog->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    dialog->grid()->setCurrentCell(1, kS1);
    dialog->pasteText("40\t40\t40");
    EXPECT_EQ(dialog->grid()->item(1, kS1)->text(), "");
}

TEST_F(ResultsDialogTest, TheButtonWorksWhileAPositionIsSelected)
{
    QPushButton* button = ui.resultsUi.resultsButton;
    EXPECT_EQ(button->objectName(), "试验结果按钮");
    EXPECT_EQ(button->text(), "试验结果…");
    EXPECT_TRUE(button->isEnabled());
    controller.setPositionSelected(false);
    EXPECT_FALSE(button->isEnabled());
    controller.setPositionSelected(true);
    EXPECT_TRUE(button->isEnabled());
    controller.forgetGroup();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(controller.createDialog());
}

} // namespace
} // namespace stolvar
