#include "model/mail/MailSettings.h"

#include "db/Database.h"
#include "support/FaultVfs.h"
#include "support/TempHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

class MailStore : public ::testing::Test
{
protected:
    test::TempHome home;
    const QString path = home.file(QStringLiteral("help"));
};

TEST_F(MailStore, CreatesTheStoreWithDefaultsAtTheFirstRun)
{
    QString error;
    EXPECT_EQ(LoadMailSettings(path, &error), DefaultMailSettings());
    EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
    ASSERT_TRUE(QFile::exists(path));
    // The file is the encrypted single-row store, readable with the program's key only.
    auto db = Database::Open(path);
    ASSERT_TRUE(db);
    Statement st(*db, QStringLiteral("SELECT count(*), min(端口号) FROM help"));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.integer(0), 1);
    EXPECT_EQ(st.integer(1), 25);
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("smtp.example.com"));
}

TEST_F(MailStore, KeepsWhatIsSaved)
{
    ASSERT_TRUE(SaveMailServer(path, QStringLiteral("smtp.x.cn"), 587, QStringLiteral("clerk"), QStringLiteral("s3cret")));
    ASSERT_TRUE(SaveMailRecipients(path, QStringLiteral("a@x.cn; 王工 <wang@x.cn>")));
    ASSERT_TRUE(SaveMailServer(path, QStringLiteral("smtp.y.cn"), 465, QStringLiteral("clerk2"), QString()));
    const MailSettings expected{QStringLiteral("smtp.y.cn"), 465, QStringLiteral("clerk2"), QString(),
                                QStringLiteral("a@x.cn; 王工 <wang@x.cn>")};
    EXPECT_EQ(LoadMailSettings(path), expected);
    auto db = Database::Open(path);
    ASSERT_TRUE(db);
    Statement st(*db, QStringLiteral("SELECT count(*) FROM help"));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.integer(0), 1);
}

TEST_F(MailStore, NeverOverwritesAFileItCannotRead)
{
    QFile foreign(path);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database, but somebody's file\n");
    foreign.close();

    QString error;
    EXPECT_EQ(LoadMailSettings(path, &error), DefaultMailSettings());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(SaveMailRecipients(path, QStringLiteral("a@x.cn"), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(foreign.open(QIODevice::ReadOnly));
    EXPECT_EQ(foreign.readAll(), QByteArray("not a database, but somebody's file\n"));
}

TEST_F(MailStore, RepairsAStoreWithoutItsRow)
{
    {
        auto db = Database::Create(path);
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->execute(QStringLiteral("CREATE TABLE help (服务器地址 TEXT, 端口号 INTEGER, 用户名 TEXT, 密码 TEXT, 收件人 TEXT)")));
    }
    ASSERT_TRUE(SaveMailRecipients(path, QStringLiteral("a@x.cn")));
    EXPECT_EQ(LoadMailSettings(path).recipients, QStringLiteral("a@x.cn"));
}

int ModeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The store of an older release: the five columns only.
void MakeOldStore(const QString& path)
{
    auto db = Database::Create(path);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->execute(QStringLiteral("CREATE TABLE help (服务器地址 TEXT, 端口号 INTEGER, 用户名 TEXT, 密码 TEXT, 收件人 TEXT)")));
    ASSERT_TRUE(db->execute(QStringLiteral("INSERT INTO help VALUES ('smtp.old.cn', 25, 'clerk', 'pw', 'a@x.cn')")));
}

// Another program (or a backup tool) holds the write lock: a reader that asked for a write
// transaction would wait and then fail; one that only reads gets the account at once,
// and the file is not touched.
TEST_F(MailStore, ReadingNeverWrites)
{
    MakeOldStore(path);
    const QByteArray before = Bytes(path);
    auto writer = Database::Open(path);
    ASSERT_TRUE(writer && writer->execute(QStringLiteral("BEGIN IMMEDIATE")));
    QElapsedTimer timer;
    timer.start();
    QString error;
    MailSecurity security{true, QStringLiteral("stale")};
    const MailSettings read = LoadMailSettings(path, &error, &security);
    EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(read.server, QStringLiteral("smtp.old.cn"));
    EXPECT_EQ(read.password, QStringLiteral("pw"));
    EXPECT_EQ(security, MailSecurity{});
    ASSERT_TRUE(writer->execute(QStringLiteral("ROLLBACK")));
    writer.reset();
    EXPECT_EQ(Bytes(path), before);

    test::FaultVfs vfs;   // counts every write and sync of every file
    vfs.arm(0, test::FaultVfs::kWrite | test::FaultVfs::kSync);
    EXPECT_EQ(LoadMailSettings(path).server, QStringLiteral("smtp.old.cn"));
    EXPECT_EQ(vfs.counted(), 0);
}

TEST_F(MailStore, NewStoresAreOwnerOnlyAndExistingModesAreKept)
{
    LoadMailSettings(path);
    EXPECT_EQ(ModeOf(path), 0600);

    const QString old = home.file(QStringLiteral("old/help"));
    ASSERT_TRUE(QDir().mkpath(home.file(QStringLiteral("old"))));
    MakeOldStore(old);
    ASSERT_TRUE(QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                               | QFileDevice::ReadOther));
    ASSERT_TRUE(SaveMailRecipients(old, QStringLiteral("b@x.cn")));
    EXPECT_EQ(ModeOf(old), 0644);
}

// What sendings learnt is kept with the account, also in a store of an older release
// (whose five columns an older program still reads), and saving the server forgets it.
TEST_F(MailStore, KeepsWhatSendingsLearntUntilTheServerIsSaved)
{
    MakeOldStore(path);
    const MailSecurity learnt{true, QStringLiteral("ab12")};
    ASSERT_TRUE(SaveMailSecurity(path, learnt));
    MailSecurity security;
    EXPECT_EQ(LoadMailSettings(path, nullptr, &security).server, QStringLiteral("smtp.old.cn"));
    EXPECT_EQ(security, learnt);
    {
        auto db = Database::Open(path);
        Statement olderRelease(*db, QStringLiteral("SELECT 服务器地址, 端口号, 用户名, 密码, 收件人 FROM help LIMIT 1"));
        ASSERT_TRUE(olderRelease.next());
        EXPECT_EQ(olderRelease.text(4), QStringLiteral("a@x.cn"));
    }
    ASSERT_TRUE(SaveMailRecipients(path, QStringLiteral("c@x.cn")));
    LoadMailSettings(path, nullptr, &security);
    EXPECT_EQ(security, learnt) << "recipients are no new account";
    ASSERT_TRUE(SaveMailServer(path, QStringLiteral("smtp.new.cn"), 587, QStringLiteral("clerk"), QStringLiteral("pw")));
    LoadMailSettings(path, nullptr, &security);
    EXPECT_EQ(security, MailSecurity{});
}

} // namespace
} // namespace stolvar
