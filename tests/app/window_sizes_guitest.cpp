// The window at the sizes and with the names a site office has: long project names,
// a maximised window on 1920×1080, the tree widened by hand.
#include "register/RegisterController.h"
#include "support/MainWindowFixture.h"
#include "ui/SplitterBar.h"

#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;
using test::MainWindowFixture;

const char* const kLongProject = "城北花园三期二标段3号楼及地下车库（含人防工程）";

class WindowSizes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto db = f.prepareDatabase();
        for (int i = 0; i < 12; ++i)
            test::InsertGroup(*db, kLongProject, QStringLiteral("第%1层梁板及楼梯平台").arg(i + 1), Day(2026, 11, 1 + i));
        window = &f.start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        f.ui().registerUi.tree->setCurrentIndex(f.ui().registerUi.tree->model()->index(0, 0));
    }

    MainWindowFixture f{Day(2026, 12, 8, 10, 0)};
    MainWindow* window = nullptr;
};

TEST_F(WindowSizes, ALongNameIsShortenedInItsMiddleAndShownWholeAsTooltip)
{
    QTreeView* tree = f.ui().registerUi.tree;
    EXPECT_EQ(tree->textElideMode(), Qt::ElideMiddle);
    const QModelIndex project = tree->model()->index(0, 0);
    EXPECT_EQ(project.data(Qt::ToolTipRole).toString(), QString::fromUtf8(kLongProject));
    EXPECT_GT(tree->fontMetrics().horizontalAdvance(QString::fromUtf8(kLongProject)), tree->visualRect(project).width())
        << "the name is longer than the tree: it is elided, not scrolled";
    EXPECT_EQ(tree->horizontalScrollBar()->maximum(), 0);
}

TEST_F(WindowSizes, MaximisedOn1920x1080TheListNeedsNoSidewaysScrolling)
{
    window->resize(1920, 1050);   // the screen less a panel
    QTest::qWait(20);
    f.window->registerView().fillStandardCuringList();
    QTableWidget* list = f.ui().registerUi.standardList;
    ASSERT_GT(list->rowCount(), 10);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    int columns = 0;
    for (int c = 0; c < list->columnCount(); ++c)
        columns += list->columnWidth(c);
    EXPECT_LE(columns, list->viewport()->width());
}

TEST_F(WindowSizes, WideningTheTreeNeverPushesTheListUnderThePanel)
{
    const WindowWidgets& ui = f.ui();
    const int listRight = ui.registerUi.standardList->geometry().right();
    for (int to : {ui.frame.splitter1->x() + 60, 5000, -200}) {
        ui.frame.splitter1->dragTo(to);
        const QRect tree = ui.registerUi.tree->geometry();
        const QRect list = ui.registerUi.standardList->geometry();
        EXPECT_EQ(list.right(), listRight) << to;
        EXPECT_LE(list.right(), ui.frame.splitter2->x()) << to;
        EXPECT_LT(tree.right(), list.left()) << to;
        EXPECT_GE(list.width(), 120) << to;
        EXPECT_GE(tree.width(), 100) << to;
    }
    ui.frame.splitter2->dragTo(ui.frame.tabs->geometry().right() + 300);
    EXPECT_GE(ui.frame.tabs->width(), 120);
    EXPECT_LE(ui.frame.tabs->geometry().right(), window->centralWidget()->width());
    EXPECT_LE(ui.registerUi.standardList->geometry().right(), ui.frame.splitter2->x());
}

} // namespace
} // namespace stolvar
