#include "db/FileKey.h"
#include "db/Database.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QFile>

#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// The published test vectors of PBKDF2-HMAC-SHA1 (RFC 6070).
TEST(FileKey, DerivesThePublishedPbkdf2Sha1Vectors)
{
    const struct {
        QByteArray passphrase, salt;
        int rounds;
        int length;
        QByteArray hex;
    } cases[] = {
        {"password", "salt", 1, 20, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 4096, 20, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {QByteArray("pass\0word", 9), QByteArray("sa\0lt", 5), 4096, 16, "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pbkdf2Sha1(c.passphrase, c.salt, c.rounds, c.length).toHex(), c.hex) << c.rounds;
}

// Opens `path` in a bare SQLCipher connection with the given key statement and counts
// the groups; -1 when the file does not open with it.
int CountGroupsWith(const QString& path, const QString& keyPragma)
{
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_exec(db, keyPragma.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM gcxx", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            count = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return count;
}

// A register whose key SQLCipher derived from the passphrase (as every earlier version
// wrote them) opens with the key derived here, and only with the key of its own salt.
TEST(FileKey, TheKeyDerivedHereIsTheOneSqlCipherDerives)
{
    test::TempHome home;
    const QString path = home.file(QStringLiteral("p.dat"));
    {
        auto db = test::MakeProjectDatabase(path);
        ASSERT_TRUE(db);
        ASSERT_TRUE(test::InsertGroup(*db, "城北花园", "一层柱", test::Day(2017, 4, 13)));
    }
    const QByteArray salt = ReadDatabaseSalt(path);
    ASSERT_EQ(salt.size(), 16);
    const QByteArray key = DeriveDatabaseKey(Database::kPassword, salt);
    ASSERT_EQ(key.size(), 32);
    EXPECT_EQ(CountGroupsWith(path, QStringLiteral("PRAGMA key = '%1'").arg(QLatin1String(Database::kPassword))), 1);
    EXPECT_EQ(CountGroupsWith(path, RawKeyPragma(key)), 1);
    QByteArray otherSalt = salt;
    otherSalt[0] = char(otherSalt[0] ^ 1);
    EXPECT_EQ(CountGroupsWith(path, RawKeyPragma(DeriveDatabaseKey(Database::kPassword, otherSalt))), -1);
    auto reopened = Database::Open(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(test::CountRows(*reopened, QStringLiteral("gcxx")), 1);
}

TEST(FileKey, AnEmptyOrMissingFileHasNoSalt)
{
    test::TempHome home;
    QFile empty(home.file(QStringLiteral("empty.dat")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_TRUE(ReadDatabaseSalt(home.file(QStringLiteral("empty.dat"))).isEmpty());
    EXPECT_TRUE(ReadDatabaseSalt(home.file(QStringLiteral("missing.dat"))).isEmpty());
}

} // namespace
} // namespace stolvar
