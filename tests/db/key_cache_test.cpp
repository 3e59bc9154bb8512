#include "db/KeyCache.h"
#include "db/Database.h"
#include "db/FileKey.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Each test keeps its keys in a cache file of its own; the other tests keep none.
class KeyCacheTest : public ::testing::Test {
protected:
    void SetUp() override { UseKeyCache(cacheFile()); }
    void TearDown() override { UseKeyCache(QString()); }

    QString cacheFile() const { return home.file(QStringLiteral("cache/stolvar/keys")); }

    QByteArray cacheText() const
    {
        QFile file(cacheFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A register with one group; its salt.
    QByteArray makeRegister(const QString& name)
    {
        auto db = test::MakeProjectDatabase(home.file(name));
        EXPECT_TRUE(db && test::InsertGroup(*db, "城北花园", "一层柱", test::Day(2017, 4, 13)));
        return ReadDatabaseSalt(home.file(name));
    }

    test::TempHome home;
};

QByteArray Salt(int n)
{
    return QByteArray(15, 'a') + char(n);
}

TEST_F(KeyCacheTest, AFilesKeyIsRememberedAndTakenAtItsNextOpening)
{
    const QByteArray salt = makeRegister(QStringLiteral("p.dat"));
    auto first = Database::Open(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(first);
    const QByteArray key = DeriveDatabaseKey(Database::kPassword, salt);
    EXPECT_EQ(CachedKey(salt), key);
    EXPECT_EQ(cacheText(), salt.toHex() + ' ' + key.toHex() + '\n');
    EXPECT_EQ(QFileInfo(cacheFile()).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    first.reset();

    auto again = Database::Open(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(again);
    EXPECT_EQ(test::CountRows(*again, QStringLiteral("gcxx")), 1);
    // A file made alike from a file opened with a remembered key opens with the passphrase.
    QString error;
    auto alike = again->createAlike(home.file(QStringLiteral("copy.dat")), &error);
    ASSERT_TRUE(alike) << error.toStdString();
    alike.reset();
    EXPECT_TRUE(Database::Open(home.file(QStringLiteral("copy.dat"))));
}

// A wrong key for the salt (a tool changed the cache, a file came back keyed otherwise)
// is only a guess that failed: the file opens with the key derived, which replaces it.
TEST_F(KeyCacheTest, AWrongRememberedKeyIsReplacedAndTheFileStillOpens)
{
    const QByteArray salt = makeRegister(QStringLiteral("p.dat"));
    RememberKey(salt, QByteArray(32, '\x5a'));
    QString error;
    auto db = Database::Open(home.file(QStringLiteral("p.dat")), &error);
    ASSERT_TRUE(db);
    EXPECT_TRUE(error.isEmpty()) << "the failed guess is not reported: " << error.toStdString();
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("gcxx")), 1);
    EXPECT_EQ(CachedKey(salt), DeriveDatabaseKey(Database::kPassword, salt));
}

TEST_F(KeyCacheTest, AFileThatIsNotADatabaseFailsAsBeforeAndLeavesNoKey)
{
    const QByteArray salt = Salt(7);
    QFile file(home.file(QStringLiteral("x.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(salt + QByteArray(4096, '\x11'));
    file.close();
    RememberKey(salt, QByteArray(32, '\x5a'));
    OpenFailure failure;
    EXPECT_FALSE(Database::Open(home.file(QStringLiteral("x.dat")), &failure));
    EXPECT_EQ(failure.code, 26);   // SQLITE_NOTADB, as without a cache
    EXPECT_TRUE(CachedKey(salt).isEmpty());
}

TEST_F(KeyCacheTest, ACacheOfGarbageIsSkippedAndWrittenAnew)
{
    QFile garbage(cacheFile());
    ASSERT_TRUE(QDir().mkpath(home.file(QStringLiteral("cache/stolvar"))));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not hex at all\n" + Salt(1).toHex() + " 00ff\n\x01\x02\xff\n");
    garbage.close();
    EXPECT_TRUE(CachedKey(Salt(1)).isEmpty());
    const QByteArray salt = makeRegister(QStringLiteral("p.dat"));
    ASSERT_TRUE(Database::Open(home.file(QStringLiteral("p.dat"))));
    EXPECT_EQ(cacheText(), salt.toHex() + ' ' + DeriveDatabaseKey(Database::kPassword, salt).toHex() + '\n');
}

TEST_F(KeyCacheTest, KeepsTheMostRecentKeysOnceEach)
{
    for (int n = 0; n < kMaxCachedKeys + 8; ++n)
        RememberKey(Salt(n), QByteArray(32, char(n)));
    EXPECT_TRUE(CachedKey(Salt(7)).isEmpty());
    EXPECT_EQ(CachedKey(Salt(8)), QByteArray(32, char(8)));
    RememberKey(Salt(8), QByteArray(32, '\x7f'));   // changed, and now the most recent
    EXPECT_EQ(CachedKey(Salt(8)), QByteArray(32, '\x7f'));
    const QList<QByteArray> lines = cacheText().split('\n');
    EXPECT_EQ(lines.size(), kMaxCachedKeys + 1);   // and the empty rest after the last line
    EXPECT_TRUE(lines.front().startsWith(Salt(8).toHex()));
    RememberKey("short", QByteArray(32, '\x01'));   // not a salt
    EXPECT_EQ(cacheText().count('\n'), kMaxCachedKeys);
}

TEST_F(KeyCacheTest, ACacheThatCannotBeWrittenCostsOnlyTheTime)
{
    QFile blocker(home.file(QStringLiteral("cache")));   // a file where the folder would be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray salt = makeRegister(QStringLiteral("p.dat"));
    auto db = Database::Open(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("gcxx")), 1);
    EXPECT_TRUE(CachedKey(salt).isEmpty());
}

TEST_F(KeyCacheTest, WithoutACacheNothingIsKept)
{
    UseKeyCache(QString());
    const QByteArray salt = makeRegister(QStringLiteral("p.dat"));
    ASSERT_TRUE(Database::Open(home.file(QStringLiteral("p.dat"))));
    RememberKey(salt, QByteArray(32, '\x01'));
    EXPECT_TRUE(CachedKey(salt).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(cacheFile()));
}

} // namespace
} // namespace stolvar
