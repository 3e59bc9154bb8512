#include "db/Database.h"
#include "db/ProjectFiles.h"
#include "db/Schema.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace stolvar {
namespace {

class DatabaseTest : public ::testing::Test
{
protected:
    test::TempHome home;
};

TEST_F(DatabaseTest, CreatesTheNamedFileWithBothTables)
{
    const CreateOutcome outcome = CreateProjectDatabaseFile(home.path(), QStringLiteral("一号楼"));
    ASSERT_TRUE(outcome.created);
    EXPECT_EQ(outcome.message, QStringLiteral("创建一号楼.dat成功！"));
    auto db = Database::Open(home.file(QStringLiteral("一号楼.dat")));
    ASSERT_TRUE(db);
    EXPECT_EQ(TableColumns(*db, QStringLiteral("gcxx")),
              QStringList({"id", "工程名称", "工程部位", "强度等级", "取样日期", "标养状态", "同养状态", "标养组数", "同养组数", "拆模组数"}));
    EXPECT_EQ(TableColumns(*db, QStringLiteral("skxx")), QStringList({"id", "养护记录", "温度记录", "最高温度", "最低温度"}));
}

TEST_F(DatabaseTest, RefusedNamesLeaveNothingBehind)
{
    EXPECT_EQ(CreateProjectDatabaseFile(home.path(), QString()).message, QStringLiteral("数据库名称不能为空！"));
    ASSERT_TRUE(CreateProjectDatabaseFile(home.path(), QStringLiteral("a")).created);
    const CreateOutcome again = CreateProjectDatabaseFile(home.path(), QStringLiteral("a"));
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.message, QStringLiteral("文件已经存在！不能创建，请另取文件名！"));
    for (const QString& bad : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("c:d"), QStringLiteral("..")}) {
        const CreateOutcome refused = CreateProjectDatabaseFile(home.path(), bad);
        EXPECT_FALSE(refused.created) << bad.toStdString();
        EXPECT_FALSE(refused.message.isEmpty());
    }
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList({"a.dat"}));
    EXPECT_FALSE(QFile::exists(QDir(home.path()).filePath(QStringLiteral("../x.dat"))));
}

TEST_F(DatabaseTest, OpenFailsForEverythingThatIsNotOurDatabase)
{
    QFile text(home.file(QStringLiteral("text.dat")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database\n");
    text.close();

    sqlite3* plain = nullptr;   // an unencrypted SQLite file
    ASSERT_EQ(sqlite3_open(home.file(QStringLiteral("plain.dat")).toUtf8().constData(), &plain), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(plain, "CREATE TABLE gcxx(id INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(plain);

    sqlite3* otherKey = nullptr;
    ASSERT_EQ(sqlite3_open(home.file(QStringLiteral("other.dat")).toUtf8().constData(), &otherKey), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(otherKey, "PRAGMA key='another'; CREATE TABLE t(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(otherKey);

    for (const char* name : {"text.dat", "plain.dat", "other.dat", "missing.dat"}) {
        QString error;
        EXPECT_EQ(Database::Open(home.file(QString::fromLatin1(name)), &error), nullptr) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("missing.dat"))));
}

TEST_F(DatabaseTest, UpgradeAddsTheLaterColumnsOnceAndKeepsRows)
{
    auto db = Database::Create(home.file(QStringLiteral("old.dat")));
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->execute(QStringLiteral("CREATE TABLE gcxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 工程名称 TEXT, "
                                           "工程部位 TEXT, 强度等级 TEXT, 取样日期 TEXT, 标养状态 TEXT, 同养状态 TEXT, 标养组数 TEXT);"
                                           "CREATE TABLE skxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 养护记录 TEXT, 温度记录 REAL);"
                                           "INSERT INTO skxx (养护记录, 温度记录) VALUES ('2017-03-01 00:00:00', 5);")));
    QStringList added;
    ASSERT_TRUE(UpgradeSchema(*db, &added));
    EXPECT_EQ(added, QStringList({"skxx.最高温度", "skxx.最低温度", "gcxx.同养组数", "gcxx.拆模组数", "skxx.来源",
                                   "gcxx.拆模要求"}));
    Statement st(*db, QStringLiteral("SELECT 温度记录, 最高温度 IS NULL FROM skxx"));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.real(0), 5.0);
    EXPECT_EQ(st.integer(1), 1);
    ASSERT_TRUE(UpgradeSchema(*db, &added));
    EXPECT_TRUE(added.isEmpty());
}

TEST_F(DatabaseTest, BoundTextIsStoredAsTyped)
{
    auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    const QString tricky = QStringLiteral("O'Brien'; DROP TABLE gcxx; -- %_");
    ASSERT_TRUE(test::InsertGroup(*db, tricky, tricky, test::Day(2017, 3, 1)));
    Statement st(*db, QStringLiteral("SELECT 工程名称 FROM gcxx WHERE 工程部位 = ?"));
    st.bind(1, tricky);
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.text(0), tricky);
}

// A statement's text is prepared once and kept for its next use: each use starts afresh
// with its own values, one used inside another of the same text walks on its own, and a
// kept query follows a change of the table under it.
TEST_F(DatabaseTest, AKeptStatementIsLikeANewOne)
{
    auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    for (const char* position : {"一层柱", "二层柱", "三层柱"})
        ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("一号楼"), QString::fromUtf8(position), test::Day(2017, 3, 1)));
    const QString byPosition = QStringLiteral("SELECT 工程部位 FROM gcxx WHERE 工程部位 <> ? ORDER BY id");
    const auto positions = [&](const QString& except) {
        QStringList seen;
        Statement st(*db, byPosition);
        st.bind(1, except);
        while (st.next())
            seen << st.text(0);
        return seen;
    };
    EXPECT_EQ(positions(QStringLiteral("二层柱")), QStringList({"一层柱", "三层柱"}));
    EXPECT_EQ(positions(QStringLiteral("一层柱")), QStringList({"二层柱", "三层柱"}));

    QStringList pairs;
    Statement outer(*db, byPosition);
    outer.bind(1, QString());
    while (outer.next())
        pairs << outer.text(0) + QLatin1Char('|') + positions(outer.text(0)).join(QLatin1Char(','));
    EXPECT_EQ(pairs, QStringList({"一层柱|二层柱,三层柱", "二层柱|一层柱,三层柱", "三层柱|一层柱,二层柱"}));

    // A value bound before is not carried over: unbound, the mark is NULL and matches nothing.
    {
        Statement unbound(*db, byPosition);
        EXPECT_FALSE(unbound.next());
        EXPECT_TRUE(unbound.ok());
    }
    const QString everything = QStringLiteral("SELECT * FROM gcxx");
    const int before = Statement(*db, everything).columnCount();
    ASSERT_TRUE(db->execute(QStringLiteral("ALTER TABLE gcxx ADD COLUMN 备注 TEXT")));
    Statement after(*db, everything);
    ASSERT_TRUE(after.next());
    EXPECT_EQ(after.columnCount(), before + 1);
}

// A statement left in the middle of its rows gives up its read of the file when it ends,
// so another connection can write at once; and a closed connection frees all it kept.
TEST_F(DatabaseTest, AKeptStatementHoldsNothingOnTheFile)
{
    const QString path = home.file(QStringLiteral("p.dat"));
    const sqlite3_int64 used = sqlite3_memory_used();
    auto db = test::MakeProjectDatabase(path);
    ASSERT_TRUE(db);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("部位%1").arg(i), test::Day(2017, 3, 1)));
    {
        Statement half(*db, QStringLiteral("SELECT 工程部位 FROM gcxx"));
        ASSERT_TRUE(half.next());
    }
    auto other = db->openSibling();
    ASSERT_TRUE(other);
    sqlite3_busy_timeout(other->handle(), 0);
    EXPECT_TRUE(other->execute(QStringLiteral("DELETE FROM gcxx WHERE 工程部位 = '部位0'"))) << other->lastError().toStdString();

    other.reset();
    db.reset();
    EXPECT_EQ(sqlite3_memory_used(), used) << "a closed connection left its statements behind";
}

// The answers the schema checks give, also for a change made through another connection
// (the check at opening adds columns and tables on a connection of its own).
TEST_F(DatabaseTest, TablesAndColumnsAreFoundAsTheFileHasThem)
{
    auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    EXPECT_TRUE(HasTable(*db, QStringLiteral("gcxx")));
    EXPECT_TRUE(HasTable(*db, QStringLiteral("GCHZ")));   // a table without row ids
    EXPECT_FALSE(HasTable(*db, QStringLiteral("qhsj")));
    EXPECT_TRUE(HasColumn(*db, QStringLiteral("gcxx"), QStringLiteral("工程部位")));
    EXPECT_TRUE(HasColumn(*db, QStringLiteral("SKXX"), QStringLiteral("Id")));
    EXPECT_FALSE(HasColumn(*db, QStringLiteral("gcxx"), QStringLiteral("备注")));
    EXPECT_FALSE(HasColumn(*db, QStringLiteral("qhsj"), QStringLiteral("id")));

    auto other = db->openSibling();
    ASSERT_TRUE(other);
    ASSERT_TRUE(other->execute(QStringLiteral("ALTER TABLE gcxx ADD COLUMN 备注 TEXT; CREATE TABLE qhsj (id INTEGER)")));
    EXPECT_TRUE(HasColumn(*db, QStringLiteral("gcxx"), QStringLiteral("备注")));
    EXPECT_TRUE(HasTable(*db, QStringLiteral("qhsj")));
}

// The file must open with the stock command-line client and our key.
TEST_F(DatabaseTest, StockClientReadsOurFileWithTheKey)
{
    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (cli.isEmpty())
        GTEST_SKIP() << "sqlcipher command-line client not installed";
    ASSERT_TRUE(CreateProjectDatabaseFile(home.path(), QStringLiteral("cli")).created);
    auto run = [&](const QString& key) {
        QProcess p;
        p.start(cli, {home.file(QStringLiteral("cli.dat"))});
        p.write(QStringLiteral("PRAGMA key = '%1';\nPRAGMA table_info(gcxx);\n"
                               "PRAGMA table_info(skxx);\n").arg(key).toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    };
    const QString good = run(QStringLiteral("qtrne52817409"));
    for (const char* column : {"工程名称", "拆模组数", "养护记录", "最低温度"})
        EXPECT_TRUE(good.contains(QString::fromUtf8(column))) << good.toStdString();
    const QString bad = run(QStringLiteral("wrongkey"));
    EXPECT_FALSE(bad.contains(QStringLiteral("工程名称"))) << bad.toStdString();
}

// The files hold the register and are keyed with one program-wide password: other users
// of the machine get no access to files the program creates. A file that exists keeps
// the mode its owner gave it, also through writes and their journal.
TEST_F(DatabaseTest, CreatedFilesAreOwnerOnlyAndExistingModesAreKept)
{
    const auto modeOf = [](const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    };
    ASSERT_TRUE(CreateProjectDatabaseFile(home.path(), QStringLiteral("一号楼")).created);
    EXPECT_EQ(modeOf(home.file(QStringLiteral("一号楼.dat"))), 0600);
    const QString direct = home.file(QStringLiteral("direct.dat"));
    ASSERT_TRUE(test::MakeProjectDatabase(direct));
    EXPECT_EQ(modeOf(direct), 0600);
    EXPECT_FALSE(Database::Create(home.file(QStringLiteral("missing/x.dat"))));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("missing/x.dat"))));

    ASSERT_EQ(::chmod(QFile::encodeName(direct).constData(), 0640), 0);
    auto db = Database::Open(direct);
    ASSERT_TRUE(db && test::InsertTemperature(*db, test::Day(2024, 5, 1), 20.0));
    EXPECT_EQ(modeOf(direct), 0640);
}

} // namespace
} // namespace stolvar
