#include "model/maturity/SameConditionQuery.h"
#include "model/register/GroupStore.h"
#include "model/register/ReminderLog.h"
#include "model/register/ReminderQueries.h"

#include "support/RemindFixtures.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

namespace stolvar {
namespace {

using test::At;
using test::Group;

class ReminderScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }

    // One record a day from `first` for `days` days, each of `mean` unless listed in `frost`.
    void days(const QDate& first, int count, double mean, const QSet<int>& frost = {})
    {
        Transaction tx(*db);
        for (int d = 0; d < count; ++d)
            ASSERT_TRUE(test::InsertTemperature(*db, WallTime(first.addDays(d)), frost.contains(d) ? -2.0 : mean));
        ASSERT_TRUE(tx.commit());
    }

    qint64 add(const SpecimenGroup& g)
    {
        EXPECT_TRUE(test::InsertGroup(*db, g));
        Statement st(*db, QStringLiteral("SELECT max(id) FROM gcxx"));
        return st.next() ? st.integer(0) : -1;
    }

    ReminderScan scan(const QDateTime& now, int lead, CountingRule rule = {}, QDateTime lastMail = {})
    {
        return ScanReminders(*db, {now, lead, rule, lastMail});
    }

    static int Entries(const QString& text) { return int(text.count(QStringLiteral("工程名称："))); }

    test::TempHome home;
    std::shared_ptr<Database> db;
};

// Each group due within the lead time is listed on the first scan that sees it, and on the
// later scans of that day; the next day it is not listed again.
TEST_F(ReminderScanTest, EveryDueGroupIsListedOnceOnTheDayItIsFirstSeen)
{
    scan(At(2024, 5, 1, 8), 3);   // creates the log before the groups exist
    add(Group(0, At(2024, 5, 1), QStringLiteral("甲")));         // standard 29 May
    add(Group(0, At(2024, 5, 1, 17, 40), QStringLiteral("乙")));  // the same day, typed with a time
    const ReminderScan first = scan(At(2024, 5, 26, 9), 3);
    EXPECT_EQ(Entries(first.boxes.standardText), 2);
    EXPECT_LT(first.boxes.standardText.indexOf(QStringLiteral("甲")), first.boxes.standardText.indexOf(QStringLiteral("乙")));
    EXPECT_EQ(scan(At(2024, 5, 26, 15), 3).boxes.standardText, first.boxes.standardText) << "a second scan that day";
    EXPECT_TRUE(scan(At(2024, 5, 27, 9), 3).boxes.standardText.isEmpty()) << "listed once";
}

// The computer was off on the reminder day, or the lead time is longer than the countdown
// once was: the group is listed on the next scan, but never when its day is over 30 days past.
TEST_F(ReminderScanTest, MissedDaysAreCaughtUpWithinThirtyDays)
{
    scan(At(2024, 4, 1, 8), 3);
    add(Group(0, At(2024, 5, 1), QStringLiteral("关机")));        // standard 29 May
    add(Group(0, At(2024, 3, 1), QStringLiteral("太旧")));        // standard 29 March
    const ReminderScan late = scan(At(2024, 6, 3, 9), 4);
    EXPECT_EQ(Entries(late.boxes.standardText), 1);
    EXPECT_TRUE(late.boxes.standardText.contains(QStringLiteral("关机")));
    // A lead time of 4 lists what is due today and tomorrow as well.
    add(Group(0, At(2024, 5, 6), QStringLiteral("今天")));        // standard 3 June
    add(Group(0, At(2024, 5, 7), QStringLiteral("明天")));        // standard 4 June
    EXPECT_EQ(Entries(scan(At(2024, 6, 3, 11), 4).boxes.standardText), 3);
}

// Upgrading a register: the first scan with the log records everything already due before
// the horizon as listed long ago, so nothing old is listed or mailed.
TEST_F(ReminderScanTest, TheFirstScanOfAnUpgradedRegisterListsNothingOld)
{
    ASSERT_TRUE(HasReminderLog(*db)) << "a new register has its log from the start";
    ASSERT_TRUE(db->execute(QStringLiteral("DROP TABLE txjl")));   // a register of an earlier release
    add(Group(0, At(2024, 5, 20), QStringLiteral("已到期")));    // form removal 3 June, standard 17 June
    add(Group(0, At(2024, 5, 24), QStringLiteral("恰好")));      // form removal 7 June = the horizon
    const ReminderScan first = scan(At(2024, 6, 5, 9), 2);
    EXPECT_TRUE(HasReminderLog(*db));
    EXPECT_EQ(Entries(first.boxes.formRemovalText), 1);
    EXPECT_TRUE(first.boxes.formRemovalText.contains(QStringLiteral("恰好")));
    EXPECT_EQ(Entries(first.mail.formRemovalText), 1);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("txjl")), 2) << "the old one as long ago, the new one today";
}

// The three groups a backward walk to one stop day never reported.
TEST_F(ReminderScanTest, SameConditionGroupsOnTheSameDayAWeekendAndBeforeAFrostDay)
{
    scan(At(2024, 3, 1, 8), 0);
    // 20 ℃ a day from 1 April; 5 April (day 4) freezes.
    days(QDate(2024, 4, 1), 60, 20.0, {4});
    add(Group(0, At(2024, 4, 3), QStringLiteral("三日")));
    add(Group(0, At(2024, 4, 4), QStringLiteral("四日")));      // the day before the frost: reaches 600 with 3日
    {
        Statement st(*db, QStringLiteral("DELETE FROM skxx WHERE 养护记录 = ?"));
        ASSERT_TRUE(st.bindAll(WallTime(QDate(2024, 4, 13))).run());   // a weekend without a record
    }
    add(Group(0, At(2024, 4, 13), QStringLiteral("周末")));
    for (const QString& name : {QStringLiteral("三日"), QStringLiteral("四日"), QStringLiteral("周末")}) {
        bool listed = false;
        for (int d = 0; d < 60 && !listed; ++d)
            listed = scan(WallTime(QDate(2024, 4, 1).addDays(d), QTime(9, 0)), 0).boxes.sameConditionText.contains(name);
        EXPECT_TRUE(listed) << qPrintable(name);
    }
    const CountingRule standard{MaturityRule::Standard2015, true};
    add(Group(0, At(2024, 4, 4), QStringLiteral("国标")));
    bool listed = false;
    for (int d = 0; d < 60 && !listed; ++d)
        listed = scan(WallTime(QDate(2024, 4, 1).addDays(d), QTime(9, 0)), 0, standard)
                     .boxes.sameConditionText.contains(QStringLiteral("国标"));
    EXPECT_TRUE(listed);
}

// More groups than the scan computes due days for at a time: every one is listed once, with
// the sum of its own days.
TEST_F(ReminderScanTest, ManyGroupsDueTogetherAreEachListedOnce)
{
    scan(At(2024, 3, 1, 8), 0);
    days(QDate(2024, 4, 1), 60, 20.0);
    {
        Transaction tx(*db);
        for (int i = 0; i < 600; ++i)
            add(Group(0, At(2024, 4, 2 + i % 2), QStringLiteral("楼%1号").arg(i)));   // 600 ℃·d on 2 or 3 May
        ASSERT_TRUE(tx.commit());
    }
    const ReminderScan s = scan(At(2024, 5, 3, 9), 0);
    ASSERT_TRUE(s.error.isEmpty()) << qPrintable(s.error);
    EXPECT_EQ(Entries(s.boxes.sameConditionText), 600);
    EXPECT_EQ(int(s.boxes.sameConditionText.count(QStringLiteral("累计温度为：600"))), 600);
    for (int i : {0, 255, 256, 511, 512, 599})
        EXPECT_EQ(int(s.boxes.sameConditionText.count(QStringLiteral("楼%1号").arg(i))), 1) << i;
    EXPECT_EQ(Entries(scan(At(2024, 5, 3, 10), 0).boxes.sameConditionText), 600) << "the same day";
    EXPECT_EQ(Entries(scan(At(2024, 5, 4, 9), 0).boxes.sameConditionText), 0) << "listed once";
}

// Table 1 and the scan name the same day: listed on that day with lead 0, not the day before.
TEST_F(ReminderScanTest, TheScanAndTable1NameTheSameDay)
{
    scan(At(2024, 3, 1, 8), 0);
    days(QDate(2024, 4, 1), 60, 17.5);
    add(Group(0, At(2024, 4, 2), QStringLiteral("同养")));
    const CountingRule rule{};
    const MaturityResult table1 = ComputeTable1(db.get(), At(2024, 4, 2), rule);
    ASSERT_TRUE(table1.ok());
    const QDate dueDay = table1.summary.days.constLast().day.date();
    EXPECT_TRUE(scan(WallTime(dueDay.addDays(-1), QTime(9, 0)), 0).boxes.sameConditionText.isEmpty());
    const QString text = scan(WallTime(dueDay, QTime(9, 0)), 0).boxes.sameConditionText;
    EXPECT_TRUE(text.contains(QStringLiteral("同养"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("累计温度为：") + FormatNumber(table1.summary.accumulated)));
}

// The mail names what was listed after the last mail was composed: a group first listed
// after today's mail goes out with tomorrow's.
TEST_F(ReminderScanTest, TheMailNamesWhatWasListedSinceTheLastMail)
{
    scan(At(2024, 5, 1, 8), 3);
    add(Group(0, At(2024, 5, 1), QStringLiteral("早")));
    const ReminderScan morning = scan(At(2024, 5, 26, 8), 3);
    EXPECT_EQ(Entries(morning.mail.standardText), 1);
    const QDateTime mailed = At(2024, 5, 26, 8, 0);
    add(Group(0, At(2024, 5, 1), QStringLiteral("晚")));
    const ReminderScan afternoon = scan(At(2024, 5, 26, 15), 3, {}, mailed);
    EXPECT_EQ(Entries(afternoon.boxes.standardText), 2);
    EXPECT_EQ(Entries(afternoon.mail.standardText), 1);
    EXPECT_TRUE(afternoon.mail.standardText.contains(QStringLiteral("晚")));
    const ReminderScan tomorrow = scan(At(2024, 5, 27, 8), 3, {}, mailed);
    EXPECT_TRUE(tomorrow.boxes.standardText.isEmpty());
    EXPECT_EQ(Entries(tomorrow.mail.standardText), 1) << "the late one goes with tomorrow's mail";
}

TEST_F(ReminderScanTest, ADeletedGroupTakesItsLogRowsAlong)
{
    scan(At(2024, 5, 1, 8), 3);
    add(Group(0, At(2024, 5, 1), QStringLiteral("删")));
    SpecimenGroup kept = Group(0, At(2024, 5, 1), QStringLiteral("留"));
    add(kept);
    scan(At(2024, 5, 26, 9), 3);
    const auto orphans = [this] {
        Statement st(*db, QStringLiteral("SELECT count(*) FROM txjl WHERE 试块编号 NOT IN (SELECT id FROM gcxx)"));
        return st.next() ? st.integer(0) : -1;
    };
    const int before = test::CountRows(*db, QStringLiteral("txjl"));
    ASSERT_EQ(before, 4) << "standard and form removal of each";
    EXPECT_EQ(DeleteProject(*db, QStringLiteral("删")), WriteResult::Done);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("txjl")), 2);
    EXPECT_EQ(orphans(), 0);
    EXPECT_EQ(DeleteGroup(*db, QStringLiteral("留"), kept.position), WriteResult::Done);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("txjl")), 0);
}

// A read-only register is scanned as before, without a log: nothing is written.
TEST_F(ReminderScanTest, AReadOnlyRegisterIsScannedWithoutRecording)
{
    ASSERT_TRUE(db->execute(QStringLiteral("DROP TABLE txjl")));   // a file of an earlier release
    add(Group(0, At(2024, 5, 1), QStringLiteral("只读")));
    const QString path = db->path();
    db.reset();
    auto readOnly = Database::OpenReadOnly(path);
    ASSERT_TRUE(readOnly);
    const ReminderScan r = ScanReminders(*readOnly, {At(2024, 5, 26, 9), 3, {}, {}});
    EXPECT_TRUE(r.error.isEmpty()) << qPrintable(r.error);
    EXPECT_EQ(Entries(r.boxes.standardText), 1);
    EXPECT_FALSE(HasReminderLog(*readOnly));
}

TEST_F(ReminderScanTest, FindsNothingInAnEmptyRegister)
{
    const ReminderScan r = scan(At(2024, 6, 24, 9), 6);
    EXPECT_TRUE(r.boxes.isEmpty() && r.mail.isEmpty() && r.error.isEmpty());
    EXPECT_TRUE(ListRecentPours(*db).isEmpty());
}

} // namespace
} // namespace stolvar
