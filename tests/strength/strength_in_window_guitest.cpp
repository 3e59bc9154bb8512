#include "db/ResultsSchema.h"
#include "model/register/GroupStore.h"
#include "model/strength/TestResults.h"
#include "settings/SameConditionDialog.h"
#include "strength/EvaluationController.h"
#include "strength/EvaluationModel.h"
#include "strength/ResultsController.h"
#include "strength/ResultsDialog.h"
#include "strength/StrengthWidgets.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// A register of an earlier release: no results table, no 拆模要求.
class StrengthInWindow : public ::testing::Test
{
protected:
    StrengthInWindow() : f(Day(2026, 10, 20, 9, 0))
    {
        const QString path = f.home.file("old.dat");
        auto db = Database::Create(path);
        db->execute("CREATE TABLE gcxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 工程名称 TEXT COLLATE NOCASE, 工程部位 TEXT "
                    "COLLATE NOCASE, 强度等级 TEXT, 取样日期 TEXT, 标养状态 TEXT, 同养状态 TEXT, 标养组数 TEXT, 同养组数 TEXT, "
                    "拆模组数 TEXT); CREATE TABLE skxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 养护记录 TEXT, 温度记录 REAL, "
                    "最高温度 REAL, 最低温度 REAL)");
        test::InsertGroup(*db, "甲楼", "一层柱", Day(2026, 9, 1));
        test::InsertGroup(*db, "甲楼", "二层柱", Day(2026, 9, 8));
        f.settings().write(keys::kDatabaseFile, path);
        f.settings().write(keys::kTreeSelection, "1");   // 甲楼 / 一层柱
    }

    void selectNode(int row, int child = -1)
    {
        QTreeView* tree = f.ui().registerUi.tree;
        const QModelIndex project = tree->model()->index(row, 0);
        tree->setCurrentIndex(child < 0 ? project : tree->model()->index(child, 0, project));
        QCoreApplication::processEvents();
    }

    test::MainWindowFixture f;
};

TEST_F(StrengthInWindow, AnOlderRegisterGainsTheResultsAndThePanelFollowsTheTree)
{
    MainWindow& w = f.start();
    ASSERT_TRUE(f.ctx().db);
    // The table comes with the check of the opened file, on a worker after the window is filled.
    ASSERT_TRUE(test::WaitUntil([&] { return HasResultsTable(*f.ctx().db); }));
    EXPECT_TRUE(HasFormRequirementColumn(*f.ctx().db));
    EXPECT_TRUE(f.messages->shown.isEmpty()) << f.messages->lastText().toStdString();
    const ResultsPanelWidgets& panel = f.ui().resultsUi;
    EXPECT_TRUE(panel.resultsButton->isEnabled());
    EXPECT_EQ(panel.strengthLabel->text(), "暂无试验结果");
    selectNode(0);   // the project
    EXPECT_FALSE(panel.resultsButton->isEnabled());
    selectNode(0, 1);
    EXPECT_TRUE(panel.resultsButton->isEnabled());

    // A result saved from the dialog reaches the label and the evaluation page.
    f.ui().frame.tabs->setCurrentIndex(kStrengthPage);
    ASSERT_TRUE(test::WaitUntil([&] { return f.ui().evaluationUi.resultLabel->text() == "无可评定的试验结果"; }));
    const std::unique_ptr<ResultsDialog> dialog = w.results().createDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->windowTitle().contains("二层柱"));
    for (int c = 5; c <= 7; ++c)
        dialog->grid()->item(0, c)->setText("36.0");
    dialog->saveButton()->click();
    EXPECT_EQ(panel.strengthLabel->text(), "标养：36.0 MPa");
    ASSERT_TRUE(test::WaitUntil([&] { return w.evaluation().model().rowCount() == 1; }));
    EXPECT_TRUE(f.ui().evaluationUi.resultLabel->text().startsWith("n=1　mfcu=36.00"));

    // The conversion factor of the same-condition dialog is kept and used.
    {
        SameConditionDialog settings(f.ctx().settings, nullptr, f.messages.get());
        EXPECT_EQ(settings.conversionFactor()->objectName(), "折算系数框");
        EXPECT_EQ(settings.conversionFactor()->text(), "1.10");
        settings.conversionFactor()->setText("1.2");
        settings.done(QDialog::Accepted);
        EXPECT_EQ(f.messages->lastText(), "折算系数应在0.95到1.10之间，请重新输入！");
        EXPECT_FALSE(settings.conversionChanged());
        EXPECT_EQ(f.settings().read(keys::kConversionFactor, "missing"), "missing");
        settings.conversionFactor()->setText("1,05");
        settings.done(QDialog::Accepted);
        EXPECT_TRUE(settings.conversionChanged());
    }
    EXPECT_EQ(f.settings().read(keys::kConversionFactor), "1.05");

    // Deleting the group deletes its result.
    ASSERT_EQ(DeleteGroup(*f.ctx().db, "甲楼", "二层柱"), WriteResult::Done);
    EXPECT_EQ(test::CountRows(*f.ctx().db, "syjg"), 0);
}

TEST_F(StrengthInWindow, AnUntouchedFactorWritesNoKey)
{
    f.start();
    SameConditionDialog settings(f.ctx().settings, nullptr, f.messages.get());
    settings.reject();
    EXPECT_FALSE(settings.conversionChanged());
    EXPECT_EQ(f.settings().read(keys::kConversionFactor, "missing"), "missing");
}

} // namespace
} // namespace stolvar
