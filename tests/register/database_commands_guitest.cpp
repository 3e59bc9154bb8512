#include "register/DatabaseController.h"
#include "model/register/GroupStore.h"
#include "register/NewDatabaseDialog.h"
#include "support/HeldConnection.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

TEST(OpenProjectDatabase, CancelOnlyWritesTheStartFolderBack)
{
    test::MainWindowFixture f;
    f.start();
    f.window->database().openProjectDatabase();
    ASSERT_EQ(f.messages->openRequests.size(), 1);
    // "路径" names no folder: the dialog starts where the registers are, Temp.ini keeps the text.
    EXPECT_EQ(f.messages->openRequests[0][1], f.home.path());
    EXPECT_EQ(f.settings().read(keys::kDatabaseFolder), "路径");
    EXPECT_EQ(f.settings().read(keys::kDatabaseFile, "none"), "none");
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "未连接");
}

TEST(OpenProjectDatabase, ChoosingAFileConnectsRemembersItAndFillsTheViews)
{
    test::MainWindowFixture f;
    const QString path = f.home.file("二号楼.dat");
    {
        auto db = test::MakeProjectDatabase(path);
        test::InsertGroup(*db, "二号楼", "基础", Day(2017, 3, 1));
        test::InsertTemperature(*db, Day(2017, 3, 2), 5.0, 8.0, 2.0);
        test::InsertTemperature(*db, Day(2017, 3, 3), 6.0, 9.0, 3.0);
    }
    f.start();
    f.messages->fileNames = {path};
    f.window->database().openProjectDatabase();
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "已连接");
    EXPECT_EQ(f.settings().read(keys::kDatabaseFile), path);
    EXPECT_EQ(f.ui().registerUi.tree->model()->rowCount(), 1);
    EXPECT_EQ(f.ui().curingUi.temperatureDateBox->text(), "2017年3月3日");
}

// An add still being stored when the clerk opens another register goes into the register it
// was made in, and the window, now showing the other one, is left as it is.
TEST(OpenProjectDatabase, AnEditStillBeingStoredGoesToItsOwnRegister)
{
    test::MainWindowFixture f;
    const QString first = f.home.file("一号楼.dat");
    test::InsertGroup(*test::MakeProjectDatabase(first), "一号楼", "基础", Day(2017, 3, 1));
    const QString second = f.home.file("二号楼.dat");
    test::InsertGroup(*test::MakeProjectDatabase(second), "二号楼", "基础", Day(2017, 3, 1));
    f.settings().write(keys::kDatabaseFile, first);
    f.start();

    test::HeldConnection held(f.ctx().db);
    f.ui().registerUi.projectBox->setText("一号楼");
    f.ui().registerUi.positionBox->setText("一层柱");
    f.ui().registerUi.castingDateBox->setText("2017-3-8");
    f.ui().registerUi.addGroupButton->click();
    f.messages->fileNames = {second};
    f.window->database().openProjectDatabase();
    held.release();
    f.landEdits();

    EXPECT_FALSE(f.messages->texts().contains("添加成功！请按返回退出！"));
    const QAbstractItemModel* tree = f.ui().registerUi.tree->model();
    ASSERT_EQ(tree->rowCount(), 1);
    EXPECT_EQ(tree->index(0, 0).data().toString(), "二号楼");
    EXPECT_EQ(tree->rowCount(tree->index(0, 0)), 1);
    EXPECT_EQ(LoadGroups(*Database::OpenReadOnly(first), "一号楼").size(), 2);
    EXPECT_EQ(LoadGroups(*Database::OpenReadOnly(second), "二号楼").size(), 1);
}

TEST(OpenProjectDatabase, AFileThatIsNoDatabaseLeavesNothingOpen)
{
    test::MainWindowFixture f;
    f.prepareDatabase("good");
    f.start();
    ASSERT_TRUE(f.ctx().db);
    const QString stored = f.settings().read(keys::kDatabaseFile);
    QFile text(f.home.file("notes.dat"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text, not a database");
    text.close();
    f.messages->fileNames = {text.fileName()};
    f.window->database().openProjectDatabase();
    EXPECT_EQ(f.messages->lastText(), "数据库未连接！");
    EXPECT_EQ(f.messages->shown.back().icon, Messages::Icon::Information);
    EXPECT_EQ(f.ctx().db, nullptr);
    EXPECT_EQ(f.settings().read(keys::kDatabaseFile), stored);
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "数据库已连接");   // the text stays as it was
}

TEST(OpenProjectDatabase, StartsInTheStoredFolderWhenItExistsAndSelectsANewFile)
{
    test::MainWindowFixture f;
    const QString folder = f.home.file("registers");
    ASSERT_TRUE(QDir().mkpath(folder));
    f.settings().write(keys::kDatabaseFolder, folder);
    f.start();
    f.window->database().openProjectDatabase();
    ASSERT_EQ(f.messages->openRequests.size(), 1);
    EXPECT_EQ(f.messages->openRequests[0][1], folder);

    // 新建: the dialog is modal; answer it with a name as soon as it shows.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        auto* dialog = qobject_cast<NewDatabaseDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            dialog->nameBox()->setText("四号楼");
            dialog->createDatabase();
        }
    });
    answer.start(20);
    f.window->database().showNewDatabaseDialog();
    ASSERT_EQ(f.messages->openRequests.size(), 2);
    EXPECT_EQ(f.messages->openRequests[1][1], f.home.file("四号楼.dat"));
    EXPECT_EQ(f.settings().read(keys::kDatabaseFolder), folder);
}

TEST(NewDatabaseDialog, CreatesTheFileThenAsksWhichFileToOpen)
{
    test::MainWindowFixture f;
    f.start();
    NewDatabaseDialog dialog(f.home.path(), *f.messages);
    dialog.nameBox()->setText("三号楼");
    dialog.createDatabase();
    EXPECT_EQ(f.messages->lastText(), "创建三号楼.dat成功！");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(f.home.file("三号楼.dat")));
    NewDatabaseDialog again(f.home.path(), *f.messages);
    again.nameBox()->setText("三号楼");
    again.createDatabase();
    EXPECT_EQ(f.messages->lastText(), "文件已经存在！不能创建，请另取文件名！");
    EXPECT_NE(again.result(), QDialog::Accepted);
}

TEST(UpgradeProjectDatabase, MenuCommandAddsTheLaterColumns)
{
    test::MainWindowFixture f;
    const QString path = f.home.file("old.dat");
    {
        auto db = Database::Create(path);
        ASSERT_TRUE(db->execute("CREATE TABLE gcxx (id INTEGER PRIMARY KEY, 工程名称 TEXT, 工程部位 TEXT, 强度等级 TEXT, "
                                "取样日期 TEXT, 标养状态 TEXT, 同养状态 TEXT, 标养组数 TEXT);"
                                "CREATE TABLE skxx (id INTEGER PRIMARY KEY, 养护记录 TEXT, 温度记录 REAL);"));
    }
    f.settings().write(keys::kDatabaseFile, path);
    f.start();
    ASSERT_TRUE(f.ctx().db);
    f.window->database().upgradeProjectDatabase();
    f.window->database().upgradeProjectDatabase();
    EXPECT_TRUE(TableColumns(*f.ctx().db, "gcxx").contains("拆模组数"));
    EXPECT_TRUE(TableColumns(*f.ctx().db, "skxx").contains("最低温度"));
    // Each run says what it added; the second finds nothing left to add.
    EXPECT_EQ(f.messages->texts(), (QStringList{"数据库已升级，添加了列 skxx.最高温度、skxx.最低温度、gcxx.同养组数、gcxx.拆模组数",
                                                "数据库已是最新版本"}));
}

} // namespace
} // namespace stolvar
