#include "db/Database.h"
#include "db/OpenAhead.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

class OpenAheadTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // No result may stay behind for the next test.
        TakeOpenedAhead(path);
    }
    test::TempHome home;
    QString path = home.file(QStringLiteral("工程.dat"));
};

TEST_F(OpenAheadTest, TheResultGoesOnlyToTheSamePathAndOnlyOnce)
{
    ASSERT_TRUE(test::MakeProjectDatabase(path));
    StartOpeningAhead(path);
    StartOpeningAhead(home.file(QStringLiteral("other.dat")));   // ignored: one is pending
    EXPECT_FALSE(TakeOpenedAhead(home.file(QStringLiteral("other.dat"))).has_value());
    EXPECT_FALSE(IsOpenedAhead(home.file(QStringLiteral("other.dat"))));
    const auto taken = TakeOpenedAhead(path);
    ASSERT_TRUE(taken.has_value());
    ASSERT_TRUE(*taken);
    EXPECT_EQ((*taken)->path(), path);
    EXPECT_TRUE(Statement(**taken, QStringLiteral("SELECT count(*) FROM gcxx")).next());
    EXPECT_FALSE(TakeOpenedAhead(path).has_value());
    EXPECT_FALSE(IsOpenedAhead(path));
}

// The work given with the open runs on the opened file and comes back with it; a file
// that does not open runs none.
TEST_F(OpenAheadTest, TheWorkOnTheOpenedFileComesBackWithIt)
{
    auto db = test::MakeProjectDatabase(path);
    ASSERT_TRUE(db);
    ASSERT_TRUE(test::InsertGroup(*db, "甲", "基础", test::Day(2017, 3, 1)));
    db.reset();
    const auto countGroups = [](const Database& opened) { return std::any(test::CountRows(opened, QStringLiteral("gcxx"))); };
    StartOpeningAhead(path, countGroups);
    const auto taken = TakeOpenedAheadWithWork(path);
    ASSERT_TRUE(taken.has_value());
    ASSERT_TRUE(taken->db);
    ASSERT_TRUE(taken->prepared.has_value());
    EXPECT_EQ(std::any_cast<int>(taken->prepared), 1);

    const QString missing = home.file(QStringLiteral("不存在.dat"));
    StartOpeningAhead(missing, countGroups);
    const auto none = TakeOpenedAheadWithWork(missing);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->db, nullptr);
    EXPECT_FALSE(none->prepared.has_value());
}

TEST_F(OpenAheadTest, AFileThatDoesNotOpenGivesNull)
{
    StartOpeningAhead(path);   // no such file
    const auto taken = TakeOpenedAhead(path);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(*taken, nullptr);
}

// The program opens its last register before Qt starts on the main thread. Qt must still
// take the main thread for its own, however fast the opening thread is: the probe lets that
// thread finish first, then starts Qt.
TEST_F(OpenAheadTest, QtStillTakesTheMainThreadWhenTheOpeningThreadIsDoneFirst)
{
    ASSERT_TRUE(test::MakeProjectDatabase(path));
    QProcess probe;
    probe.start(QStringLiteral(STOLVAR_OPEN_AHEAD_PROBE), {path});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
}

} // namespace
} // namespace stolvar
