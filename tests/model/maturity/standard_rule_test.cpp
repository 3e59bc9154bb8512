#include "model/maturity/Maturity.h"
#include "support/MaturityFixtures.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::kCasting;
using test::Window;

// Winter: 10 ℃ days with a frost day (−3 ℃) and a 0 ℃ day every fifth day.
std::vector<float> Winter(int days)
{
    std::vector<float> means;
    for (int i = 0; i < days; ++i)
        means.push_back(i % 5 == 3 ? -3.0f : i % 5 == 4 ? 0.0f : 10.0f);
    return means;
}

TEST(StandardRule, AWinterGroupSkipsFrostDaysInBothTables)
{
    const QVector<TemperatureRecord> window = Window(Winter(61));
    // Classic: every day is summed, frost included: 36 days of 10 minus 12 frost days of 3.
    const MaturitySummary classic = AccumulateTable1(window, false);
    EXPECT_EQ(classic.countedDays, 60);
    EXPECT_EQ(classic.accumulated, 324.0f);

    // Standard: frost and 0 ℃ days are neither summed nor counted; table 1 shows none.
    const MaturitySummary t1 = AccumulateTable1(window, false, MaturityRule::Standard2015);
    EXPECT_EQ(t1.countedDays, 37);   // every valid day of the 61-day window
    EXPECT_EQ(t1.validDays, 37);
    EXPECT_EQ(t1.accumulated, 370.0f);
    for (const MaturityDay& d : t1.days)
        EXPECT_TRUE(d.valid) << d.day.toString(Qt::ISODate).toStdString();

    // Table 2 still lists the frost days as invalid, with the sum unchanged on them.
    const MaturitySummary t2 = AccumulateTable2(Window(Winter(91)), false, MaturityRule::Standard2015);
    ASSERT_GE(t2.days.size(), 5);
    EXPECT_FALSE(t2.days[3].valid);
    EXPECT_EQ(t2.days[3].sumSoFar, 30.0f);
    EXPECT_EQ(t2.days[4].sumSoFar, 30.0f);
    EXPECT_EQ(t2.days[4].validSoFar, 3);
    EXPECT_EQ(t2.validDays, 55);   // 91 days: 55 valid, never 600
    EXPECT_EQ(t2.accumulated, 550.0f);
}

TEST(StandardRule, AHotSummerGroupIsDueNoEarlierThanItsFourteenthCountedDay)
{
    const struct {
        const char* name;
        std::vector<float> means;
        MaturityRule rule;
        int counted;
        float sum;
    } cases[] = {
        {"classic: 600 on day 12", std::vector<float>(30, 50.0f), MaturityRule::Classic, 12, 600.0f},
        {"standard: held to day 14", std::vector<float>(30, 50.0f), MaturityRule::Standard2015, 14, 700.0f},
        {"standard: 600 after day 14 decides", std::vector<float>(40, 30.0f), MaturityRule::Standard2015, 20, 600.0f},
        {"standard: the 60-day cap stays", std::vector<float>(70, 5.0f), MaturityRule::Standard2015, 60, 300.0f},
    };
    for (const auto& c : cases) {
        const MaturitySummary t1 = AccumulateTable1(Window(c.means), false, c.rule);
        EXPECT_EQ(t1.countedDays, c.counted) << c.name;
        EXPECT_EQ(t1.accumulated, c.sum) << c.name;
        const MaturitySummary t2 = AccumulateTable2(Window(c.means), false, c.rule);
        EXPECT_EQ(t2.validDays, c.counted) << c.name;
        EXPECT_EQ(t2.accumulated, c.sum) << c.name;
    }
}

TEST(StandardRule, TheDefaultRuleIsTheClassicCount)
{
    const QVector<TemperatureRecord> window = Window({50.0f, -10.0f, 300.0f, 260.0f, 20.0f, 5.0f});
    const MaturitySummary byDefault = AccumulateTable2(window, false);
    const MaturitySummary classic = AccumulateTable2(window, false, MaturityRule::Classic);
    EXPECT_EQ(byDefault.accumulated, classic.accumulated);
    EXPECT_EQ(byDefault.days.size(), 4);   // 50 − 10 + 300 + 260 = 600 on the fourth day
    EXPECT_EQ(byDefault.accumulated, 600.0f);
    EXPECT_EQ(AccumulateTable2(window, false, MaturityRule::Standard2015).accumulated, 635.0f);
    EXPECT_TRUE(MaturityDue(600.0f, 1, MaturityRule::Classic));
    EXPECT_FALSE(MaturityDue(600.0f, 13, MaturityRule::Standard2015));
    EXPECT_TRUE(MaturityDue(600.0f, 14, MaturityRule::Standard2015));
}

} // namespace
} // namespace stolvar
