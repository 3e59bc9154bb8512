#pragma once

#include "model/register/ProjectTree.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QIcon>

namespace stolvar {

// The tree view's model over the compact project tree: projects at the top level
// (bold, folder icon), their positions below them (file icon). Nodes are counted in
// display order ("node index"), as Temp.ini remembers the selected one.
class ProjectTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit ProjectTreeModel(QObject* parent = nullptr);

    // Replaces every node (a model reset: the view forgets its selection).
    void setTree(ProjectTree tree);
    const ProjectTree& tree() const { return m_tree; }

    QModelIndex indexOfNode(int node) const;
    // -1 for an invalid index.
    int nodeOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    ProjectTree m_tree;
    QIcon m_projectIcon;
    QIcon m_positionIcon;
    QFont m_bold;
};

} // namespace stolvar
