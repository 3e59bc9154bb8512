#include "register/ProjectTreeModel.h"
#include "register/ProjectTreeView.h"

#include <QFont>
#include <QIcon>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

ProjectTree SampleTree()
{
    ProjectTree tree;
    tree.appendProject(u"乙");
    tree.appendPosition(u"一层梁");
    tree.appendPosition(u"二层梁");
    tree.appendProject(u"丙");   // no positions
    tree.appendProject(u"甲");
    tree.appendPosition(u"基础");
    return tree;
}

// Walking the model as a view does (rows under their parents) meets the nodes in their
// counted order, and every index maps back to its node.
TEST(ProjectTreeModelTest, WalkingTheModelCountsTheNodesInOrder)
{
    ProjectTreeModel model;
    model.setTree(SampleTree());
    QStringList walked;
    QList<int> nodes;
    for (int p = 0; p < model.rowCount(); ++p) {
        const QModelIndex project = model.index(p, 0);
        EXPECT_FALSE(model.parent(project).isValid());
        walked << project.data().toString();
        nodes << model.nodeOf(project);
        for (int c = 0; c < model.rowCount(project); ++c) {
            const QModelIndex position = model.index(c, 0, project);
            EXPECT_EQ(model.parent(position), project);
            EXPECT_EQ(model.rowCount(position), 0);
            walked << position.data().toString();
            nodes << model.nodeOf(position);
        }
    }
    EXPECT_EQ(walked, QStringList({"乙", "一层梁", "二层梁", "丙", "甲", "基础"}));
    EXPECT_EQ(nodes, QList<int>({0, 1, 2, 3, 4, 5}));
    for (int node = 0; node < 6; ++node)
        EXPECT_EQ(model.nodeOf(model.indexOfNode(node)), node);
    EXPECT_FALSE(model.indexOfNode(6).isValid());
    EXPECT_FALSE(model.indexOfNode(-1).isValid());
    EXPECT_EQ(model.nodeOf({}), -1);
    EXPECT_FALSE(model.index(3, 0).isValid());
    EXPECT_FALSE(model.index(0, 1).isValid());
}

// A project counted but not read has its positions read once, when one of them is first
// asked for (shown, searched, or named by its node); a failed read leaves them to the
// next request.
TEST(ProjectTreeModelTest, PositionsAreReadWhenFirstAskedFor)
{
    ProjectTree outline;
    outline.appendUnreadProject(u"乙", 2);
    outline.appendUnreadProject(u"甲", 1);
    ProjectTreeModel model;
    QStringList reads;
    bool failing = true;
    model.setPositionReader([&](const ProjectTree& tree, int project) -> std::optional<QStringList> {
        reads << tree.text(tree.projectNode(project));
        if (failing)
            return std::nullopt;
        return project == 0 ? QStringList{"一层梁", "二层梁"} : QStringList{"基础"};
    });
    model.setTree(outline);
    const QModelIndex first = model.index(0, 0);
    EXPECT_EQ(model.rowCount(first), 2) << "counted without reading";
    EXPECT_EQ(first.data().toString(), "乙");
    EXPECT_TRUE(reads.isEmpty());
    EXPECT_EQ(model.index(1, 0, first).data().toString(), "");
    failing = false;
    EXPECT_EQ(model.index(1, 0, first).data().toString(), "二层梁");
    EXPECT_EQ(model.nodeText(1), "一层梁");
    EXPECT_EQ(reads, QStringList({"乙", "乙"}));
    EXPECT_EQ(model.findPosition("甲", "基础"), 4);
    EXPECT_EQ(model.findPosition("甲", "桩"), -1);
    EXPECT_EQ(reads, QStringList({"乙", "乙", "甲"}));
}

TEST(ProjectTreeModelTest, ProjectsAreBoldWithAFolderIconPositionsPlainWithAFileIcon)
{
    ProjectTreeModel model;
    model.setTree(SampleTree());
    const QModelIndex project = model.indexOfNode(0);
    const QModelIndex position = model.indexOfNode(1);
    EXPECT_TRUE(project.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(position.data(Qt::FontRole).isValid());
    const QIcon folder = project.data(Qt::DecorationRole).value<QIcon>();
    const QIcon file = position.data(Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(folder.isNull());
    EXPECT_FALSE(file.isNull());
    EXPECT_NE(folder.cacheKey(), file.cacheKey());
    EXPECT_EQ(model.indexOfNode(3).data(Qt::DecorationRole).value<QIcon>().cacheKey(), folder.cacheKey());
}

// A register of everyday size shows every project expanded, also one an edit puts in; a
// very large one shows its projects collapsed, and its ids keep parents right as
// projects come and go before them.
TEST(ProjectTreeViewTest, SmallTreesShowEveryProjectExpandedLargeOnesCollapsed)
{
    QTreeView view;
    ProjectTreeModel model;
    view.setModel(&model);
    KeepNewProjectsExpanded(&view, model);
    ShowProjectTree(&view, model, SampleTree());
    EXPECT_TRUE(view.isExpanded(model.index(0, 0)));
    EXPECT_TRUE(view.isExpanded(model.index(2, 0)));
    model.insertProject(1, "丁", {"桩"});
    EXPECT_TRUE(view.isExpanded(model.index(1, 0))) << "a project an edit puts in opens as after a full read";
    const QPersistentModelIndex pile = model.index(0, 0, model.index(1, 0));
    const QPersistentModelIndex base = model.index(0, 0, model.index(3, 0));
    model.removeProject(0);
    EXPECT_EQ(pile.parent().data().toString(), "丁");
    EXPECT_EQ(model.nodeOf(base), 4) << "甲 / 基础 after 丁 / 桩 and 丙";

    ProjectTree large;
    for (int p = 0; p * 11 <= kExpandEveryProjectNodes; ++p) {
        large.appendProject(QStringLiteral("工程%1").arg(p));
        for (int s = 0; s < 10; ++s)
            large.appendPosition(QStringLiteral("%1层").arg(s));
    }
    ShowProjectTree(&view, model, std::move(large));
    ASSERT_FALSE(ExpandsEveryProject(model.tree()));
    EXPECT_FALSE(view.isExpanded(model.index(0, 0)));
    model.insertProject(0, "乙", {"一层"});
    EXPECT_FALSE(view.isExpanded(model.index(0, 0)));
}

} // namespace
} // namespace stolvar
