#include "model/maturity/SameConditionQuery.h"

#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

void ExpectSameSummary(const MaturitySummary& one, const MaturitySummary& other)
{
    EXPECT_EQ(one.countedDays, other.countedDays);
    EXPECT_EQ(one.validDays, other.validDays);
    EXPECT_EQ(one.accumulated, other.accumulated);
    ASSERT_EQ(one.days.size(), other.days.size());
    for (qsizetype i = 0; i < one.days.size(); ++i) {
        EXPECT_EQ(one.days[i].day, other.days[i].day) << "day " << i;
        EXPECT_EQ(one.days[i].mean, other.days[i].mean) << "day " << i;
        EXPECT_EQ(one.days[i].sumSoFar, other.days[i].sumSoFar) << "day " << i;
        EXPECT_EQ(one.days[i].validSoFar, other.days[i].validSoFar) << "day " << i;
    }
}

void ExpectSameOutlook(const GroupOutlook& one, const GroupOutlook& other)
{
    EXPECT_EQ(one.failure, other.failure);
    EXPECT_EQ(one.due.sameCondition, other.due.sameCondition);
    EXPECT_EQ(one.due.sameConditionByCap, other.due.sameConditionByCap);
    EXPECT_EQ(one.missingDays, other.missingDays);
    EXPECT_EQ(one.projection.outcome, other.projection.outcome);
    EXPECT_EQ(one.projection.date, other.projection.date);
    EXPECT_EQ(one.projection.forecastDays, other.projection.forecastDays);
    EXPECT_EQ(one.projection.projectedDays, other.projection.projectedDays);
    EXPECT_TRUE(one.curve == other.curve);
}

// A click on a position reads the group's days once for table 1 and the outlook. What it
// shows must be what each of them gives from its own read: days before the casting (the
// recent mean), frost days, a day stored twice, missing days and days past the due window,
// under both rules, counted from the casting day and from the next, on several todays.
TEST(ComputeGroupCuring, OneReadGivesWhatTable1AndTheOutlookGiveEachFromTheirOwn)
{
    test::TempHome home;
    const auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    const QDateTime casting = Day(2017, 3, 1, 9, 30);
    {
        Transaction tx(*db);
        for (int d = -12; d <= 100; ++d) {
            if (d == 20 || d == 21 || d == 45)
                continue;   // missing days
            const double mean = d % 9 == 4 ? -2.0 : 6.0 + (d % 7) * 1.5;
            ASSERT_TRUE(test::InsertTemperature(*db, WallTime(casting.date().addDays(d)), mean));
        }
        ASSERT_TRUE(test::InsertTemperature(*db, WallTime(casting.date().addDays(8)), 30.0));   // stored twice
        ASSERT_TRUE(tx.commit());
    }
    for (const MaturityRule rule : {MaturityRule::Classic, MaturityRule::Standard2015}) {
        for (const bool fromNextDay : {false, true}) {
            for (const int today : {3, 30, 70, 120}) {
                SCOPED_TRACE(testing::Message() << "rule " << int(rule) << ", from next day " << fromNextDay
                                                << ", today +" << today);
                const ProjectionInput input{casting, fromNextDay, rule, casting.date().addDays(today), {}};
                const GroupCuring curing = ComputeGroupCuring(db.get(), input);
                const MaturityResult table1 = ComputeTable1(db.get(), casting, {rule, fromNextDay});
                EXPECT_TRUE(curing.table1.ok());
                ExpectSameSummary(curing.table1.summary, table1.summary);
                ExpectSameOutlook(curing.outlook, ComputeGroupOutlook(db.get(), input));
                EXPECT_GT(curing.table1.summary.countedDays, 0);
            }
        }
    }

    const GroupCuring noDatabase = ComputeGroupCuring(nullptr, {casting, true, MaturityRule::Classic, {}, {}});
    EXPECT_EQ(noDatabase.table1.failure, ConnectFailedText());
    EXPECT_EQ(noDatabase.outlook.failure, ConnectFailedText());
    const GroupCuring noCasting = ComputeGroupCuring(db.get(), {QDateTime(), true, MaturityRule::Classic, {}, {}});
    EXPECT_TRUE(noCasting.table1.ok()) << "a group without a casting date has no days, and no failure";
    EXPECT_EQ(noCasting.table1.summary.countedDays, 0);
}

} // namespace
} // namespace stolvar
