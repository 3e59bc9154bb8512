#include "model/register/GroupStore.h"
#include "model/register/ProjectTree.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

TEST(ProjectTreeTest, NodesKnowTheirProjectAndPlace)
{
    ProjectTree tree;
    tree.appendProject(u"乙");
    tree.appendPosition(u"一层梁");
    tree.appendPosition(u"");
    tree.appendProject(u"");   // a project without positions
    tree.appendProject(u"甲");
    tree.appendPosition(u"基础");
    struct Node {
        const char* text;
        int project;
        bool isProject;
    };
    const Node expected[] = {{"乙", 0, true}, {"一层梁", 0, false}, {"", 0, false},
                             {"", 1, true},   {"甲", 2, true},      {"基础", 2, false}};
    ASSERT_EQ(tree.nodeCount(), 6);
    for (int node = 0; node < 6; ++node) {
        EXPECT_EQ(tree.text(node), QString::fromUtf8(expected[node].text)) << node;
        EXPECT_EQ(tree.projectOf(node), expected[node].project) << node;
        EXPECT_EQ(tree.isProject(node), expected[node].isProject) << node;
    }
    ASSERT_EQ(tree.projectCount(), 3);
    EXPECT_EQ(tree.positionCount(0), 2);
    EXPECT_EQ(tree.positionCount(1), 0);
    EXPECT_EQ(tree.positionCount(2), 1);
    EXPECT_EQ(tree.projectNode(2), 4);
}

// The compact tree read from the register lists the same nodes in the same order as the
// project list, including a NULL project, which stands alone without positions.
TEST(ProjectTreeTest, CompactTreeFromTheRegisterMatchesTheProjectList)
{
    test::TempHome home;
    auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(db);
    test::InsertGroup(*db, "A", "a2", Day(2017, 3, 2));
    test::InsertGroup(*db, QVariant(), "x", Day(2017, 3, 3));
    test::InsertGroup(*db, "B", "b1", Day(2017, 3, 9));
    test::InsertGroup(*db, "a", "a1", Day(2017, 3, 1));
    const ProjectTree tree = LoadCompactProjectTree(*db);
    QStringList texts;
    for (int node = 0; node < tree.nodeCount(); ++node)
        texts << (tree.isProject(node) ? QStringLiteral("+") : QStringLiteral("-")) + tree.text(node);
    // "a" is read before "A" and names the project; the NULL project sorts last.
    EXPECT_EQ(texts, QStringList({"+B", "-b1", "+a", "-a1", "-a2", "+"}));
    QStringList fromList;
    for (const ProjectNode& project : LoadProjectTree(*db)) {
        fromList << QStringLiteral("+") + project.name;
        for (const QString& position : project.positions)
            fromList << QStringLiteral("-") + position;
    }
    EXPECT_EQ(fromList, texts);
}

} // namespace
} // namespace stolvar
