#include "db/Database.h"
#include "db/RegisterCheck.h"
#include "support/DamagedFile.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QDir>
#include <QFile>

#include <future>

#include <gtest/gtest.h>

// A register that a failing disk or a bad copy damaged is found at opening or at the
// first query that meets the damage, named, and never written again.
namespace stolvar {
namespace {

using Problem = RegisterOpening::Problem;

class RegisterCheckTest : public ::testing::Test
{
protected:
    QString path(const char* name) const { return home.file(QString::fromUtf8(name)); }
    void truncate(const char* name, qint64 size)
    {
        ASSERT_TRUE(test::MakeFilledRegister(path(name)));
        ASSERT_TRUE(QFile::resize(path(name), size));
    }
    void writeText(const char* name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    test::TempHome home;
};

TEST_F(RegisterCheckTest, EveryKindOfBadFileIsNamedAndNoneIsChanged)
{
    ASSERT_TRUE(QDir(home.path()).mkdir("folder.dat"));
    writeText("empty.dat", {});
    writeText("text.dat", "工程名称,工程部位\n一号楼,基础\n");
    truncate("half.dat", 40 * 1024 + 300);
    truncate("pages.dat", 20 * 1024);
    ASSERT_TRUE(test::MakeFilledRegister(path("page.dat")));
    ASSERT_TRUE(test::OverwriteMiddlePage(path("page.dat")));
    ASSERT_TRUE(Database::Create(path("tables.dat"))->execute("CREATE TABLE notes (text TEXT)"));   // no register

    const struct {
        const char* file;
        const char* reason;   // what the reason begins with
    } cases[] = {
        {"folder.dat", "这不是文件，而是一个文件夹"}, {"empty.dat", "文件是空的（0字节）"},
        {"text.dat", "这不是工程数据库文件"},        {"half.dat", "文件不完整或已损坏（41260字节"},
        {"pages.dat", "文件不完整或已损坏（20480字节"}, {"page.dat", "完整性检查未通过："},
        {"tables.dat", "缺少数据表gcxx、skxx"},
    };
    for (const auto& c : cases) {
        const QByteArray before = test::FileDigest(path(c.file));
        const RegisterOpening opening = OpenRegister(path(c.file));
        EXPECT_TRUE(IsDamage(opening.problem)) << c.file;
        EXPECT_TRUE(opening.reason.startsWith(QString::fromUtf8(c.reason))) << c.file << ": " << opening.reason.toStdString();
        if (opening.db) {
            EXPECT_TRUE(opening.db->isDamaged()) << c.file;
            EXPECT_FALSE(test::InsertGroup(*opening.db, "一号楼", "新部位", test::Day(2024, 5, 1))) << c.file;
            if (opening.reason.startsWith("完整性")) {
                EXPECT_EQ(opening.db->lastError(), DamagedWriteRefusedText()) << c.file;
            }
            EXPECT_FALSE(opening.db->execute("CREATE INDEX IF NOT EXISTS x ON gcxx(强度等级)")) << c.file;
        }
        EXPECT_EQ(test::FileDigest(path(c.file)), before) << c.file << " was changed";
    }
    EXPECT_TRUE(OpenRegister(path("page.dat")).reason.contains("btreeInitPage() returns error code 11"));
    EXPECT_EQ(OpenRegister(path("text.dat")).problem, Problem::NotDatabase);
    EXPECT_TRUE(QFileInfo(path("folder.dat")).isDir());
}

TEST_F(RegisterCheckTest, ASoundRegisterOpensAndAMissingOneIsNoDamage)
{
    ASSERT_TRUE(test::MakeFilledRegister(path("good.dat")));
    const RegisterOpening good = OpenRegister(path("good.dat"));
    ASSERT_TRUE(good.db);
    EXPECT_EQ(good.problem, Problem::None);
    EXPECT_TRUE(good.reason.isEmpty());
    EXPECT_TRUE(test::InsertGroup(*good.db, "一号楼", "新部位", test::Day(2024, 5, 1)));

    const RegisterOpening missing = OpenRegister(path("missing.dat"));
    EXPECT_EQ(missing.problem, Problem::Missing);
    EXPECT_FALSE(IsDamage(missing.problem));
    EXPECT_FALSE(QFile::exists(path("missing.dat")));
}

// Damage that the opening did not see (a page the check never read, because the file
// was damaged afterwards) is found by the first query that reads it: the handler hears
// of it once, and from then on nothing is written.
TEST_F(RegisterCheckTest, ACorruptPageMetLaterMarksTheFileDamaged)
{
    ASSERT_TRUE(test::MakeFilledRegister(path("later.dat")));
    auto db = Database::Open(path("later.dat"));
    ASSERT_TRUE(db);
    QStringList reasons;
    db->setDamageHandler([&](const QString& reason) { reasons << reason; });
    // The root page of the group table: the query below reads it whatever the schema's layout.
    qint64 rootPage = 0;
    {
        Statement root(*db, "SELECT rootpage FROM sqlite_master WHERE name = 'gcxx'");
        ASSERT_TRUE(root.next());
        rootPage = root.integer(0);
    }
    ASSERT_TRUE(test::OverwritePage(path("later.dat"), rootPage));
    ASSERT_TRUE(db->execute("PRAGMA shrink_memory"));
    const QByteArray before = test::FileDigest(path("later.dat"));
    for (int i = 0; i < 2; ++i) {
        Statement st(*db, "SELECT * FROM gcxx ORDER BY id");
        while (st.next()) {
        }
        EXPECT_FALSE(st.ok());
    }
    EXPECT_TRUE(db->isDamaged());
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_EQ(reasons[0], db->damage());
    EXPECT_FALSE(test::InsertTemperature(*db, test::Day(2025, 1, 1), 5.0));
    EXPECT_EQ(db->lastError(), DamagedWriteRefusedText());
    EXPECT_EQ(test::FileDigest(path("later.dat")), before);
}

// The check runs while the window already reads the file: a write made meanwhile waits
// for it, and then finds the source column the check added (sound file) or is refused
// (damaged file).
TEST_F(RegisterCheckTest, WritesWaitForTheCheckOfAFileJustOpened)
{
    for (const bool damaged : {false, true}) {
        const QString file = path(damaged ? "damaged.dat" : "sound.dat");
        ASSERT_TRUE(test::MakeFilledRegister(file));
        if (damaged) {
            ASSERT_TRUE(test::OverwriteMiddlePage(file));
        }
        const RegisterOpening opening = OpenRegister(file, false);
        ASSERT_EQ(opening.problem, Problem::None);
        Database& db = *opening.db;
        db.holdWritesUntilChecked();
        EXPECT_NE(test::CountRows(db, "skxx"), 0) << "reads do not wait";
        auto write = std::async(std::launch::async, [&db] {
            const bool added = test::InsertGroup(db, "九号楼", "基础", test::Day(2024, 6, 1));
            return std::make_pair(added, HasSourceColumn(db));
        });
        EXPECT_EQ(write.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        const OpenedRegisterCheck check = CheckOpenedRegister(db);
        const auto [added, hasSource] = write.get();
        EXPECT_EQ(check.damage.isEmpty(), !damaged);
        EXPECT_EQ(added, !damaged);
        EXPECT_EQ(hasSource, !damaged);
        EXPECT_EQ(db.isDamaged(), damaged);
    }
}

} // namespace
} // namespace stolvar
