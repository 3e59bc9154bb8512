#include "db/Database.h"
#include "db/OpenAhead.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

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

TEST_F(OpenAheadTest, AFileThatDoesNotOpenGivesNull)
{
    StartOpeningAhead(path);   // no such file
    const auto taken = TakeOpenedAhead(path);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(*taken, nullptr);
}

} // namespace
} // namespace stolvar
