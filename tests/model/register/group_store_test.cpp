#include "model/register/GroupStore.h"
#include "db/Schema.h"
#include "model/maturity/StatusTexts.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

class GroupStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file("p.dat"));
        ASSERT_TRUE(db);
    }
    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(GroupStoreTest, TreeListsProjectsDescendingAndPositionsBySamplingDate)
{
    test::InsertGroup(*db, "A", "a2", Day(2017, 3, 2));
    test::InsertGroup(*db, "C", "c1", Day(2017, 3, 1));
    test::InsertGroup(*db, "B", "b1", Day(2017, 3, 9));
    test::InsertGroup(*db, "A", "a1", Day(2017, 3, 1));
    test::InsertGroup(*db, "a", "a3", Day(2017, 3, 5));   // the same project: names ignore ASCII case
    const QVector<ProjectNode> tree = LoadProjectTree(*db);
    ASSERT_EQ(tree.size(), 3);
    EXPECT_EQ(tree[0].name, "C");
    EXPECT_EQ(tree[1].name, "B");
    EXPECT_EQ(tree[2].name, "A");
    EXPECT_EQ(tree[2].positions, QStringList({"a1", "a2", "a3"}));
}

// Pages the tree read takes from the file (each one decrypted), on a fresh connection.
int PagesReadForTree(const QString& path)
{
    auto fresh = Database::Open(path);
    EXPECT_TRUE(fresh);
    if (!fresh)
        return -1;
    LoadCompactProjectTree(*fresh);
    int misses = 0, highWater = 0;
    sqlite3_db_status(fresh->handle(), SQLITE_DBSTATUS_CACHE_MISS, &misses, &highWater, 0);
    return misses;
}

// The start-up waits for the tree: a register written by an earlier version gains the
// index that serves it, and the tree is then read from far fewer pages than the rows.
TEST_F(GroupStoreTest, TheTreeIsReadFromItsIndexNotTheRows)
{
    {
        Transaction tx(*db);
        for (int i = 0; i < 1500; ++i) {
            ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("第%1号工程").arg(i / 10),
                                          QStringLiteral("第%1层梁板柱及楼梯").arg(i % 10), Day(2017, 1, 1).addDays(i % 300)));
        }
        ASSERT_TRUE(tx.commit());
    }
    ASSERT_TRUE(db->execute(QStringLiteral("DROP INDEX gcxx_树形")));   // as an earlier version left it
    const QString path = home.file("p.dat");
    const int fromRows = PagesReadForTree(path);
    ASSERT_TRUE(EnsureIndexes(*db));
    const int fromIndex = PagesReadForTree(path);
    EXPECT_LT(fromIndex * 3, fromRows * 2) << fromIndex << " pages from the index, " << fromRows << " without it";
    EXPECT_EQ(LoadCompactProjectTree(*db).nodeCount(), 150 + 1500);
}

TEST_F(GroupStoreTest, ChineseProjectsSortByPinyinDescending)
{
    for (const char* name : {"安阳", "郑州", "北京"})
        test::InsertGroup(*db, QString::fromUtf8(name), "1", Day(2017, 3, 1));
    const QVector<ProjectNode> tree = LoadProjectTree(*db);
    ASSERT_EQ(tree.size(), 3);
    EXPECT_EQ(tree[0].name, QString::fromUtf8("郑州"));   // zheng
    EXPECT_EQ(tree[1].name, QString::fromUtf8("北京"));   // bei
    EXPECT_EQ(tree[2].name, QString::fromUtf8("安阳"));   // an
}

TEST_F(GroupStoreTest, QuotesAndWildcardsAreStoredAndFoundAsTyped)
{
    const QString project = "O'Neil -- 50%_楼";
    SpecimenGroup g;
    g.project = project;
    g.position = "梁'1_%";
    g.castingDate = Day(2017, 3, 1);
    ASSERT_EQ(AddGroup(*db, g), WriteResult::Done);
    g.position = "梁X1a";
    ASSERT_EQ(AddGroup(*db, g), WriteResult::Done);
    EXPECT_EQ(LoadGroups(*db, project, QString("梁'1_%")).size(), 1);
    const QVector<SpecimenGroup> literal = LoadGroupsMatching(*db, project, "1_%");
    ASSERT_EQ(literal.size(), 1);   // % and _ match only themselves
    EXPECT_EQ(literal[0].position, "梁'1_%");
    EXPECT_EQ(LoadGroupsMatching(*db, project, "梁").size(), 2);
    EXPECT_EQ(LoadGroupsMatching(*db, "other", "梁").size(), 0);
}

// A position held by several rows shows the last of them as LoadGroups orders them: by
// casting date (a row without one first), then by id.
TEST_F(GroupStoreTest, TheLastGroupOfAPositionHeldTwiceIsTheLastInCastingOrder)
{
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 5), kNotSent, kNotSent, "C40");
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 9), kNotSent, kNotSent, "C50");
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 1), kNotSent, kNotSent, "C20");
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 9), kNotSent, kNotSent, "C60");   // same day, later id
    test::InsertGroup(*db, "P", "s", QDateTime(), kNotSent, kNotSent, "C10");
    test::InsertGroup(*db, "P", "t", Day(2017, 4, 1), kNotSent, kNotSent, "C70");
    test::InsertGroup(*db, "Q", "s", Day(2017, 5, 1), kNotSent, kNotSent, "C80");
    const std::optional<SpecimenGroup> last = LoadLastGroup(*db, "P", "s");
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->grade, "C60");
    const QVector<SpecimenGroup> all = LoadGroups(*db, "P", QString("s"));
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all.first().grade, "C10");
    EXPECT_EQ(all.last().grade, last->grade);
    EXPECT_FALSE(LoadLastGroup(*db, "P", "P").has_value());   // a project node has no group
    EXPECT_FALSE(LoadLastGroup(*db, "P", "none").has_value());
}

TEST_F(GroupStoreTest, AddRefusesAnExistingPositionOfTheSameProjectOnly)
{
    SpecimenGroup g;
    g.project = "一号楼";
    g.position = "基础";
    g.castingDate = Day(2017, 3, 1);
    ASSERT_EQ(AddGroup(*db, g), WriteResult::Done);
    EXPECT_EQ(AddGroup(*db, g), WriteResult::Duplicate);
    g.project = "二号楼";
    EXPECT_EQ(AddGroup(*db, g), WriteResult::Done);
    const QVector<SpecimenGroup> rows = LoadGroups(*db, "一号楼");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].standardState, kNotSent);
    EXPECT_EQ(rows[0].sameState, kNotSent);
    EXPECT_EQ(rows[0].castingDate, Day(2017, 3, 1));
}

TEST_F(GroupStoreTest, EditsChangeOnlyTheirRows)
{
    test::InsertGroup(*db, "P", "s1", Day(2017, 3, 1));
    test::InsertGroup(*db, "P", "s2", Day(2017, 3, 2));
    test::InsertGroup(*db, "Q", "s1", Day(2017, 3, 3));
    EXPECT_EQ(RenameProject(*db, "P", "R"), WriteResult::Done);
    EXPECT_EQ(LoadGroups(*db, "R").size(), 2);
    EXPECT_EQ(ChangePosition(*db, "R", "s1", "s2"), WriteResult::Duplicate);
    EXPECT_EQ(ChangePosition(*db, "R", "s1", "s3"), WriteResult::Done);
    EXPECT_EQ(ChangeGrade(*db, "R", "s3", "C40"), WriteResult::Done);
    EXPECT_EQ(ChangeCastingDate(*db, "R", "s3", Day(2017, 3, 5)), WriteResult::Done);
    EXPECT_EQ(ChangeCounts(*db, "R", "s3", "2", "", ""), WriteResult::Done);
    const SpecimenGroup s3 = LoadGroups(*db, "R", QString("s3")).value(0);
    EXPECT_EQ(s3.grade, "C40");
    EXPECT_EQ(s3.castingDate, Day(2017, 3, 5));
    EXPECT_EQ(s3.standardCount, "2");
    EXPECT_EQ(s3.sameCount, "");
    EXPECT_EQ(LoadGroups(*db, "Q", QString("s1")).value(0).grade, "C30");
    EXPECT_EQ(ChangeGrade(*db, "R", "nothing", "C40"), WriteResult::NoRow);
    EXPECT_EQ(CountProjectGroups(*db, "R"), 2);   // what the question before deleting names
    EXPECT_EQ(DeleteProject(*db, "R"), WriteResult::Done);
    EXPECT_EQ(CountProjectGroups(*db, "R"), 0);
    EXPECT_EQ(test::CountRows(*db, "gcxx"), 1);
}

TEST_F(GroupStoreTest, StatesChangeTheFirstMatchingRowAndReadBack)
{
    test::InsertGroup(*db, "P", "s", Day(2017, 3, 1));
    EXPECT_EQ(SetStandardState(*db, "P", "s", kSent).value_or("none"), kSent);
    EXPECT_EQ(SetSameConditionState(*db, "P", "s", kSent).value_or("none"), kSent);
    EXPECT_FALSE(SetSameConditionState(*db, "P", "P", kSent).has_value());   // a project node matches no row
    EXPECT_EQ(LoadGroups(*db, "P").value(0).standardState, kSent);
}

TEST_F(GroupStoreTest, RowsWithoutKeyAreCountedAndDeletedTogether)
{
    test::InsertGroup(*db, QVariant(), "s", Day(2017, 3, 1));
    test::InsertGroup(*db, "P", QVariant(), Day(2017, 3, 1));
    test::InsertGroup(*db, "P", "", Day(2017, 3, 1));
    test::InsertGroup(*db, "P", "kept", Day(2017, 3, 1));
    EXPECT_EQ(CountRowsWithoutKey(*db), 3);
    EXPECT_EQ(DeleteRowsWithoutKey(*db), WriteResult::Done);
    EXPECT_EQ(test::CountRows(*db, "gcxx"), 1);
}

// Panel and list count calendar days to the one due day, casting + 28: the day before it is
// one day ahead, the day itself "today", the day after expired; no time of day shifts it.
TEST(StatusTexts, PanelAndListNameTheSameDueDayByCalendarDays)
{
    SpecimenGroup g;
    g.castingDate = Day(2017, 3, 1, 16, 30);   // typed with a time of day
    g.standardState = kNotSent;
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 27, 10)).remaining, "还有2天达到龄期");
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 28, 0)).remaining, "还有1天达到龄期");
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 28, 23, 59)).remaining, "还有1天达到龄期");
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 29, 0, 1)).remaining, "今天达到龄期");
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 30, 8)).remaining, "该试块已过期");
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 3, 28, 10)).dueDate, "2017年3月29日");
    EXPECT_EQ(StandardListRow(g, Day(2017, 3, 28, 10))[5], "1天");
    EXPECT_EQ(StandardListRow(g, Day(2017, 3, 29, 10))[5], "今天到期");
    EXPECT_EQ(StandardListRow(g, Day(2017, 3, 30, 0))[5], "已过期");
    EXPECT_EQ(StandardListRow(g, Day(2017, 3, 29, 10))[4], "2017年3月29日");

    g.castingDate = Day(2017, 5, 10);   // sampled today
    EXPECT_EQ(StatusPanelTexts(g, Day(2017, 5, 10, 9)).remaining, "还有28天达到龄期");
    EXPECT_EQ(StandardListRow(g, Day(2017, 5, 10, 9))[5], "28天");
}

// Two groups of one project/position would show as one tree node: a rename that would
// merge two projects with a position in common is refused and changes nothing.
TEST_F(GroupStoreTest, RenameOntoAProjectWithTheSamePositionsIsRefused)
{
    test::InsertGroup(*db, "P", "s1", Day(2017, 3, 1));
    test::InsertGroup(*db, "P", "s2", Day(2017, 3, 2));
    test::InsertGroup(*db, "P", "s3", Day(2017, 3, 4));
    test::InsertGroup(*db, "Q", "S2", Day(2017, 3, 3));   // positions ignore ASCII case
    test::InsertGroup(*db, "Q", "s3", Day(2017, 3, 5));
    test::InsertGroup(*db, "R", "r1", Day(2017, 3, 6));
    EXPECT_EQ(PositionsInBoth(*db, "P", "q"), QStringList({"s2", "s3"}));
    EXPECT_EQ(RenameProject(*db, "P", "q"), WriteResult::Duplicate);
    EXPECT_EQ(LoadGroups(*db, "P").size(), 3);
    EXPECT_EQ(LoadGroups(*db, "Q").size(), 2);

    EXPECT_TRUE(IsOtherExistingProject(*db, "P", "R"));
    EXPECT_TRUE(PositionsInBoth(*db, "P", "R").isEmpty());
    EXPECT_EQ(RenameProject(*db, "P", "R"), WriteResult::Done);   // no collision: the two merge
    EXPECT_EQ(LoadGroups(*db, "R").size(), 4);

    EXPECT_FALSE(IsOtherExistingProject(*db, "R", "r"));   // the same project spelled otherwise
    EXPECT_TRUE(PositionsInBoth(*db, "R", "r").isEmpty());
    EXPECT_EQ(RenameProject(*db, "R", "r"), WriteResult::Done);
    EXPECT_FALSE(IsOtherExistingProject(*db, "r", "New"));
}

} // namespace
} // namespace stolvar
