#include "db/Database.h"
#include "model/backup/Backup.h"
#include "model/backup/BackupSchedule.h"
#include "model/backup/BackupSettings.h"
#include "support/DamagedFile.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

// Backups of the register: made while it stays open, verified, kept in generations, and
// restored to exactly the rows they hold.
namespace stolvar {
namespace {

using test::Day;

// Every row of every table as text.
QStringList Dump(const Database& db)
{
    QStringList rows;
    for (const char* table : {"gcxx", "skxx"}) {
        Statement st(db, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QString::fromLatin1(table)));
        while (st.next()) {
            QStringList cells;
            for (int c = 0; c < st.columnCount(); ++c)
                cells << st.text(c);
            rows << cells.join(u'|');
        }
    }
    return rows;
}

QStringList Dump(const QString& path)
{
    const auto db = Database::OpenReadOnly(path);
    return db ? Dump(*db) : QStringList{QStringLiteral("<unreadable>")};
}

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(test::MakeFilledRegister(registerPath, 200)); }

    BackupRequest request(const QDateTime& now) const
    {
        BackupRequest r;
        r.folder = folder;
        r.keep = 3;
        r.now = now;
        r.mailStore = home.file("help");
        r.settingsFile = home.file("Temp.ini");
        return r;
    }
    QStringList finalNames() const
    {
        QStringList names = QDir(folder).entryList({"*.dat"}, QDir::Files);
        names.sort();
        return names;
    }
    QStringList partNames() const { return QDir(folder).entryList({"*.part", "*.part-journal"}, QDir::Files); }

    test::TempHome home;
    const QString registerPath = home.file("一号楼.dat");
    const QString folder = home.file("备份");
};

TEST_F(BackupTest, ABackupIsVerifiedOwnerOnlyAndRestoresExactlyItsRows)
{
    home.settings().write(keys::kLeadDays, "3");
    auto db = Database::Open(registerPath);
    ASSERT_TRUE(db);
    const QStringList backedUp = Dump(*db);
    const BackupOutcome outcome = MakeBackup(*db, request(Day(2024, 5, 10, 17, 30)));
    ASSERT_TRUE(outcome.done) << outcome.error.toStdString();
    EXPECT_EQ(outcome.path, QDir(folder).filePath("一号楼-20240510-173000.dat"));
    EXPECT_TRUE(outcome.warning.isEmpty());
    EXPECT_EQ(QFile::permissions(outcome.path) & 0x0077, 0);
    EXPECT_TRUE(QFile::exists(SettingsCopyPath(outcome.path)));
    EXPECT_FALSE(QFile::exists(MailStoreCopyPath(outcome.path))) << "there is no mail store yet";
    const BackupInspection inspection = InspectBackup(outcome.path);
    EXPECT_TRUE(inspection.sound);
    EXPECT_EQ(inspection.groups, 200);
    EXPECT_EQ(inspection.days, 200);

    // The clerk goes on working; then the backup is restored.
    ASSERT_TRUE(test::InsertGroup(*db, "九号楼", "屋面", Day(2024, 5, 11)));
    const QStringList changed = Dump(*db);
    db.reset();
    const RestoreOutcome restored = RestoreBackup(outcome.path, registerPath, folder, Day(2024, 5, 12, 9, 0));
    ASSERT_TRUE(restored.done) << restored.error.toStdString();
    EXPECT_EQ(restored.keptAs, QDir(folder).filePath("一号楼-恢复前-20240512-090000.dat"));
    EXPECT_EQ(Dump(registerPath), backedUp);
    EXPECT_EQ(Dump(restored.keptAs), changed);
    EXPECT_TRUE(Database::Open(registerPath)) << "the restored register opens for writing";
    EXPECT_EQ(QDir(home.path()).entryList({"*.part"}, QDir::Files), QStringList());
}

TEST_F(BackupTest, OnlyTheNewestGenerationsAreKeptWithTheirCopies)
{
    home.settings().write(keys::kLeadDays, "3");
    auto db = Database::Open(registerPath);
    ASSERT_TRUE(db);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(registerPath, QDir(folder).filePath("一号楼-恢复前-20240101-080000.dat")));
    ASSERT_TRUE(QFile::copy(registerPath, QDir(folder).filePath("二号楼-20240101-080000.dat")));   // another register
    for (int day = 1; day <= 5; ++day)
        ASSERT_TRUE(MakeBackup(*db, request(Day(2024, 5, day, 18, 0))).done);
    EXPECT_EQ(finalNames(), (QStringList{"一号楼-20240503-180000.dat", "一号楼-20240504-180000.dat",
                                         "一号楼-20240505-180000.dat", "一号楼-恢复前-20240101-080000.dat",
                                         "二号楼-20240101-080000.dat"}));
    EXPECT_EQ(QDir(folder).entryList({"*.ini"}, QDir::Files).size(), 3);
    // Two backups within one second do not meet under one name.
    const BackupOutcome again = MakeBackup(*db, request(Day(2024, 5, 5, 18, 0)));
    ASSERT_TRUE(again.done);
    EXPECT_EQ(QFileInfo(again.path).fileName(), "一号楼-20240505-180001.dat");
    EXPECT_EQ(ListBackups(folder, registerPath).first().path, again.path);
    EXPECT_EQ(FindNewestSoundBackup(folder, registerPath), again.path);
}

TEST_F(BackupTest, AMissingFolderOrADamagedRegisterMakesNoBackup)
{
    auto db = Database::Open(registerPath);
    ASSERT_TRUE(db);
    QFile stick(home.file("stick"));   // a file where the folder should be: mkdir fails
    ASSERT_TRUE(stick.open(QIODevice::WriteOnly));
    stick.close();
    BackupRequest pulled = request(Day(2024, 5, 10));
    pulled.folder = home.file("stick/备份");
    const BackupOutcome outcome = MakeBackup(*db, pulled);
    EXPECT_FALSE(outcome.done);
    EXPECT_TRUE(outcome.error.startsWith("备份目录无法创建")) << outcome.error.toStdString();

    db->markDamaged("test");
    EXPECT_EQ(MakeBackup(*db, request(Day(2024, 5, 10))).error, "工程数据库已损坏，没有备份");
    EXPECT_FALSE(QDir(folder).exists());
}

// A damaged backup is never offered and never restored; a damaged register is kept before
// the sound backup replaces it.
TEST_F(BackupTest, OnlyASoundBackupIsOfferedAndRestored)
{
    {
        auto db = Database::Open(registerPath);
        ASSERT_TRUE(MakeBackup(*db, request(Day(2024, 5, 1))).done);
        ASSERT_TRUE(MakeBackup(*db, request(Day(2024, 5, 2))).done);
    }
    const QString older = QDir(folder).filePath("一号楼-20240501-000000.dat");
    const QString newer = QDir(folder).filePath("一号楼-20240502-000000.dat");
    ASSERT_TRUE(test::OverwriteMiddlePage(newer));
    EXPECT_FALSE(InspectBackup(newer).sound);
    EXPECT_EQ(FindNewestSoundBackup(folder, registerPath), older);
    const RestoreOutcome refused = RestoreBackup(newer, registerPath, folder, Day(2024, 5, 3));
    EXPECT_FALSE(refused.done);
    EXPECT_TRUE(refused.error.startsWith("备份校验未通过")) << refused.error.toStdString();

    ASSERT_TRUE(test::OverwriteMiddlePage(registerPath));
    const QByteArray damaged = test::FileDigest(registerPath);
    const RestoreOutcome restored = RestoreBackup(older, registerPath, folder, Day(2024, 5, 3));
    ASSERT_TRUE(restored.done);
    EXPECT_EQ(test::FileDigest(restored.keptAs), damaged);
    EXPECT_EQ(Dump(registerPath), Dump(older));
}

TEST(BackupSettingsTest, DefaultsAndWhatTheFileSays)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    BackupSettings s = ReadBackupSettings(settings, home.path());
    EXPECT_EQ(s.folder, home.file("备份"));
    EXPECT_EQ(s.keep, 30);
    EXPECT_TRUE(s.automatic);
    settings.write(keys::kBackupFolder, "/media/材料员/U盘/备份");
    settings.write(keys::kBackupKeep, "7");
    settings.write(keys::kAutoBackup, "假");
    s = ReadBackupSettings(settings, home.path());
    EXPECT_EQ(s.folder, "/media/材料员/U盘/备份");
    EXPECT_EQ(s.keep, 7);
    EXPECT_FALSE(s.automatic);
    settings.write(keys::kBackupFolder, "副本");
    settings.write(keys::kBackupKeep, "0");
    s = ReadBackupSettings(settings, home.path());
    EXPECT_EQ(s.folder, home.file("副本"));
    EXPECT_EQ(s.keep, 30);
}

TEST(BackupScheduleTest, OnceADayAfterTheFirstWriteAndAQuietMoment)
{
    const QDate monday(2024, 5, 6);
    const qint64 quiet = BackupSchedule::kQuietMs;
    BackupSchedule s;
    s.reset(10);
    EXPECT_FALSE(s.dailyDue(10, monday, 0)) << "nothing written";
    EXPECT_FALSE(s.dailyDue(11, monday, 1000)) << "just written";
    EXPECT_FALSE(s.dailyDue(12, monday, 1000 + quiet - 1)) << "still writing";
    EXPECT_FALSE(s.dailyDue(12, monday, 1000 + 2 * quiet - 2));
    EXPECT_TRUE(s.dailyDue(12, monday, 1000 + 2 * quiet));
    s.tried(monday);   // whatever came of it
    EXPECT_FALSE(s.dailyDue(13, monday, 10 * quiet)) << "once a day";
    EXPECT_TRUE(s.writtenSinceBackup(13));
    s.backedUp(13);
    EXPECT_FALSE(s.writtenSinceBackup(13));
    const QDate tuesday = monday.addDays(1);
    EXPECT_FALSE(s.dailyDue(13, tuesday, 20 * quiet)) << "no write today";
    EXPECT_FALSE(s.dailyDue(14, tuesday, 21 * quiet));
    EXPECT_TRUE(s.dailyDue(14, tuesday, 22 * quiet));
}

} // namespace
} // namespace stolvar
