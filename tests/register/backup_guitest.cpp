#include "model/backup/Backup.h"
#include "model/register/GroupStore.h"
#include "model/temperatures/TemperatureStore.h"
#include "register/BackupController.h"
#include "register/DatabaseController.h"
#include "register/RegisterController.h"
#include "register/RestoreBackupDialog.h"
#include "support/DamagedFile.h"
#include "support/FullDisk.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

// Backups and damaged registers in the window: 立即备份 and 恢复备份…, the offer of the
// newest sound backup when the register is found damaged, and the backup at close.
namespace stolvar {
namespace {

using test::Day;

class BackupInWindow : public ::testing::Test
{
protected:
    QString registerPath() const { return f.home.file("工程.dat"); }
    QString folder() const { return f.home.file("备份"); }
    QLabel* databaseState() { return f.ui().frame.statusParts[kDatabaseStatePart]; }
    QLabel* notice() { return f.ui().frame.statusParts[kVersionPart]; }
    void prepareRegister() { ASSERT_TRUE(test::MakeFilledRegister(registerPath(), 60)); f.settings().write(keys::kDatabaseFile, registerPath()); }
    void trigger(const QString& action) { f.window->menuBar()->findChild<QAction*>(action)->trigger(); }
    void addGroup(const QString& position)
    {
        RegisterWidgets& ui = f.ui().registerUi;
        ui.projectBox->setText("九号楼");
        ui.positionBox->setText(position);
        ui.castingDateBox->setText("2017-2-27");
        f.clickAndLand(ui.addGroupButton);
    }
    int groups() { return test::CountRows(*f.ctx().db, "gcxx"); }
    bool waitForMessage(const QString& start)
    {
        return test::WaitUntil([&] {
            return std::any_of(f.messages->shown.begin(), f.messages->shown.end(),
                               [&](const auto& m) { return m.text.startsWith(start); });
        });
    }

    test::MainWindowFixture f;
};

TEST_F(BackupInWindow, BackupNowThenRestoreGivesBackItsRowsAndKeepsTheFileItReplaced)
{
    prepareRegister();
    f.start();
    trigger("立即备份");
    ASSERT_TRUE(waitForMessage("已备份到："));
    const QString backup = QDir(folder()).filePath("工程-20170301-100000.dat");
    EXPECT_EQ(f.messages->lastText(), "已备份到：" + backup);
    addGroup("屋面");
    ASSERT_EQ(groups(), 61);

    auto dialog = f.window->backups().createRestoreDialog();
    EXPECT_EQ(dialog->objectName(), "恢复备份对话框");
    QTableWidget* grid = dialog->findChild<QTableWidget*>("备份表格");
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->rowCount(), 1);
    ASSERT_TRUE(test::WaitUntil([&] { return grid->item(0, 4)->text() == "已验证"; }));
    EXPECT_EQ(grid->item(0, 0)->text(), "2017年3月1日10时");
    EXPECT_EQ(grid->item(0, 2)->text(), "60");
    EXPECT_EQ(grid->item(0, 3)->text(), "60");
    grid->selectRow(0);
    f.messages->answers = {true};
    dialog->restoreButton()->click();
    ASSERT_TRUE(waitForMessage("已恢复备份："));
    ASSERT_EQ(f.messages->asked.size(), 1);
    EXPECT_TRUE(f.messages->asked[0].text.contains("工程-20170301-100000.dat"));
    EXPECT_TRUE(f.messages->asked[0].text.contains("工程-恢复前-20170301-100000.dat"));
    ASSERT_TRUE(f.ctx().db);
    EXPECT_EQ(groups(), 60);
    EXPECT_EQ(databaseState()->text(), "数据库已连接");
    EXPECT_TRUE(LoadGroups(*f.ctx().db, "九号楼").isEmpty());
    const auto kept = Database::OpenReadOnly(QDir(folder()).filePath("工程-恢复前-20170301-100000.dat"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(test::CountRows(*kept, "gcxx"), 61);
    addGroup("二层板");   // the restored file takes writes again
    EXPECT_EQ(groups(), 61);
}

// A page overwritten on the disk: the window names the file and what is wrong, shows the
// register damaged, takes no write, and offers the newest backup that passes the check.
TEST_F(BackupInWindow, ADamagedRegisterIsNamedNeverWrittenAndRestoredFromTheNewestSoundBackup)
{
    prepareRegister();
    {
        auto db = Database::Open(registerPath());
        BackupRequest request;
        request.folder = folder();
        request.now = Day(2017, 2, 28, 18, 0);
        ASSERT_TRUE(MakeBackup(*db, request).done);
    }
    ASSERT_TRUE(test::OverwriteLastPage(registerPath()));
    const QByteArray damaged = test::FileDigest(registerPath());
    f.messages->answers = {false};
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return !f.messages->asked.isEmpty(); })) << f.messages->texts().join("|").toStdString() << databaseState()->text().toStdString();
    const QString question = f.messages->asked[0].text;
    EXPECT_TRUE(question.startsWith("工程数据库已损坏：" + registerPath() + "\n")) << question.toStdString();
    EXPECT_TRUE(question.contains("工程-20170228-180000.dat"));
    EXPECT_EQ(databaseState()->text(), "数据库已损坏");
    addGroup("屋面");
    EXPECT_TRUE(f.messages->lastText().contains("工程数据库已损坏")) << f.messages->lastText().toStdString();
    EXPECT_EQ(test::FileDigest(registerPath()), damaged) << "the damaged file was written";

    f.messages->answers = {true};
    auto dialog = f.window->backups().createRestoreDialog();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->table()->item(0, 4)->text() == "已验证"; }));
    dialog->table()->selectRow(0);
    dialog->restoreButton()->click();
    ASSERT_TRUE(waitForMessage("已恢复备份："));
    EXPECT_EQ(databaseState()->text(), "数据库已连接");
    EXPECT_EQ(groups(), 60);
    EXPECT_TRUE(f.ctx().db->execute("PRAGMA quick_check"));
}

TEST_F(BackupInWindow, AFileThatIsNoRegisterIsNamedAtStartUp)
{
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {{"空.dat", {}, "文件是空的（0字节）"},
                 {"文本.dat", "工程名称,部位\n", "这不是工程数据库文件，或文件开头已损坏（20字节）"}};
    for (const auto& c : cases) {
        test::MainWindowFixture g;
        QFile file(g.home.file(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        g.settings().write(keys::kDatabaseFile, file.fileName());
        g.start();
        ASSERT_TRUE(test::WaitUntil([&] { return !g.messages->shown.isEmpty(); })) << c.name;
        EXPECT_EQ(g.messages->lastText().toStdString(), QString("工程数据库已损坏：" + file.fileName() + "\n" + QString::fromUtf8(c.reason)
                                              + "\n程序不会再写入这个文件。\n\n备份目录中没有可用的备份：" + g.home.file("备份")).toStdString());
        EXPECT_EQ(g.ui().frame.statusParts[kDatabaseStatePart]->text(), "数据库已损坏");
        EXPECT_EQ(g.ctx().db, nullptr);
        EXPECT_EQ(file.size(), c.bytes.size());
    }
}

// Damage met after the start (a page read for the first time): the same message and state.
TEST_F(BackupInWindow, ACorruptPageMetByALaterQueryIsReported)
{
    prepareRegister();
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return !f.ctx().db->isDamaged() && groups() == 60; }));
    ASSERT_TRUE(test::OverwriteEveryPageButTheFirst(registerPath()));
    ASSERT_TRUE(f.ctx().db->execute("PRAGMA shrink_memory"));
    // The program reads on: the groups and the days, one of them from the damaged page.
    LoadAllGroups(*f.ctx().db, GroupOrder::ByProject);
    LoadTemperatureWindow(*f.ctx().db, Day(2024, 1, 1), Day(2024, 3, 1));
    ASSERT_TRUE(waitForMessage("工程数据库已损坏：" + registerPath() + "\n"));
    EXPECT_EQ(databaseState()->text(), "数据库已损坏");
    const QByteArray before = test::FileDigest(registerPath());
    addGroup("屋面");
    EXPECT_EQ(test::FileDigest(registerPath()), before);
}

TEST_F(BackupInWindow, AFullDiskSaysSoWhenAGroupIsAdded)
{
    test::FullDisk disk(f.home.path(), "256k");
    if (!disk.mounted())
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    prepareRegister();
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return groups() == 60; }));
    f.settings().write(keys::kAutoBackup, "假");
    disk.fill();
    addGroup("屋面");
    EXPECT_EQ(f.messages->lastText(), "磁盘空间不足，数据未保存");
    EXPECT_EQ(groups(), 60);
    QFile::remove(f.home.file("filler"));
    addGroup("屋面");
    EXPECT_EQ(groups(), 61);
}

// A pulled USB stick: the backup fails in the status bar, and the close does not wait on it.
TEST_F(BackupInWindow, AMissingBackupFolderIsReportedAndTheCloseStaysQuick)
{
    prepareRegister();
    QFile stick(f.home.file("U盘"));
    ASSERT_TRUE(stick.open(QIODevice::WriteOnly));
    stick.close();
    f.settings().write(keys::kBackupFolder, f.home.file("U盘/备份"));
    f.start();
    trigger("立即备份");
    ASSERT_TRUE(waitForMessage("备份失败："));
    EXPECT_TRUE(notice()->text().startsWith("备份失败：备份目录无法创建")) << notice()->text().toStdString();
    addGroup("屋面");
    QElapsedTimer clock;
    clock.start();
    f.window->close();
    EXPECT_LT(clock.elapsed(), 2000);
}

// Written since the last backup: one is made at close; the day's own comes at the first
// quiet moment after the day's first write.
TEST_F(BackupInWindow, AutomaticBackupsAfterAQuietMomentAndAtClose)
{
    prepareRegister();
    f.start();
    BackupController& backups = f.window->backups();
    backups.checkSchedule();
    addGroup("屋面");
    backups.checkSchedule();
    f.clock->set(f.clock->now().addMSecs(BackupSchedule::kQuietMs));
    backups.checkSchedule();
    ASSERT_TRUE(test::WaitUntil([&] { return !backups.isRunning(); }));
    ASSERT_EQ(ListBackups(folder(), registerPath()).size(), 1);
    EXPECT_EQ(InspectBackup(ListBackups(folder(), registerPath())[0].path).groups, 61);
    addGroup("二层板");
    f.clock->set(f.clock->now().addMSecs(2 * BackupSchedule::kQuietMs));
    backups.checkSchedule();
    EXPECT_FALSE(backups.isRunning()) << "once a day";
    f.window->close();
    const QVector<BackupFile> made = ListBackups(folder(), registerPath());
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(InspectBackup(made[0].path).groups, 62);
}

} // namespace
} // namespace stolvar
