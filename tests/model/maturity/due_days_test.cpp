#include "model/maturity/DueDays.h"
#include "model/maturity/Worklist.h"

#include "support/MaturityFixtures.h"
#include "support/RemindFixtures.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::kCasting;
const QDate kCastDay = kCasting.date();   // 2017-03-01

const CountingRule kFromCastingDay{MaturityRule::Classic, false};
const CountingRule kFromNextDay{MaturityRule::Classic, true};

TEST(ComputeDueDays, StandardAndFormRemovalAreCalendarDaysWhateverTheTimeOfDay)
{
    const GroupDueDays due = ComputeDueDays(WallTime(kCastDay, QTime(17, 45)), {}, kFromNextDay);
    EXPECT_EQ(due.standard, QDate(2017, 3, 29));
    EXPECT_EQ(due.formRemoval, QDate(2017, 3, 15));
    EXPECT_FALSE(due.sameCondition) << "no records: not due yet";
    EXPECT_EQ(RemainingDays(due.standard, QDate(2017, 3, 28)), 1);
    EXPECT_EQ(RemainingDays(due.standard, QDate(2017, 3, 29)), 0);
    EXPECT_EQ(RemainingDays(due.standard, QDate(2017, 3, 30)), -1);
}

// The same-condition day is the day of the record on which table 1 stops: 600 ℃·d reached
// (600 − 1e-7 counts) or the 60th counted day; before either, none.
TEST(ComputeDueDays, SameConditionIsTheDayTable1StopsOn)
{
    const struct {
        const char* name;
        QVector<TemperatureRecord> window;
        CountingRule rule;
        int dueOffset;   // -1: not due yet
        bool byCap;
    } cases[] = {
        {"30 days of 20 from casting", test::Window(std::vector<float>(40, 20.0f)), kFromCastingDay, 29, false},
        {"counting from the next day", test::Window(std::vector<float>(40, 20.0f)), kFromNextDay, 30, false},
        {"not reached yet", test::Window(std::vector<float>(20, 20.0f)), kFromNextDay, -1, false},
        {"60 cold days", test::Window(std::vector<float>(61, 5.0f)), kFromCastingDay, 59, true},
        {"standard rule waits for day 14", test::Window(std::vector<float>(20, 60.0f)),
         {MaturityRule::Standard2015, false}, 13, false},
    };
    for (const auto& c : cases) {
        const GroupDueDays due = ComputeDueDays(kCasting, c.window, c.rule);
        ASSERT_EQ(due.sameCondition.has_value(), c.dueOffset >= 0) << c.name;
        if (!due.sameCondition)
            continue;
        EXPECT_EQ(*due.sameCondition, kCastDay.addDays(c.dueOffset)) << c.name;
        EXPECT_EQ(due.sameConditionByCap, c.byCap) << c.name;
        EXPECT_EQ(*due.sameCondition, due.table1.days.constLast().day.date()) << c.name << ": table 1's last day";
    }
}

// Frost days count under the classic rule and are left out under the national standard's;
// either way the due day never falls on a day the walk did not take.
TEST(ComputeDueDays, FrostDaysAndTheStandardWindowOfNinetyDays)
{
    // 30 warm days, then 40 frost days, then warm again: the standard rule needs the 90-day window.
    std::vector<float> means(30, 10.0f);
    means.insert(means.end(), 40, -3.0f);
    means.insert(means.end(), 20, 20.0f);
    const QVector<TemperatureRecord> window = test::Window(means);
    const GroupDueDays classic = ComputeDueDays(kCasting, window.mid(0, 61), kFromCastingDay);
    ASSERT_TRUE(classic.sameCondition);
    EXPECT_TRUE(classic.sameConditionByCap) << "300 − 90 never reaches 600 in 60 days";
    const GroupDueDays standard = ComputeDueDays(kCasting, window, {MaturityRule::Standard2015, false});
    ASSERT_TRUE(standard.sameCondition);
    EXPECT_EQ(*standard.sameCondition, kCastDay.addDays(84)) << "300 + 15 × 20 after the frost";
    EXPECT_EQ(DueWindow(kCasting, MaturityRule::Classic).to.date(), kCastDay.addDays(60));
    EXPECT_EQ(DueWindow(kCasting, MaturityRule::Standard2015).to.date(), kCastDay.addDays(90));
}

TEST(MaturityOn, GivesTheSumAndAgeAsTable1HasThemOnThatDay)
{
    const GroupDueDays due = ComputeDueDays(kCasting, test::Window(std::vector<float>(40, 20.0f)), kFromNextDay);
    const MaturityOnDay mid = MaturityOn(due, kCasting, kCastDay.addDays(10));
    EXPECT_FLOAT_EQ(mid.sum, 200.0f);
    EXPECT_EQ(mid.countedDays, 10);
    EXPECT_EQ(mid.age, 10);
    const MaturityOnDay later = MaturityOn(due, kCasting, kCastDay.addDays(35));
    EXPECT_FLOAT_EQ(later.sum, 600.0f) << "table 1 stops on its due day";
    EXPECT_EQ(later.age, 35);
}

WorkGroup Work(qint64 id, const QDate& casting, const QVector<TemperatureRecord>& window = {})
{
    SpecimenGroup g = test::Group(id, WallTime(casting), QStringLiteral("工程%1").arg(id));
    return {g, ComputeDueDays(g.castingDate, window, kFromNextDay), std::nullopt};
}

// From 30 days back to the lead time ahead; overdue first; sent groups leave; form removal
// stays a week after its day; projected same-condition days are marked and never past.
TEST(BuildWorklist, ListsWhatNeedsTheClerkOverdueFirst)
{
    const QDate today(2017, 4, 10);
    QVector<WorkGroup> groups;
    groups.append(Work(1, today.addDays(-28)));         // standard today, form removal 14 days ago: gone
    groups.append(Work(2, today.addDays(-28 - 5)));     // standard 5 days overdue
    groups.append(Work(3, today.addDays(-28 + 2)));     // standard in 2 days
    groups.append(Work(4, today.addDays(-28 - 31)));    // standard 31 days overdue: gone
    groups.append(Work(7, today.addDays(-14 - 6)));     // form removal 6 days ago; standard beyond the lead
    WorkGroup sent = Work(5, today.addDays(-28));
    sent.group.standardState = kSent;
    groups.append(sent);
    WorkGroup projected = Work(6, today.addDays(-40));
    projected.group.standardState = kSent;
    projected.projectedSameCondition = today.addDays(-2);   // stale projection
    groups.append(projected);
    const QVector<WorkItem> items = BuildWorklist(groups, today, 3);

    QStringList rows;
    for (const WorkItem& item : items)
        rows << WorklistRow(item).join(u'|');
    const QStringList expected = {
        QStringLiteral("拆模|工程7|三层梁板|C30|2017年3月21日|2017年4月4日|已过期6天"),
        QStringLiteral("标养|工程2|三层梁板|C30|2017年3月8日|2017年4月5日|已过期5天"),
        QStringLiteral("标养|工程1|三层梁板|C30|2017年3月13日|2017年4月10日|今天到期"),
        QStringLiteral("同养|工程6|三层梁板|C30|2017年3月1日|预计2017年4月10日|今天到期"),
        QStringLiteral("标养|工程3|三层梁板|C30|2017年3月15日|2017年4月12日|还有2天"),
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(WorklistSummary(items, 3), QStringLiteral("已过期2组，今天到期2组，3天内1组"));
}

} // namespace
} // namespace stolvar
