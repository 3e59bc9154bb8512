#include "db/Database.h"
#include "model/backup/Backup.h"
#include "support/DamagedFile.h"
#include "support/FaultVfs.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

// A backup on a failing disk, and one cut off by a kill: the register is untouched, no
// half-written file carries a final name, and every earlier backup is still there.
namespace stolvar {
namespace {

using test::Day;

class BackupFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::MakeFilledRegister(registerPath, 80));
        auto db = Database::Open(registerPath);
        ASSERT_TRUE(db);
        const BackupOutcome first = MakeBackup(*db, request(Day(2024, 5, 1)));
        ASSERT_TRUE(first.done);
        earlier = first.path;
        registerDigest = test::FileDigest(registerPath);
        earlierDigest = test::FileDigest(earlier);
    }

    BackupRequest request(const QDateTime& now) const
    {
        BackupRequest r;
        r.folder = folder;
        r.keep = 5;
        r.now = now;
        return r;
    }
    QStringList entries() const
    {
        QStringList names = QDir(folder).entryList(QDir::Files);
        names.sort();
        return names;
    }
    // What a failed or interrupted backup may leave: the earlier one, and at most parts.
    void expectNothingNewUnderAFinalName(const char* when)
    {
        for (const QString& name : entries()) {
            if (!name.endsWith(".part") && !name.endsWith(".part-journal")) {
                EXPECT_EQ(QDir(folder).filePath(name), earlier) << when << ": " << name.toStdString();
            }
        }
        EXPECT_EQ(test::FileDigest(earlier), earlierDigest) << when;
        EXPECT_EQ(test::FileDigest(registerPath), registerDigest) << when;
    }

    test::TempHome home;
    const QString registerPath = home.file("一号楼.dat");
    const QString folder = home.file("备份");
    QString earlier;
    QByteArray registerDigest;
    QByteArray earlierDigest;
};

TEST_F(BackupFaults, AFailureAtEveryIoCallOfABackupInTurnLeavesNoFinalFile)
{
    test::FaultVfs vfs;
    const auto keyed = Database::Open(registerPath);
    ASSERT_TRUE(keyed);
    long long n = 1;
    int failed = 0;
    for (;; ++n) {
        SCOPED_TRACE(n);
        auto db = keyed->openSibling();   // a connection of its own, through the fault VFS
        ASSERT_TRUE(db);
        vfs.arm(n);
        const BackupOutcome outcome = MakeBackup(*db, request(Day(2024, 5, 2)));
        const bool faulted = vfs.failures() > 0;
        vfs.disarm();
        db.reset();
        if (!faulted) {
            ASSERT_TRUE(outcome.done) << outcome.error.toStdString();
            break;
        }
        if (outcome.done) {
            // A fault the engine could go round (a read retried): the backup must be whole.
            EXPECT_TRUE(InspectBackup(outcome.path).sound);
            ASSERT_TRUE(QFile::remove(outcome.path));
            continue;
        }
        ++failed;
        EXPECT_FALSE(outcome.error.isEmpty());
        expectNothingNewUnderAFinalName("after a failed backup");
        EXPECT_EQ(entries(), QStringList{QFileInfo(earlier).fileName()}) << "the part was removed";
    }
    EXPECT_GT(n, 40) << "calls counted";
    EXPECT_GT(failed, 40);
}

// The process is killed at a series of moments of a backup: nothing it leaves carries a
// final name unless it is a whole, sound backup; the next backup clears what is left.
TEST_F(BackupFaults, AKillDuringABackupLeavesNothingUnderAFinalName)
{
    int cutOff = 0;
    for (const int delayMs : {0, 5, 15, 30, 50, 80, 120, 200}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto db = Database::Open(registerPath);
            const bool done = db && MakeBackup(*db, request(Day(2024, 5, 3))).done;
            ::_exit(done ? 0 : 1);
        }
        ::usleep(useconds_t(delayMs) * 1000);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        bool made = false;
        for (const BackupFile& backup : ListBackups(folder, registerPath)) {
            if (backup.path == earlier)
                continue;
            made = true;   // a final name is given only to a whole backup
            EXPECT_TRUE(InspectBackup(backup.path).sound) << delayMs << " ms";
            QFile::remove(backup.path);
        }
        cutOff += WIFSIGNALED(status) && !made ? 1 : 0;
        expectNothingNewUnderAFinalName("after a kill");
    }
    EXPECT_GT(cutOff, 2) << "kills that came during the backup";
    RemoveLeftoverParts(folder, registerPath, QDateTime::currentDateTime().addSecs(3600));
    EXPECT_EQ(entries(), QStringList{QFileInfo(earlier).fileName()});
}

} // namespace
} // namespace stolvar
