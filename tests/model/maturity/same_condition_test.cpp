#include "model/register/GroupQueries.h"
#include "model/maturity/SameConditionScan.h"
#include "model/register/ReminderQueries.h"

#include "support/RemindFixtures.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

namespace stolvar {
namespace {

using test::At;
using test::Group;

const QDateTime kTarget = At(2024, 6, 30);

// `count` daily records ending on kTarget, oldest first.
QVector<TemperatureRecord> Days(int count, float mean)
{
    QVector<TemperatureRecord> records;
    for (int back = count - 1; back >= 0; --back) {
        TemperatureRecord r;
        r.day = AddDays(kTarget, -back);
        r.mean = mean;
        records.append(r);
    }
    return records;
}

TEST(FindSameConditionStop, StopsWhereTheSumReachesOrTheDayCapEnds)
{
    const struct {
        const char* name;
        int records;
        float mean;
        int stopDaysBack;  // -1: no stop day
        float sum;
    } cases[] = {
        {"600 reached after 30 days", 40, 20.0F, 30, 600.0F},
        {"60 records, too cold", 60, 5.0F, -1, 0},
        {"61 records, too cold: day cap", 61, 5.0F, 60, 300.0F},
        {"records run out before 600", 25, 20.0F, -1, 0},
        {"600 reached by the last record", 31, 20.0F, 30, 600.0F},
        {"no records", 0, 20.0F, -1, 0},
    };
    for (const auto& c : cases) {
        const auto stop = FindSameConditionStop(Days(c.records, c.mean));
        ASSERT_EQ(stop.has_value(), c.stopDaysBack >= 0) << c.name;
        if (!stop)
            continue;
        EXPECT_EQ(stop->stopDay, AddDays(kTarget, -c.stopDaysBack)) << c.name;
        EXPECT_EQ(stop->sum, c.sum) << c.name;
    }
}

// Summed in single precision, 0.1 sixty times stays below 6 and the cap decides.
TEST(FindSameConditionStop, CountsMissingMeansAsZeroAndSumsInSinglePrecision)
{
    QVector<TemperatureRecord> records = Days(61, 0.1F);
    records[60].mean.reset();
    const auto stop = FindSameConditionStop(records);
    ASSERT_TRUE(stop.has_value());
    float expected = 0;
    for (int i = 0; i < 59; ++i)
        expected = float(double(expected) + double(0.1F));
    EXPECT_EQ(stop->sum, expected);
    EXPECT_NE(stop->sum, float(59 * double(0.1F)));  // what a double-precision sum would give
}

TEST(SameConditionText, ListsOnlyGroupsWithSameConditionSpecimens)
{
    SpecimenGroup without = Group(2, At(2024, 5, 31), QStringLiteral("二号楼"));
    without.sameCount.clear();
    const QString text = SameConditionText({Group(1, At(2024, 5, 31)), without}, kTarget,
                                           SameConditionStop{At(2024, 5, 31), 600.0F});
    EXPECT_EQ(text, QStringLiteral("工程名称：一号楼\r\n工程部位：三层梁板\r\n强度等级：C30\r\n成型日期：2024年5月31日\r\n"
                                   "同养：1\r\n截止至2024年6月30日累计温度为：600℃\r\n"
                                   "截止至2024年6月30日同条件养护龄期为30天\r\n\r\n"));
}

TEST(FindSameConditionStop, TheStandardRuleSkipsFrostDaysAndWaitsForFourteenCountedDays)
{
    // Winter: 20 ℃ days, every third day a frost day of −5 ℃ (counted the last of each three).
    QVector<TemperatureRecord> winter = Days(80, 20.0F);
    for (qsizetype i = winter.size() - 1; i >= 0; i -= 3)
        winter[i].mean = -5.0F;
    // Summer: 60 ℃ a day, 600 after 10 days.
    const struct {
        const char* name;
        QVector<TemperatureRecord> records;
        MaturityRule rule;
        int stopDaysBack;
        float sum;
    } cases[] = {
        // Classic: frost lowers the sum, 35 per three days: 595 after 51 days, 610 after 53.
        {"classic winter", winter, MaturityRule::Classic, 53, 610.0F},
        // Standard: frost neither sums nor counts: the 30th valid day lies 44 days back.
        {"standard winter", winter, MaturityRule::Standard2015, 45, 600.0F},
        {"classic summer", Days(40, 60.0F), MaturityRule::Classic, 10, 600.0F},
        {"standard summer waits for day 14", Days(40, 60.0F), MaturityRule::Standard2015, 14, 840.0F},
        {"standard keeps the 60-day cap", Days(90, 5.0F), MaturityRule::Standard2015, 60, 300.0F},
    };
    for (const auto& c : cases) {
        const auto stop = FindSameConditionStop(c.records, c.rule);
        ASSERT_TRUE(stop.has_value()) << c.name;
        EXPECT_EQ(stop->stopDay, AddDays(kTarget, -c.stopDaysBack)) << c.name;
        EXPECT_EQ(stop->sum, c.sum) << c.name;
    }
    EXPECT_EQ(LookBackDays(MaturityRule::Classic), 60);
    EXPECT_EQ(LookBackDays(MaturityRule::Standard2015), 90);
}

TEST(SameConditionText, SaysWhenTheStandardRuleCounted)
{
    const QString text = SameConditionText({Group(1, At(2024, 6, 16))}, kTarget, SameConditionStop{At(2024, 6, 16), 840.0F},
                                           MaturityRule::Standard2015);
    EXPECT_TRUE(text.contains(QStringLiteral("累计温度为：840℃（按GB 50204-2015）\r\n"))) << text.toStdString();
}

class ReminderDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }
    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(ReminderDatabase, ComputesEveryBoxFromTheStoredRows)
{
    Transaction tx(*db);
    // Forecast days after targetDate are stored too but must not count.
    for (int back = 40; back >= -4; --back)
        ASSERT_TRUE(test::InsertTemperature(*db, AddDays(kTarget, -back), back < 0 ? 300.0 : 20.0));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, At(2024, 5, 31, 8, 30), QStringLiteral("同养到期"))));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, At(2024, 6, 1), QStringLiteral("同养未到"))));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, At(2024, 6, 2), QStringLiteral("标养到期"))));  // delivery 30 June
    SpecimenGroup formOnly = Group(0, At(2024, 6, 16), QStringLiteral("拆模到期"));       // delivery 30 June
    formOnly.standardState = kSent;
    ASSERT_TRUE(test::InsertGroup(*db, formOnly));
    for (int i = 1; i <= 10; ++i)
        ASSERT_TRUE(test::InsertGroup(*db, Group(0, At(2023, 1, i), QStringLiteral("旧%1").arg(i))));
    ASSERT_TRUE(tx.commit());

    const Reminders r = ComputeReminders(*db, At(2024, 6, 24, 9), 6);  // targetDate 30 June
    EXPECT_TRUE(r.sameCondition.startsWith(QStringLiteral("工程名称：同养到期\r\n"))) << qPrintable(r.sameCondition);
    EXPECT_TRUE(r.sameCondition.contains(QStringLiteral("累计温度为：600℃")));
    EXPECT_EQ(r.sameCondition.count(QStringLiteral("工程名称")), 1);
    EXPECT_TRUE(r.standard.startsWith(QStringLiteral("工程名称：标养到期\r\n"))) << qPrintable(r.standard);
    EXPECT_EQ(r.standard.count(QStringLiteral("工程名称")), 1);
    EXPECT_TRUE(r.formRemoval.startsWith(QStringLiteral("工程名称：拆模到期\r\n"))) << qPrintable(r.formRemoval);
    EXPECT_EQ(r.formRemoval.count(QStringLiteral("工程名称")), 1);
    EXPECT_EQ(r.recent.count(QStringLiteral("工程名称")), 10);
    EXPECT_TRUE(r.recent.startsWith(QStringLiteral("工程名称：旧10")));
    EXPECT_FALSE(r.recent.contains(QStringLiteral("同养到期")));
}

// With a day missing inside the 61-day window the records run out; older records
// must not stand in for it.
TEST_F(ReminderDatabase, LooksBackNoFurtherThanSixtyDays)
{
    Transaction tx(*db);
    for (int back = 70; back >= 0; --back) {
        if (back != 60) {
            ASSERT_TRUE(test::InsertTemperature(*db, AddDays(kTarget, -back), 5.0));
        }
    }
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, AddDays(kTarget, -60))));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, AddDays(kTarget, -61))));
    ASSERT_TRUE(tx.commit());
    EXPECT_TRUE(ScanSameConditionDue(*db, At(2024, 6, 30, 12), 0).isEmpty());
}

// One day of an older file holds an infinite mean: it is a missing day and adds nothing,
// so the group cast 30 days back has 29 days of 20 ℃ and is not due.
TEST_F(ReminderDatabase, AnInfiniteStoredMeanIsAMissingDay)
{
    Transaction tx(*db);
    for (int back = 40; back >= 0; --back)
        ASSERT_TRUE(test::InsertTemperature(*db, AddDays(kTarget, -back), back == 10 ? 1e39 : 20.0));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, AddDays(kTarget, -30), QStringLiteral("同养未到"))));
    ASSERT_TRUE(test::InsertGroup(*db, Group(0, AddDays(kTarget, -31), QStringLiteral("同养到期"))));
    ASSERT_TRUE(tx.commit());
    const QString text = ScanSameConditionDue(*db, At(2024, 6, 30, 12), 0);
    EXPECT_TRUE(text.startsWith(QStringLiteral("工程名称：同养到期\r\n"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("累计温度为：600℃"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("同养未到")));
}

// The due scan reads only the groups near the reminder days; it must list exactly what a
// scan over every group lists.
TEST_F(ReminderDatabase, DueScanFindsWhatAFullScanFinds)
{
    Transaction tx(*db);
    for (int day = 0; day < 90; ++day) {
        SpecimenGroup g = Group(0, AddDays(At(2024, 4, 1, day % 3 == 0 ? 0 : 17, 30), day));
        g.project = QStringLiteral("第%1天").arg(day);
        ASSERT_TRUE(test::InsertGroup(*db, g));
    }
    ASSERT_TRUE(tx.commit());
    const QVector<SpecimenGroup> all = LoadAllGroups(*db, GroupOrder::ById);
    ASSERT_EQ(all.size(), 90);
    int listed = 0;
    for (int hour : {0, 9, 23}) {
        for (int lead = -2; lead <= 6; ++lead) {
            const QDateTime now = At(2024, 5, 20, hour);
            const DueTexts expected = ScanDueSpecimens(all, now, lead);
            const DueTexts got = ScanDueSpecimens(*db, now, lead);
            EXPECT_EQ(got.standardText, expected.standardText) << hour << " " << lead;
            EXPECT_EQ(got.formRemovalText, expected.formRemovalText) << hour << " " << lead;
            listed += int(!expected.standardText.isEmpty()) + int(!expected.formRemovalText.isEmpty());
        }
    }
    EXPECT_GE(listed, 30);  // the comparison is not between two empty texts
}

TEST_F(ReminderDatabase, FindsNothingInAnEmptyDatabase)
{
    const Reminders r = ComputeReminders(*db, At(2024, 6, 24, 9), 6);
    EXPECT_TRUE(r.standard.isEmpty() && r.formRemoval.isEmpty() && r.sameCondition.isEmpty() && r.recent.isEmpty());
}

} // namespace
} // namespace stolvar
