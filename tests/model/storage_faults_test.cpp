#include "model/temperatures/TemperatureStore.h"
#include "model/register/GroupStore.h"
#include "model/weather/WeatherCollector.h"
#include "support/FaultVfs.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QElapsedTimer>

#include <sqlcipher/sqlite3.h>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

// Every write the clerk makes, run with an I/O failure injected at each read, write and
// sync it causes in turn (a disk that fails, a file system that fills): the operation says
// it failed unless its change is complete (and then changed nothing, when it is one
// transaction), the file stays a sound database, and nothing written before is lost.
namespace stolvar {
namespace {

using test::Day;

const QDateTime kToday = Day(2024, 5, 10);

// Every row of both tables as text, in table order.
QStringList Dump(const Database& db)
{
    QStringList rows;
    for (const char* sql : {"SELECT * FROM gcxx ORDER BY id", "SELECT * FROM skxx ORDER BY id"}) {
        Statement st(db, QString::fromUtf8(sql));
        while (st.next()) {
            QStringList cells;
            for (int c = 0; c < 10; ++c)
                cells << st.text(c);
            rows << cells.join(u'|');
        }
        if (!st.ok())
            rows << QStringLiteral("<unreadable: %1>").arg(st.error());
    }
    return rows;
}

QString IntegrityCheck(const Database& db)
{
    Statement st(db, QStringLiteral("PRAGMA integrity_check"));
    return st.next() ? st.text(0) : st.error();
}

// Today and tomorrow read by the latest run (two transactions); the later days were not.
WeatherDays CollectedDays()
{
    WeatherDays days;
    for (size_t k = 0; k < days.size(); ++k)
        days[k] = {QString::number(20 + k), QString::number(10 + k), float(15 + k), k < 2};
    return days;
}

struct Operation {
    const char* name;
    std::function<bool(Database&)> run;   // true when the operation reported success
    bool oneTransaction = true;           // all or nothing
};

const Operation kOperations[] = {
    {"add a group", [](Database& db) {
         SpecimenGroup g;
         g.project = QStringLiteral("一号楼");
         g.position = QStringLiteral("三层板");
         g.castingDate = Day(2024, 5, 9);
         return AddGroup(db, g) == WriteResult::Done;
     }},
    {"move a group", [](Database& db) { return ChangePosition(db, "一号楼", "一层柱", "一层墙") == WriteResult::Done; }},
    {"change a group", [](Database& db) { return ChangeCounts(db, "一号楼", "二层梁", "3", "2", "1") == WriteResult::Done; }},
    {"delete a group", [](Database& db) { return DeleteGroup(db, "二号楼", "基础") == WriteResult::Done; }},
    {"add a temperature", [](Database& db) { return AddTemperatureRecord(db, "2024-5-10", "25", "15").ok; }},
    {"change a temperature", [](Database& db) { return ChangeTemperatureRecord(db, "2024-5-8", "30", "20").rows == 1; }},
    {"store collected days", [](Database& db) { return StoreCollectedDays(db, kToday, CollectedDays()).isEmpty(); },
     false},
};

class StorageFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto db = test::MakeProjectDatabase(baseline);
        ASSERT_TRUE(db);
        test::InsertGroup(*db, "一号楼", "一层柱", Day(2024, 5, 1));
        test::InsertGroup(*db, "一号楼", "二层梁", Day(2024, 5, 3));
        test::InsertGroup(*db, "二号楼", "基础", Day(2024, 5, 2));
        for (int d = 1; d <= 9; ++d)
            ASSERT_TRUE(test::InsertTemperature(*db, Day(2024, 5, d), 15.0, 20.0, 10.0));
        before = Dump(*db);
    }

    // A fresh copy of the baseline register, opened.
    std::shared_ptr<Database> openCopy()
    {
        QFile::remove(work);
        QFile::remove(work + QStringLiteral("-journal"));
        EXPECT_TRUE(QFile::copy(baseline, work));
        return Database::Open(work);
    }

    test::TempHome home;
    const QString baseline = home.file(QStringLiteral("baseline.dat"));
    const QString work = home.file(QStringLiteral("work.dat"));
    QStringList before;
};

TEST_F(StorageFaults, EveryOperationSurvivesAFailureAtEachOfItsIoCalls)
{
    test::FaultVfs vfs;
    for (const Operation& op : kOperations) {
        SCOPED_TRACE(op.name);
        // A run without faults: the calls to fail in turn, and the state it leaves.
        auto db = openCopy();
        ASSERT_TRUE(db);
        vfs.arm(0);
        ASSERT_TRUE(op.run(*db));
        const long long calls = vfs.counted();
        vfs.disarm();
        const QStringList after = Dump(*db);
        ASSERT_NE(after, before);
        ASSERT_GT(calls, 2);
        int reported = 0;
        for (long long n = 1; n <= calls; ++n) {
            SCOPED_TRACE(n);
            db = openCopy();
            ASSERT_TRUE(db);
            vfs.arm(n);
            const bool ok = op.run(*db);
            const bool failed = vfs.failures() > 0;
            vfs.disarm();
            // The program goes on with its connection; a restart opens the file afresh.
            for (int pass = 0; pass < 2; ++pass) {
                if (pass == 1)
                    db = Database::Open(work);
                ASSERT_TRUE(db);
                EXPECT_EQ(IntegrityCheck(*db), QStringLiteral("ok"));
                const QStringList now = Dump(*db);
                if (ok) {
                    EXPECT_EQ(now, after) << "reported success, change incomplete";
                } else if (op.oneTransaction) {
                    EXPECT_EQ(now, before) << "reported failure, yet changed";
                }
                for (const QString& row : before) {
                    if (after.contains(row)) {   // an earlier write the operation leaves alone
                        EXPECT_TRUE(now.contains(row)) << "lost: " << row.toStdString();
                    }
                }
                for (const QString& row : now)
                    EXPECT_TRUE(before.contains(row) || after.contains(row)) << "foreign: " << row.toStdString();
            }
            reported += (failed && !ok) ? 1 : 0;
            ASSERT_TRUE(failed || ok) << "no fault, yet a failure";
        }
        EXPECT_GT(reported, 0);
    }
}

// A disk that fills up answers a write with SQLITE_FULL, and SQLite then rolls the
// transaction back itself: the failure reads as a full disk, never as the engine's
// "cannot rollback - no transaction is active" of the rollback that followed.
TEST_F(StorageFaults, AFullDiskSaysSoInsteadOfTheRollbackText)
{
    test::FaultVfs vfs;
    vfs.setWriteError(SQLITE_FULL);
    for (const Operation& op : {kOperations[0], kOperations[5], kOperations[6]}) {
        SCOPED_TRACE(op.name);
        int saidFull = 0;
        for (long long n = 1;; ++n) {
            auto db = openCopy();
            ASSERT_TRUE(db);
            vfs.arm(n, test::FaultVfs::kWrite);
            const bool ok = op.run(*db);
            const bool failed = vfs.failures() > 0;
            vfs.disarm();
            if (!failed)
                break;
            if (!ok) {
                EXPECT_FALSE(db->lastError().contains(QStringLiteral("rollback"))) << db->lastError().toStdString();
                saidFull += db->lastError() == DiskFullText() ? 1 : 0;
            }
            EXPECT_EQ(IntegrityCheck(*db), QStringLiteral("ok"));
        }
        EXPECT_GT(saidFull, 0);
    }
}

// Reading the register writes nothing at all.
TEST_F(StorageFaults, ReadingTheRegisterWritesNothing)
{
    test::FaultVfs vfs;
    auto db = openCopy();
    ASSERT_TRUE(db);
    vfs.arm(0, test::FaultVfs::kWrite | test::FaultVfs::kSync);
    EXPECT_EQ(LoadProjectTree(*db).size(), 2);
    EXPECT_EQ(LoadTemperatureWindow(*db, Day(2024, 5, 1), Day(2024, 5, 9)).size(), 9);
    EXPECT_EQ(vfs.counted(), 0);
}

} // namespace
} // namespace stolvar
