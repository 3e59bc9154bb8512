#pragma once

#include "model/register/ProjectTree.h"
#include "model/register/ProjectTreeUpdate.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QIcon>

#include <functional>
#include <optional>

namespace stolvar {

// The tree view's model over the compact project tree: projects at the top level
// (bold, folder icon), their positions below them (file icon). Nodes are counted in
// display order ("node index"), as Temp.ini remembers the selected one. An edit of a
// few projects inserts and removes their rows only (ProjectTreeEdits), so the view keeps
// its layout and the rest of its state. A project whose positions are only counted has
// them read (through the position reader) the first time one of them is asked for.
class ProjectTreeModel : public QAbstractItemModel, public ProjectTreeEdits
{
    Q_OBJECT
public:
    explicit ProjectTreeModel(QObject* parent = nullptr);

    // Reads the names of a project's positions; none when that failed (the nodes then show
    // no text, and the next request tries again).
    using PositionReader = std::function<std::optional<QStringList>(const ProjectTree&, int project)>;
    void setPositionReader(PositionReader reader) { m_readPositions = std::move(reader); }

    // Replaces every node (a model reset: the view forgets its selection).
    void setTree(ProjectTree tree);
    const ProjectTree& tree() const override { return m_tree; }
    void insertProject(int project, const QString& name, const QStringList& positions) override;
    void removeProject(int project) override;

    // A node's text; a position's project has its positions read first when they are not yet.
    QString nodeText(int node) const;
    // The node of a project's position (names ASCII case aside), the positions of the
    // projects of that name read as needed; -1 when there is none.
    int findPosition(const QString& project, const QString& position) const;

    QModelIndex indexOfNode(int node) const;
    // -1 for an invalid index.
    int nodeOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Positions never have children: the view then skips looking for their expansion.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void numberProjectsFrom(int project);
    void readPositions(int project) const;

    // Reading a project's positions puts in their names only: no node comes or goes, so the
    // model stays as the view knows it.
    mutable ProjectTree m_tree;
    PositionReader m_readPositions;
    // A position's index carries its project's id, which stays while projects come and go
    // around it (a row would not): the id of each project row, and the row of each id.
    QVector<quintptr> m_projectIds;
    QVector<int> m_rowOfId;
    QIcon m_projectIcon;
    QIcon m_positionIcon;
    QFont m_bold;
};

} // namespace stolvar
