#include "remind/MailSettings.h"

#include "db/Database.h"
#include "support/TempHome.h"

#include <QFile>

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

} // namespace
} // namespace stolvar
