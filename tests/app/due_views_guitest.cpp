#include "remind/WorklistController.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// Two projects on 20 March 2017: 甲/一层 cast 21 February (standard due today, 21 March),
// 乙/二层 cast 1 March; 20 ℃ a day from 15 February.
class DueViews : public ::testing::Test
{
protected:
    DueViews() : f(Day(2017, 3, 21, 9, 0))
    {
        auto db = f.prepareDatabase();
        test::InsertGroup(*db, "甲", "一层", Day(2017, 2, 21));
        test::InsertGroup(*db, "乙", "二层", Day(2017, 3, 1), kNotSent, kNotSent, "C35");
        for (int d = 0; d < 40; ++d)
            test::InsertTemperature(*db, Day(2017, 2, 15).addDays(d), 20, 24, 16);
        f.settings().write(keys::kLeadDays, "3");
    }

    // Selects a position by its project and name, as a click in the tree does.
    void select(const QString& project, const QString& position)
    {
        QTreeView* tree = f.ui().registerUi.tree;
        const QAbstractItemModel* m = tree->model();
        for (int p = 0; p < m->rowCount(); ++p) {
            const QModelIndex parent = m->index(p, 0);
            for (int r = 0; r < m->rowCount(parent); ++r) {
                if (m->data(parent).toString() == project && m->data(m->index(r, 0, parent)).toString() == position) {
                    tree->setCurrentIndex(m->index(r, 0, parent));
                    QCoreApplication::processEvents();
                    return;
                }
            }
        }
        ADD_FAILURE() << "no node " << qPrintable(project) << "/" << qPrintable(position);
    }

    // Runs a menu command whose print preview is modal; the preview is closed as it shows.
    void printFromMenu(const char* item)
    {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget()))
                preview->reject();
        });
        closer.start(20);
        f.window->findChild<QAction*>(QString::fromUtf8(item))->trigger();
    }

    QString cell(QTableWidget* grid, int row, int column)
    {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }

    test::MainWindowFixture f;
};

// Whatever page was shown, the panel label, the printed table 1 and table 2 are the
// selected group's, with the form's frame.
TEST_F(DueViews, PrintsAndLabelsFollowTheSelectedGroupWhateverPageIsShown)
{
    f.start();
    QTabWidget* tabs = f.ui().frame.tabs;
    tabs->setCurrentIndex(kTable1Page);
    select("甲", "一层");
    tabs->setCurrentIndex(kDataPage);
    select("乙", "二层");
    EXPECT_EQ(f.ui().curingUi.accumulatedLabel->text(), "同养25天|500℃") << "counted from 2 March, page 3 shown";

    printFromMenu("同养表1打印");
    QTableWidget* table1 = f.ui().curingUi.table1;
    EXPECT_EQ(cell(table1, 2, 2), "乙");
    EXPECT_EQ(cell(table1, 3, 2), "二层");
    EXPECT_EQ(cell(table1, 7, 0), "3月2日") << "the rows are the new group's";
    EXPECT_EQ(cell(table1, 1, 0), "混凝土结构同条件养护试块养护记录") << "with the form's frame";

    printFromMenu("同养表2打印");   // page 2 was never shown
    QTableWidget* table2 = f.ui().curingUi.table2;
    EXPECT_EQ(cell(table2, 0, 1), "乙");
    EXPECT_GT(table2->rowCount(), 3 + 10);
}

// Panel, list and worklist name one day for the group due today.
TEST_F(DueViews, PanelListAndWorklistNameOneDueDay)
{
    f.start();
    select("甲", "一层");
    EXPECT_EQ(f.ui().registerUi.dueDateLabel->text(), "2017年3月21日");
    EXPECT_EQ(f.ui().registerUi.remainingLabel->text(), "今天达到龄期");
    EXPECT_EQ(cell(f.ui().registerUi.standardList, 1, 4), "2017年3月21日");
    EXPECT_EQ(cell(f.ui().registerUi.standardList, 1, 5), "今天到期");
    QTableWidget* work = f.ui().worklistUi.grid;
    ASSERT_TRUE(test::WaitUntil([&] { return work->rowCount() > 0; }));
    EXPECT_EQ(cell(work, 0, 0), "标养");
    EXPECT_EQ(cell(work, 0, 5), "2017年3月21日");
    EXPECT_EQ(cell(work, 0, 6), "今天到期");
    EXPECT_TRUE(test::WaitUntil(
        [&] { return f.ui().reminderUi.standardDueBox->toPlainText().contains("送样日期2017年3月21日"); }));
}

// A double click selects the group; "标记委托" marks the row's kind sent and the row goes.
TEST_F(DueViews, TheWorklistSelectsAndMarksGroups)
{
    f.start();
    QTableWidget* work = f.ui().worklistUi.grid;
    ASSERT_TRUE(test::WaitUntil([&] { return work->rowCount() > 0; }));
    const int rows = work->rowCount();
    EXPECT_TRUE(f.ui().worklistUi.summaryLabel->text().startsWith("已过期")) << f.ui().worklistUi.summaryLabel->text().toStdString();
    int standardRow = -1;
    for (int r = 0; r < rows && standardRow < 0; ++r)
        standardRow = cell(work, r, 0) == "标养" && cell(work, r, 1) == "甲" ? r : -1;
    ASSERT_GE(standardRow, 0);
    emit work->cellDoubleClicked(standardRow, 1);
    EXPECT_EQ(f.ctx().selection.projectName, "甲");
    EXPECT_EQ(f.ctx().selection.nodeText, "一层");

    work->selectRow(standardRow);
    ASSERT_TRUE(f.ui().worklistUi.markSentButton->isEnabled());
    f.clickAndLand(f.ui().worklistUi.markSentButton);
    EXPECT_EQ(work->rowCount(), rows - 1) << "the row leaves once the mark is stored";
    // The rows below it moved up: each row shows the item now in its place.
    const QVector<WorkItem>& items = f.window->worklist().items();
    ASSERT_EQ(items.size(), work->rowCount());
    for (int r = 0; r < work->rowCount(); ++r) {
        QStringList shown;
        for (int c = 0; c < work->columnCount(); ++c)
            shown << cell(work, r, c);
        EXPECT_EQ(shown, WorklistRow(items[r])) << "row " << r;
        EXPECT_FALSE(cell(work, r, 0) == "标养" && cell(work, r, 1) == "甲") << "row " << r;
    }
    EXPECT_EQ(f.ui().registerUi.standardStateLabel->text(), "标养状态：已委托") << "the panel follows";
}

// On a project node the position box is empty (its hint is a placeholder), and adding a
// group there without typing a position is refused.
TEST_F(DueViews, AnEmptyPositionIsRefused)
{
    f.start();
    f.ui().registerUi.tree->setCurrentIndex(f.ui().registerUi.tree->model()->index(0, 0));
    EXPECT_TRUE(f.ui().registerUi.positionBox->text().isEmpty());
    f.ui().registerUi.castingDateBox->setText("2017-3-20");
    f.ui().registerUi.addGroupButton->click();
    EXPECT_EQ(f.messages->lastText(), "工程部位不能为空！");
    EXPECT_EQ(test::CountRows(*f.ctx().db, "gcxx"), 2);
}

// With no choice ever made the tables count from the next day, as the dialog shows, and
// opening the dialog and closing it changes no sum.
TEST_F(DueViews, TheCountFromChoiceIsWhatTheDialogShows)
{
    f.start();
    select("乙", "二层");
    const QString before = f.ui().curingUi.accumulatedLabel->text();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != "同养记录设置")
            return;
        EXPECT_TRUE(dialog->findChild<QRadioButton*>("单选框2")->isChecked());
        qobject_cast<QDialog*>(dialog)->reject();
    });
    closer.start(20);
    f.window->findChild<QAction*>("系统设置")->trigger();
    EXPECT_EQ(f.ui().curingUi.accumulatedLabel->text(), before);
    EXPECT_EQ(before, "同养25天|500℃");
}

} // namespace
} // namespace stolvar
