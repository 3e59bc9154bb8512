#include "register/ProjectTreeModel.h"

#include <QFont>
#include <QIcon>

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

} // namespace
} // namespace stolvar
