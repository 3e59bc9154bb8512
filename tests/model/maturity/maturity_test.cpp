#include "model/maturity/Maturity.h"
#include "support/MaturityFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace stolvar {
namespace {

using test::kCasting;
using test::Window;

const float kJustBelow600 = std::nextafter(600.0f, 0.0f);   // 599.99994

std::vector<float> Repeat(float mean, int count)
{
    return std::vector<float>(size_t(count), mean);
}

TEST(AccumulateTable1, StopsOnTheRowThatReaches600OrAfter60Rows)
{
    const struct {
        const char* name;
        std::vector<float> means;
        int firstOffset;
        bool countFromNextDay;
        int counted;
        float sum;
        int firstDayShown;
    } cases[] = {
        {"exactly 600 on the 24th day", Repeat(25.0f, 30), 0, false, 24, 600.0f, 0},
        {"599.99994 is not reached", {kJustBelow600, 0.0f, 10.0f}, 0, false, 3, kJustBelow600 + 10.0f, 0},
        // In double the sum would stay 2e-5 short; rounded to single it is 600.
        {"single-precision rounding reaches 600", {kJustBelow600, 0.00004f, 7.0f}, 0, false, 2, 600.0f, 0},
        {"an overshooting row still counts", {590.0f, 20.0f, 1.0f}, 0, false, 2, 610.0f, 0},
        {"61 days below 600 stop at 60", Repeat(5.0f, 61), 0, false, 60, 300.0f, 0},
        {"next day: the casting day is stepped over", {100.0f, 25.0f, 25.0f}, 0, true, 2, 50.0f, 1},
        {"next day without a casting-day record", {100.0f, 25.0f, 25.0f}, 1, true, 2, 50.0f, 2},
        {"empty window", {}, 0, false, 0, 0.0f, -1},
    };
    for (const auto& c : cases) {
        const MaturitySummary s = AccumulateTable1(Window(c.means, c.firstOffset), c.countFromNextDay);
        EXPECT_EQ(s.countedDays, c.counted) << c.name;
        EXPECT_EQ(s.days.size(), c.counted) << c.name;
        EXPECT_EQ(s.accumulated, c.sum) << c.name;
        if (!s.days.isEmpty()) {
            EXPECT_EQ(s.days.front().day, AddDays(kCasting, c.firstDayShown)) << c.name;
        }
    }
}

TEST(AccumulateTable1, CountsRecordsNotCalendarDays)
{
    QVector<TemperatureRecord> everyOtherDay;
    for (const TemperatureRecord& r : Window(Repeat(10.0f, 61)))
        if (r.id % 2 == 1)
            everyOtherDay.append(r);
    const MaturitySummary s = AccumulateTable1(everyOtherDay, false);
    EXPECT_EQ(s.countedDays, 31);
    EXPECT_EQ(s.accumulated, 310.0f);
}

TEST(AccumulateTable2, ColdDaysLowerTheSumAndAreInvalid)
{
    const MaturitySummary s = AccumulateTable2(Window({10.0f, -3.5f, 0.0f, 5.0f}), false);
    ASSERT_EQ(s.days.size(), 4);
    const bool valid[] = {true, false, false, true};
    const int validSoFar[] = {1, 1, 1, 2};
    const float sums[] = {10.0f, 6.5f, 6.5f, 11.5f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.days[i].valid, valid[i]) << i;
        EXPECT_EQ(s.days[i].validSoFar, validSoFar[i]) << i;
        EXPECT_EQ(s.days[i].sumSoFar, sums[i]) << i;
    }
    EXPECT_EQ(s.validDays, 2);
}

TEST(AccumulateTable2, StopsAtSixtyValidDaysOr600)
{
    EXPECT_EQ(AccumulateTable2(Window(Repeat(1.0f, 70)), false).countedDays, 60);
    EXPECT_EQ(AccumulateTable2(Window(Repeat(25.0f, 30)), false).countedDays, 24);
    // Cold days do not count toward the 60, so table 2 can take all 91 days of its window.
    std::vector<float> alternating;
    for (int i = 0; i < 91; ++i)
        alternating.push_back(float(i % 2));
    EXPECT_EQ(AccumulateTable2(Window(alternating), false).countedDays, 91);
    EXPECT_EQ(AccumulateTable1(Window(alternating), false).countedDays, 60);
}

TEST(Accumulate, ARecordWithoutMeanCountsButAddsNothing)
{
    QVector<TemperatureRecord> window = Window({10.0f, 0.0f, 4.0f});
    window[1].mean.reset();
    window[1].low.reset();
    for (const MaturitySummary& s : {AccumulateTable1(window, false), AccumulateTable2(window, false)}) {
        EXPECT_EQ(s.countedDays, 3);
        EXPECT_EQ(s.accumulated, 14.0f);
        EXPECT_FALSE(s.days[1].valid);
        EXPECT_FALSE(s.days[1].low.has_value());
    }
}

TEST(Windows, RunFromTheCastingDayOverWholeDays)
{
    const QDateTime castAtTen = WallTime(QDate(2017, 3, 1), QTime(10, 0));
    EXPECT_EQ(Table1Window(castAtTen).from, kCasting);
    EXPECT_EQ(Table1Window(castAtTen).to, WallTime(QDate(2017, 4, 30)));
    EXPECT_EQ(Table2Window(castAtTen).to, WallTime(QDate(2017, 5, 30)));
}

} // namespace
} // namespace stolvar
