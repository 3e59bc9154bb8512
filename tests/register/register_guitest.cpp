#include "core/Conversions.h"
#include "model/register/GroupStore.h"
#include "register/RegisterController.h"
#include "support/HeldConnection.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableWidget>
#include <QThreadPool>
#include <QTreeView>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// Two projects: "乙" (yi) with three positions sorts above "甲" (jia) with two.
class RegisterGuiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto db = f.prepareDatabase();
        ASSERT_TRUE(db);
        test::InsertGroup(*db, "甲", "基础", Day(2017, 3, 1));
        test::InsertGroup(*db, "甲", "一层柱", Day(2017, 3, 5));
        test::InsertGroup(*db, "乙", "二层梁", Day(2017, 3, 9), kSent);
        test::InsertGroup(*db, "乙", "一层梁", Day(2017, 3, 2));
        test::InsertGroup(*db, "乙", "三层板", Day(2017, 3, 20));
        f.start();
    }

    RegisterController& tree() { return f.window->registerView(); }
    void select(int index) { f.ui().registerUi.tree->setCurrentIndex(NodeAt(index)); }
    // The index-th node counted through the view's model, projects before their positions.
    QModelIndex NodeAt(int index)
    {
        const QAbstractItemModel* model = f.ui().registerUi.tree->model();
        int n = 0;
        for (int p = 0; p < model->rowCount(); ++p) {
            const QModelIndex project = model->index(p, 0);
            if (n++ == index)
                return project;
            for (int c = 0; c < model->rowCount(project); ++c)
                if (n++ == index)
                    return model->index(c, 0, project);
        }
        return {};
    }
    QString cell(int row, int column)
    {
        const QTableWidgetItem* item = f.ui().registerUi.standardList->item(row, column);
        return item ? item->text() : QString();
    }

    test::MainWindowFixture f{Day(2017, 3, 10, 10, 0)};
};

TEST_F(RegisterGuiTest, StartUpConnectsFillsTheTreeAndSelectsTheFirstProject)
{
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "数据库已连接");
    ASSERT_EQ(tree().nodeCount(), 7);
    EXPECT_EQ(tree().nodeText(0), "乙");
    EXPECT_EQ(tree().nodeText(1), "一层梁");   // by sampling date
    EXPECT_EQ(tree().nodeText(3), "三层板");
    EXPECT_EQ(tree().nodeText(4), "甲");
    EXPECT_TRUE(NodeAt(0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(NodeAt(1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(tree().selectedNodeIndex(), 0);
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "") << "the hint is a placeholder, never text to store";
    EXPECT_EQ(f.ui().registerUi.positionBox->placeholderText(), "部位不能为空");
    EXPECT_EQ(f.ui().registerUi.standardList->rowCount(), 4);   // header + the project's three groups
    EXPECT_EQ(cell(0, 4), "委托日期");
}

TEST_F(RegisterGuiTest, SelectingAPositionFillsThePanelAndRemembersTheNode)
{
    select(6);   // second project's second position
    EXPECT_EQ(f.settings().read(keys::kTreeSelection), "6");
    EXPECT_EQ(f.ui().registerUi.projectBox->text(), "甲");
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "一层柱");
    EXPECT_EQ(f.ui().registerUi.castingDateBox->text(), "2017年3月5日");
    EXPECT_EQ(f.ui().registerUi.dueDateLabel->text(), "2017年4月2日");
    EXPECT_EQ(f.ui().registerUi.remainingLabel->text(), "还有23天达到龄期");   // calendar days to 2 April
    EXPECT_EQ(f.ui().registerUi.standardStateLabel->text(), "标养状态：未委托");
    EXPECT_EQ(f.ctx().selection.samplingDate, Day(2017, 3, 5));

    select(4);   // a project node changes nothing in Temp.ini and keeps the panel
    EXPECT_EQ(f.settings().read(keys::kTreeSelection), "6");
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "") << "the hint is a placeholder, never text to store";
    EXPECT_EQ(f.ui().registerUi.positionBox->placeholderText(), "部位不能为空");
    EXPECT_EQ(f.ui().registerUi.remainingLabel->text(), "还有23天达到龄期");   // calendar days to 2 April
    EXPECT_EQ(f.ui().registerUi.standardList->rowCount(), 3);
}

// Rows a register written elsewhere holds twice for one position give a node each; any shows
// the latest row, and the panel and the tables are filled once, not once per row.
TEST(RegisterDuplicateRows, APositionHeldByManyRowsShowsItsLatestOnce)
{
    test::MainWindowFixture f{Day(2017, 3, 10, 10, 0)};
    auto db = f.prepareDatabase();
    ASSERT_TRUE(db);
    for (int day : {1, 6, 3})
        test::InsertGroup(*db, "甲", "基础", Day(2017, 3, day), kNotSent, kNotSent, QStringLiteral("C3%1").arg(day));
    f.start();
    const QAbstractItemModel* model = f.ui().registerUi.tree->model();
    const QModelIndex project = model->index(0, 0);
    ASSERT_EQ(model->rowCount(project), 3);
    QSignalSpy shown(&f.window->registerView(), &RegisterController::groupShown);
    f.ui().registerUi.tree->setCurrentIndex(model->index(0, 0, project));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(f.ui().registerUi.gradeBox->text(), "C36");
    EXPECT_EQ(f.ui().registerUi.castingDateBox->text(), "2017年3月6日");
    EXPECT_EQ(f.ctx().selection.samplingDate, Day(2017, 3, 6));
}

// "大" holds more groups than the list reads on the spot: its list is read on a worker and
// shown when done, unless a later fill came first. "小" is read on the spot.
class RegisterLargeProjectTest : public ::testing::Test
{
protected:
    static constexpr int kLargeGroups = 1001;

    void SetUp() override
    {
        auto db = f.prepareDatabase();
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->execute(QStringLiteral("BEGIN")));
        for (int i = 0; i < kLargeGroups; ++i)
            test::InsertGroup(*db, "大", QStringLiteral("部位%1").arg(i), Day(2014, 1, 1).addDays(i));
        ASSERT_TRUE(db->execute(QStringLiteral("COMMIT")));
        test::InsertGroup(*db, "小", "基础", Day(2017, 3, 1));
        test::InsertGroup(*db, "小", "一层柱", Day(2017, 3, 5));
        f.start();
        settle();
    }

    // The project's `row`-th position node.
    QModelIndex position(const QString& project, int row)
    {
        const QAbstractItemModel* model = f.ui().registerUi.tree->model();
        for (int p = 0; p < model->rowCount(); ++p) {
            const QModelIndex node = model->index(p, 0);
            if (node.data().toString() == project) {
                model->rowCount(node);
                return model->index(row, 0, node);
            }
        }
        return {};
    }
    void select(const QString& project, int row) { f.ui().registerUi.tree->setCurrentIndex(position(project, row)); }
    // Lets the workers end and their results reach the list.
    void settle()
    {
        for (int round = 0; round < 3; ++round) {
            f.ctx().tasks.waitForDone();
            QCoreApplication::processEvents();
        }
    }
    QString cell(int row, int column)
    {
        const QTableWidgetItem* item = f.ui().registerUi.standardList->item(row, column);
        return item ? item->text() : QString();
    }

    test::MainWindowFixture f{Day(2017, 3, 10, 10, 0)};
};

TEST_F(RegisterLargeProjectTest, ItsListIsShownWhenReadAndALaterFillWins)
{
    QTableWidget* list = f.ui().registerUi.standardList;
    select("大", 5);
    settle();
    ASSERT_EQ(list->rowCount(), 1 + kLargeGroups);
    EXPECT_EQ(cell(1, 1), "部位0");
    EXPECT_EQ(cell(kLargeGroups, 1), QStringLiteral("部位%1").arg(kLargeGroups - 1));
    EXPECT_EQ(cell(kLargeGroups, 3), FormatLongDate(Day(2014, 1, 1).addDays(kLargeGroups - 1)));
    EXPECT_EQ(list->rowHeight(kLargeGroups), 30);

    select("小", 1);   // on the spot, so it shows first
    EXPECT_EQ(list->rowCount(), 3);
    select("大", 6);
    select("小", 0);   // before the read of "大" is done
    settle();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "基础");
    EXPECT_EQ(cell(2, 1), "一层柱");
}

// The list keeps the texts it wrote beside the grid; a fill must still write every cell
// whose text or font differs from what the grid shows.
TEST_F(RegisterLargeProjectTest, ARefillWritesWhatChangedAfterEveryKindOfChange)
{
    QTableWidget* list = f.ui().registerUi.standardList;
    select("大", 0);
    settle();
    select("小", 0);   // fewer rows
    select("大", 1);   // more again: the rows dropped come back with their texts and height
    settle();
    ASSERT_EQ(list->rowCount(), 1 + kLargeGroups);
    EXPECT_EQ(cell(2, 1), "部位1");
    EXPECT_EQ(cell(500, 1), "部位499");
    EXPECT_EQ(list->rowHeight(500), 30);

    f.settings().write(keys::kStandardFontSize, "14");
    select("大", 2);
    settle();
    EXPECT_EQ(list->item(500, 1)->font().pointSizeF(), 7.0);   // half points

    auto db = f.ctx().db;
    ASSERT_TRUE(db->execute(QStringLiteral("UPDATE gcxx SET 强度等级 = 'C60' WHERE 工程部位 = '部位499'")));
    select("大", 3);
    settle();
    EXPECT_EQ(cell(500, 2), "C60");
    EXPECT_EQ(cell(499, 2), "C30");
}

// A click does not wait for Temp.ini to be synced to the disk: the node is written on a
// worker, and when every worker is busy until the close, the close writes it.
TEST_F(RegisterGuiTest, TheRememberedNodeIsWrittenOffTheUiThreadAndKeptAtTheClose)
{
    QThreadPool& pool = f.ctx().tasks.pool();
    QSemaphore release;
    for (int i = 0; i < pool.maxThreadCount(); ++i)
        pool.start([&release] { release.acquire(); });
    select(6);
    EXPECT_EQ(f.settings().read(keys::kTreeSelection), "6");
    const auto onDisk = [this] {
        QFile file(f.home.file(QStringLiteral("Temp.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_FALSE(onDisk().contains(QStringLiteral("选中位置=6"))) << "written on the UI thread";

    f.window->close();
    EXPECT_FALSE(f.window->allWorkFinished());
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=6\n"))) << onDisk().toStdString();
    release.release(pool.maxThreadCount());
    pool.waitForDone();
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=6\n"))) << "the late background write undid it";
}

TEST_F(RegisterGuiTest, RightClickSelectsTheNodeUnderThePointer)
{
    f.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
    QTreeView* t = f.ui().registerUi.tree;
    QTest::mouseClick(t->viewport(), Qt::RightButton, {}, t->visualRect(NodeAt(3)).center());
    EXPECT_EQ(tree().selectedNodeIndex(), 3);
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "三层板");
}

TEST_F(RegisterGuiTest, RebuildReselectsTheRememberedPlace)
{
    select(2);   // 乙 / 二层梁
    tree().fillProjectTree();
    EXPECT_EQ(tree().selectedNodeIndex(), 2);
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "二层梁");
    // A group with an earlier date moves the positions down: place 2 is now another group.
    f.ui().registerUi.projectBox->setText("乙");
    f.ui().registerUi.positionBox->setText("零层");
    f.ui().registerUi.castingDateBox->setText("2017-2-1");
    f.clickAndLand(f.ui().registerUi.addGroupButton);
    EXPECT_EQ(f.messages->lastText(), "添加成功！请按返回退出！");
    EXPECT_EQ(tree().selectedNodeIndex(), 2);
    EXPECT_EQ(f.ui().registerUi.positionBox->text(), "一层梁");
}

// An edit does not wait on the UI thread for the register: while another thread holds the
// connection, the click returns at once, and the message and the tree follow once the edit
// is stored. Edits still waiting when the window closes are stored before it is gone.
TEST_F(RegisterGuiTest, EditsAreStoredOffTheUiThreadAndNoneIsLostAtTheClose)
{
    const auto addGroup = [this](const QString& position) {
        f.ui().registerUi.projectBox->setText("乙");
        f.ui().registerUi.positionBox->setText(position);
        f.ui().registerUi.castingDateBox->setText("2017-3-8");
        f.ui().registerUi.addGroupButton->click();
    };
    test::HeldConnection held(f.ctx().db);
    addGroup("四层板");
    EXPECT_TRUE(held.heldUntilReleased()) << "the click waited for the connection";
    EXPECT_EQ(tree().nodeCount(), 7) << "the tree changed before the group was stored";
    f.landEdits();
    EXPECT_EQ(f.messages->lastText(), "添加成功！请按返回退出！");
    EXPECT_EQ(tree().nodeCount(), 8);

    // The close, while the connection is held again: both edits are in the file afterwards
    // (without a backup at the close, whose copy would wait for them too).
    f.settings().write(keys::kAutoBackup, "假");
    std::promise<void> heldAgain;
    std::atomic<bool> released{false};
    std::thread slowDisk([&] {
        auto lock = f.ctx().db->lock();
        heldAgain.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        released = true;
        lock.unlock();
    });
    heldAgain.get_future().wait();
    addGroup("五层板");
    addGroup("六层板");
    f.window->close();
    EXPECT_TRUE(released) << "the window closed before the edits waiting were stored";
    slowDisk.join();
    const auto db = Database::OpenReadOnly(f.home.file("工程.dat"));
    ASSERT_TRUE(db);
    EXPECT_EQ(LoadGroups(*db, "乙").size(), 6);
}

TEST_F(RegisterGuiTest, AddRefusesDuplicatesBadDatesAndLongText)
{
    f.ui().registerUi.projectBox->setText("甲");
    f.ui().registerUi.positionBox->setText("基础");
    f.ui().registerUi.castingDateBox->setText("2017-3-5");
    f.clickAndLand(f.ui().registerUi.addGroupButton);
    EXPECT_EQ(f.messages->lastText(), "该部位已存在，请重新命名！");
    f.ui().registerUi.positionBox->setText("新部位");
    f.ui().registerUi.castingDateBox->setText("2017-2-30");
    f.clickAndLand(f.ui().registerUi.addGroupButton);
    EXPECT_TRUE(f.messages->lastText().contains("不是有效的日期"));
    f.ui().registerUi.castingDateBox->setText("2017-3-5");
    f.ui().registerUi.gradeBox->setText(QString(51, QChar('C')));
    f.clickAndLand(f.ui().registerUi.addGroupButton);
    EXPECT_TRUE(f.messages->lastText().contains("不能超过50个字符"));
    EXPECT_EQ(LoadGroups(*f.ctx().db, "甲").size(), 2);
}

TEST_F(RegisterGuiTest, EditButtonsCheckTheirBoxesAndWrite)
{
    select(5);   // 甲 / 基础
    f.ui().registerUi.gradeBox->clear();
    f.clickAndLand(f.ui().registerUi.changeGradeButton);
    EXPECT_EQ(f.messages->shown.back().text, "强度等级不能为空！");
    EXPECT_EQ(f.messages->shown.back().title, "错误！");
    f.ui().registerUi.gradeBox->setText("C35");
    f.clickAndLand(f.ui().registerUi.changeGradeButton);
    f.ui().registerUi.castingDateBox->setText("2017/03/04");
    f.clickAndLand(f.ui().registerUi.changeDateButton);
    f.ui().registerUi.standardCountBox->clear();
    f.clickAndLand(f.ui().registerUi.changeCountsButton);
    EXPECT_EQ(f.messages->lastText(), "标养组数不能为空！");
    const SpecimenGroup g = LoadGroups(*f.ctx().db, "甲", QString("基础")).value(0);
    EXPECT_EQ(g.grade, "C35");
    EXPECT_EQ(g.castingDate, Day(2017, 3, 4));

    f.ui().registerUi.projectBox->setText("甲'楼");
    f.clickAndLand(f.ui().registerUi.renameProjectButton);
    EXPECT_EQ(LoadGroups(*f.ctx().db, "甲'楼").size(), 2);
}

TEST_F(RegisterGuiTest, RenameOntoAnExistingProjectMergesOnlyAfterConfirmationAndNeverCollides)
{
    select(0);   // 乙: 一层梁, 二层梁, 三层板
    f.ui().registerUi.projectBox->setText("甲");
    f.messages->answers = {false};
    f.clickAndLand(f.ui().registerUi.renameProjectButton);
    ASSERT_EQ(f.messages->asked.size(), 1);
    EXPECT_EQ(f.messages->asked.back().text, "工程“甲”已存在。重命名后“乙”的全部部位将并入“甲”，确定要合并吗？");
    EXPECT_EQ(LoadGroups(*f.ctx().db, "乙").size(), 3);

    test::InsertGroup(*f.ctx().db, "甲", "三层板", Day(2017, 3, 21));
    test::InsertGroup(*f.ctx().db, "甲", "一层梁", Day(2017, 3, 22));
    f.clickAndLand(f.ui().registerUi.renameProjectButton);
    EXPECT_EQ(f.messages->asked.size(), 1) << "a collision is refused without asking";
    EXPECT_EQ(f.messages->lastText(), "工程“甲”已有相同的部位：一层梁、三层板。\n重命名会使两个同名部位无法区分，未重命名。");
    EXPECT_EQ(LoadGroups(*f.ctx().db, "乙").size(), 3);

    ASSERT_EQ(DeleteGroup(*f.ctx().db, "甲", "三层板"), WriteResult::Done);
    ASSERT_EQ(DeleteGroup(*f.ctx().db, "甲", "一层梁"), WriteResult::Done);
    f.messages->answers = {true};
    f.clickAndLand(f.ui().registerUi.renameProjectButton);
    EXPECT_EQ(f.messages->asked.size(), 2);
    EXPECT_TRUE(LoadGroups(*f.ctx().db, "乙").isEmpty());
    EXPECT_EQ(LoadGroups(*f.ctx().db, "甲").size(), 5);
    EXPECT_EQ(tree().nodeCount(), 6);
}

TEST_F(RegisterGuiTest, StatusButtonsNeedAPosition)
{
    select(0);   // a project node: the position is the project's own name
    f.clickAndLand(f.ui().registerUi.markSameButton);
    EXPECT_EQ(f.messages->lastText(), "修改失败，请退出并重试！");
    select(1);
    f.clickAndLand(f.ui().registerUi.markStandardButton);
    EXPECT_EQ(f.ui().registerUi.standardStateLabel->text(), "标养状态：已委托");
    f.clickAndLand(f.ui().registerUi.unmarkSameButton);
    EXPECT_EQ(f.ui().registerUi.sameStateLabel->text(), "同养状态：未委托");
}

TEST_F(RegisterGuiTest, DeleteAsksNamingExactlyWhatGoes)
{
    select(1);
    f.messages->answers = {false};
    f.clickAndLand(f.ui().registerUi.deleteGroupButton);
    EXPECT_EQ(f.messages->asked.back().text, "您确定要删除乙一层梁的记录吗？");
    EXPECT_EQ(f.messages->asked.back().title, "警告");
    EXPECT_EQ(LoadGroups(*f.ctx().db, "乙").size(), 3);
    f.messages->answers = {true};
    f.clickAndLand(f.ui().registerUi.deleteGroupButton);
    EXPECT_EQ(LoadGroups(*f.ctx().db, "乙").size(), 2);

    select(0);   // a whole project
    f.messages->answers = {true};
    f.clickAndLand(f.ui().registerUi.deleteGroupButton);
    EXPECT_EQ(f.messages->asked.back().text, "您确定要删除工程“乙”的全部2组试块记录吗？");
    EXPECT_EQ(LoadGroups(*f.ctx().db, "乙").size(), 0);
    EXPECT_EQ(LoadGroups(*f.ctx().db, "甲").size(), 2);
}

TEST_F(RegisterGuiTest, KeywordFilterStaysInsideTheProject)
{
    select(0);
    f.ui().registerUi.keywordBox->setText("梁");
    f.ui().registerUi.keywordButton->click();
    ASSERT_EQ(f.ui().registerUi.standardList->rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "一层梁");
    EXPECT_EQ(cell(2, 1), "二层梁");
    EXPECT_EQ(cell(2, 6), kSent);
}

// Another position of the same project shows the same list: its cells are kept as they are
// (not painted again); a list that changes shows exactly what a fresh fill would, also
// when it comes back to the rows it had.
TEST_F(RegisterGuiTest, TheListChangesOnlyTheCellsThatChange)
{
    QTableWidget* list = f.ui().registerUi.standardList;
    const auto texts = [list] {
        QStringList all;
        for (int r = 0; r < list->rowCount(); ++r)
            for (int c = 0; c < list->columnCount(); ++c)
                all << (list->item(r, c) ? list->item(r, c)->text() : QStringLiteral("(none)"));
        return all;
    };
    select(1);
    const QStringList project = texts();
    const QTableWidgetItem* kept = list->item(2, 1);
    select(2);
    EXPECT_EQ(texts(), project);
    EXPECT_EQ(list->item(2, 1), kept) << "a cell was made again";

    f.ui().registerUi.keywordBox->setText("二");
    f.ui().registerUi.keywordButton->click();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(cell(1, 1), "二层梁");
    EXPECT_EQ(cell(1, 6), kSent);
    f.ui().registerUi.keywordBox->clear();
    f.ui().registerUi.keywordButton->click();
    EXPECT_EQ(texts(), project);
    select(5);   // the other project
    EXPECT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "基础");
    EXPECT_EQ(cell(2, 1), "一层柱");
}

TEST_F(RegisterGuiTest, AllProjectsSearchesNamesPositionsAndGradesOfEveryProject)
{
    select(0);
    auto* all = f.ui().registerUi.allProjectsBox;
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->objectName(), "全部工程框");
    EXPECT_EQ(all->text(), "全部工程");
    EXPECT_FALSE(all->isChecked()) << "off by default: the selected project, as before";
    all->setChecked(true);
    const auto search = [&](const char* keyword) {
        f.ui().registerUi.keywordBox->setText(keyword);
        QSignalSpy shown(&tree(), &RegisterController::listShown);
        f.ui().registerUi.keywordButton->click();
        EXPECT_TRUE(shown.wait(10000)) << "the search of every project ends";
        QStringList positions;
        for (int r = 1; r < f.ui().registerUi.standardList->rowCount(); ++r)
            positions << cell(r, 1);
        return positions;
    };
    EXPECT_EQ(search("梁"), (QStringList{"乙 / 一层梁", "乙 / 二层梁"}));
    EXPECT_EQ(search("甲"), (QStringList{"甲 / 一层柱", "甲 / 基础"}));
    EXPECT_EQ(search("C30").size(), 5) << "the grade is searched too";
    EXPECT_TRUE(search("%").isEmpty()) << "% is a character, not a wildcard";
}

// A search of every project still running when the clerk picks another node shows nothing:
// the list keeps the node's project.
TEST_F(RegisterGuiTest, ALaterFillOfTheListDropsASearchOfEveryProject)
{
    f.ui().registerUi.allProjectsBox->setChecked(true);
    f.ui().registerUi.keywordBox->setText("C30");
    f.ui().registerUi.keywordButton->click();
    select(4);   // 甲
    f.ctx().tasks.waitForDone();
    QCoreApplication::processEvents();
    ASSERT_EQ(f.ui().registerUi.standardList->rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "基础");
}

TEST(RegisterListFont, StandardFontSizeSettingAndDefault)
{
    test::MainWindowFixture f;
    auto db = f.prepareDatabase();
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 1));
    f.start();
    EXPECT_EQ(f.ui().registerUi.standardList->item(1, 1)->font().pointSizeF(), 10.0);   // 20 half points
    f.settings().write(keys::kStandardFontSize, "14");
    f.window->registerView().fillStandardCuringList();
    EXPECT_EQ(f.ui().registerUi.standardList->item(1, 1)->font().pointSizeF(), 7.0);
    EXPECT_EQ(f.ui().registerUi.standardList->rowHeight(1), 30);
    EXPECT_EQ(f.ui().registerUi.standardList->columnWidth(1), 220);
}

} // namespace
} // namespace stolvar
