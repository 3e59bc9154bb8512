#include "db/ProjectSummary.h"
#include "model/register/GroupStore.h"
#include "model/register/ProjectOutline.h"
#include "model/register/ProjectTreeUpdate.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

#include <functional>

namespace stolvar {
namespace {

using test::Day;

// Every node as text, projects marked "+" (the one of the rows without a name "+NULL"),
// positions "-": two trees that print alike show the same nodes in the same order.
QStringList Nodes(const ProjectTree& tree)
{
    QStringList nodes;
    for (int node = 0; node < tree.nodeCount(); ++node) {
        if (!tree.isProject(node))
            nodes << QStringLiteral("-") + tree.text(node);
        else if (tree.projectOf(node) == tree.nullProject())
            nodes << QStringLiteral("+NULL");
        else
            nodes << QStringLiteral("+") + tree.text(node);
    }
    return nodes;
}

// Reads the positions of every project not read yet, as the view does when it shows them.
void ReadEveryProject(const Database& db, ProjectTree& tree)
{
    for (int p = 0; p < tree.projectCount(); ++p) {
        if (tree.positionsRead(p))
            continue;
        const std::optional<QStringList> names = ReadPositionNames(db, tree, p);
        ASSERT_TRUE(names);
        tree.setPositionNames(p, *names);
    }
}

SpecimenGroup Group(const QString& project, const QString& position, const QDateTime& casting)
{
    SpecimenGroup g;
    g.project = project;
    g.position = position;
    g.grade = QStringLiteral("C30");
    g.castingDate = casting;
    g.standardCount = QStringLiteral("1");
    return g;
}

// Projects whose names sound alike (gong cheng, in four spellings), one named with Latin
// letters in two cases, one with an empty name next to the rows without a name (both
// show as an empty node and collate alike), and positions out of date order.
class ProjectTreeUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
        const struct {
            QVariant project;
            const char* position;
            int day;
        } rows[] = {{"工程", "二层", 5},  {"公程", "基础", 2},  {"攻城", "一层", 9}, {"工程", "一层", 3},
                    {"a", "a1", 4},       {"A", "a2", 1},       {QVariant(), "x", 6}, {"", "无名", 7},
                    {"工成", "三层", 8}, {"乙", "一层梁", 10}, {QVariant(), "y", 11}};
        for (const auto& row : rows)
            ASSERT_TRUE(test::InsertGroup(*db, row.project, QString::fromUtf8(row.position), Day(2017, 3, row.day)));
        tree = LoadProjectOutline(*db);
    }

    // Runs an edit on the register, updates the tree (whose untouched projects stay unread)
    // in place for the named projects and compares it with the tree read whole; the outline
    // read afresh numbers the same nodes before any position is read.
    void expectLikeARebuild(const char* what, const std::function<WriteResult(Database&)>& edit,
                            const QStringList& projects)
    {
        ASSERT_EQ(edit(*db), WriteResult::Done) << what;
        PlainTreeEdits edits(tree);
        ASSERT_TRUE(RefreshProjects(*db, edits, projects)) << what;
        const ProjectTree rebuilt = LoadCompactProjectTree(*db);
        // The outline from the register's summary of projects, and from the index of names
        // where the summary is not to be trusted.
        EXPECT_TRUE(ProjectSummaryAgrees(*db)) << what;
        ProjectTree outline = LoadProjectOutline(*db);
        const auto distrusting = db->openSibling();
        distrusting->distrustProjectSummary();
        ProjectTree counted = LoadProjectOutline(*distrusting);
        for (const ProjectTree* t : {&tree, &outline, &counted}) {
            ASSERT_EQ(t->projectCount(), rebuilt.projectCount()) << what;
            ASSERT_EQ(t->nodeCount(), rebuilt.nodeCount()) << what;
            for (int p = 0; p < rebuilt.projectCount(); ++p) {
                EXPECT_EQ(t->projectNode(p), rebuilt.projectNode(p)) << what << " project " << p;
                EXPECT_EQ(t->text(t->projectNode(p)), rebuilt.text(rebuilt.projectNode(p))) << what;
            }
            EXPECT_EQ(t->nullProject(), rebuilt.nullProject()) << what;
        }
        ProjectTree shown = tree;
        ReadEveryProject(*db, shown);
        EXPECT_EQ(Nodes(shown), Nodes(rebuilt)) << what;
        ReadEveryProject(*db, outline);
        EXPECT_EQ(Nodes(outline), Nodes(rebuilt)) << what;
        ReadEveryProject(*db, counted);
        EXPECT_EQ(Nodes(counted), Nodes(rebuilt)) << what;
    }

    test::TempHome home;
    std::shared_ptr<Database> db;
    ProjectTree tree;
};

TEST_F(ProjectTreeUpdateTest, EveryKindOfEditLeavesTheTreeAsARebuildWould)
{
    ASSERT_GE(tree.nullProject(), 0);
    {
        ProjectTree read = tree;
        ReadEveryProject(*db, read);
        ASSERT_EQ(Nodes(read), Nodes(LoadCompactProjectTree(*db)));
        EXPECT_EQ(read.text(read.projectNode(read.findProject(u"a"))), "A") << "named as its first row spells it";
    }
    const auto add = [](const char* project, const char* position, int day) {
        return [=](Database& d) {
            return AddGroup(d, Group(QString::fromUtf8(project), QString::fromUtf8(position), Day(2017, 3, day)));
        };
    };
    expectLikeARebuild("a position dated between two others", add("工程", "一层半", 4), {"工程"});
    expectLikeARebuild("a position dated before all", add("工程", "垫层", 1), {"工程"});
    expectLikeARebuild("a new project that sounds like others", add("功成", "基础", 12), {"功成"});
    expectLikeARebuild("a new project of an existing name's sound and first", add("宫城", "桩", 1), {"宫城"});
    expectLikeARebuild("a position under the empty name", add("", "又一个", 2), {""});
    expectLikeARebuild("a position in another spelling of a Latin name", add("A", "a3", 2), {"A"});
    expectLikeARebuild("a renamed project", [](Database& d) { return RenameProject(d, "攻城", "公城"); },
                       {"攻城", "公城"});
    expectLikeARebuild("a project renamed in another case only", [](Database& d) { return RenameProject(d, "a", "A"); },
                       {"a", "A"});
    expectLikeARebuild("a project merged into another", [](Database& d) { return RenameProject(d, "工成", "工程"); },
                       {"工成", "工程"});
    expectLikeARebuild("a moved group", [](Database& d) { return ChangePosition(d, "工程", "二层", "二层顶"); },
                       {"工程"});
    expectLikeARebuild("a group dated anew", [](Database& d) { return ChangeCastingDate(d, "工程", "一层", Day(2017, 4, 1)); },
                       {"工程"});
    expectLikeARebuild("a deleted group", [](Database& d) { return DeleteGroup(d, "工程", "垫层"); }, {"工程"});
    expectLikeARebuild("the last group of a project", [](Database& d) { return DeleteGroup(d, "乙", "一层梁"); }, {"乙"});
    expectLikeARebuild("a deleted project", [](Database& d) { return DeleteProject(d, "公程"); }, {"公程"});
    expectLikeARebuild("the empty name's last groups",
                       [](Database& d) {
                           DeleteGroup(d, "", "无名");
                           return DeleteGroup(d, "", "又一个");
                       },
                       {""});
    expectLikeARebuild("the empty name back after the rows without a name", add("", "再来", 20), {""});
    // The rows without a name stay where they were and are never taken for the empty name.
    EXPECT_EQ(tree.text(tree.projectNode(tree.nullProject())), "");
    EXPECT_EQ(tree.positionCount(tree.nullProject()), 0);
}

// The tree's own edits keep every node's text and place, including the text buffer ends
// of the nodes after the edit.
TEST(ProjectTreeEditTest, InsertingAndRemovingAProjectMovesTheNodesAfterIt)
{
    ProjectTree tree;
    tree.appendProject(u"乙");
    tree.appendPosition(u"一层梁");
    tree.appendProject(u"");
    tree.markNullProject();
    tree.appendProject(u"甲");
    tree.appendPosition(u"基础");
    tree.insertProject(1, u"丙", {"二层", ""});
    EXPECT_EQ(Nodes(tree), QStringList({"+乙", "-一层梁", "+丙", "-二层", "-", "+NULL", "+甲", "-基础"}));
    EXPECT_EQ(tree.nullProject(), 2);
    EXPECT_EQ(tree.findProject(u"甲"), 3);
    EXPECT_EQ(tree.findProject(u""), -1) << "the rows without a name are no project of an empty name";
    tree.removeProject(0);
    EXPECT_EQ(Nodes(tree), QStringList({"+丙", "-二层", "-", "+NULL", "+甲", "-基础"}));
    tree.removeProject(1);
    EXPECT_EQ(tree.nullProject(), -1);
    tree.insertProject(2, u"Ab", {});
    EXPECT_EQ(Nodes(tree), QStringList({"+丙", "-二层", "-", "+甲", "-基础", "+Ab"}));
    EXPECT_EQ(tree.findProject(u"aB"), 2) << "ASCII case aside";
    EXPECT_EQ(tree.positionCount(2), 0);
}

// Positions counted but not read take their names later; the texts of every node after
// them move along, and a list of the wrong length never changes the nodes.
TEST(ProjectTreeEditTest, PositionsReadLaterFitTheirCountedNodes)
{
    ProjectTree tree;
    tree.appendUnreadProject(u"乙", 2);
    tree.appendUnreadProject(u"丙", 1);
    tree.appendUnreadProject(u"", 0);
    tree.markNullProject();
    tree.appendUnreadProject(u"甲", 3);
    EXPECT_EQ(Nodes(tree), QStringList({"+乙", "-", "-", "+丙", "-", "+NULL", "+甲", "-", "-", "-"}));
    EXPECT_FALSE(tree.positionsRead(0));
    EXPECT_TRUE(tree.positionsRead(2)) << "nothing to read";
    tree.setPositionNames(1, {"二层"});
    tree.setPositionNames(3, {"基础", "一层", "二层", "多余"});
    EXPECT_EQ(Nodes(tree), QStringList({"+乙", "-", "-", "+丙", "-二层", "+NULL", "+甲", "-基础", "-一层", "-二层"}));
    tree.setPositionNames(0, {"一层梁"});
    EXPECT_EQ(Nodes(tree), QStringList({"+乙", "-一层梁", "-", "+丙", "-二层", "+NULL", "+甲", "-基础", "-一层", "-二层"}));
    tree.setPositionNames(0, {"again"});
    EXPECT_EQ(tree.text(1), "一层梁") << "read once";
    EXPECT_EQ(tree.projectsNamedLike("甲"), QVector<int>({3}));
    EXPECT_EQ(tree.findPositionIn(3, "一层"), 8);
    tree.insertProject(1, u"丁", {"桩"});
    tree.removeProject(0);
    EXPECT_TRUE(tree.positionsRead(0));
    EXPECT_EQ(Nodes(tree), QStringList({"+丁", "-桩", "+丙", "-二层", "+NULL", "+甲", "-基础", "-一层", "-二层"}));
}

} // namespace
} // namespace stolvar
