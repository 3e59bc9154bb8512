#include "register/ProjectTreeModel.h"

#include <QApplication>
#include <QStyle>

namespace stolvar {

namespace {

// A top-level index carries no id; a position's index carries its project's id (from 1).
constexpr quintptr kTopLevel = 0;

} // namespace

ProjectTreeModel::ProjectTreeModel(QObject* parent)
    : QAbstractItemModel(parent),
      m_projectIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
      m_positionIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon))
{
    // Only the weight is set: the view's own font supplies the rest.
    m_bold.setBold(true);
}

void ProjectTreeModel::setTree(ProjectTree tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    m_projectIds.resize(m_tree.projectCount());
    m_rowOfId.fill(-1, m_tree.projectCount() + 1);
    for (int p = 0; p < m_tree.projectCount(); ++p)
        m_projectIds[p] = quintptr(p) + 1;
    numberProjectsFrom(0);
    endResetModel();
}

void ProjectTreeModel::insertProject(int project, const QString& name, const QStringList& positions)
{
    beginInsertRows({}, project, project);
    m_tree.insertProject(project, name, positions);
    m_projectIds.insert(project, quintptr(m_rowOfId.size()));
    m_rowOfId.append(-1);
    numberProjectsFrom(project);
    endInsertRows();
}

void ProjectTreeModel::removeProject(int project)
{
    beginRemoveRows({}, project, project);
    m_tree.removeProject(project);
    m_rowOfId[m_projectIds[project]] = -1;
    m_projectIds.remove(project);
    numberProjectsFrom(project);
    endRemoveRows();
}

void ProjectTreeModel::numberProjectsFrom(int project)
{
    for (int p = project; p < m_projectIds.size(); ++p)
        m_rowOfId[m_projectIds[p]] = p;
}

void ProjectTreeModel::readPositions(int project) const
{
    if (m_tree.positionsRead(project) || !m_readPositions)
        return;
    if (const std::optional<QStringList> names = m_readPositions(m_tree, project))
        m_tree.setPositionNames(project, *names);
}

QString ProjectTreeModel::nodeText(int node) const
{
    if (node < 0 || node >= m_tree.nodeCount())
        return {};
    if (!m_tree.isProject(node))
        readPositions(m_tree.projectOf(node));
    return m_tree.text(node);
}

int ProjectTreeModel::findPosition(const QString& project, const QString& position) const
{
    for (int p : m_tree.projectsNamedLike(project)) {
        readPositions(p);
        if (const int node = m_tree.findPositionIn(p, position); node >= 0)
            return node;
    }
    return -1;
}

QModelIndex ProjectTreeModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_tree.nodeCount())
        return {};
    const int project = m_tree.projectOf(node);
    const int projectNode = m_tree.projectNode(project);
    if (node == projectNode)
        return createIndex(project, 0, kTopLevel);
    return createIndex(node - projectNode - 1, 0, m_projectIds[project]);
}

int ProjectTreeModel::nodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    if (index.internalId() == kTopLevel)
        return m_tree.projectNode(index.row());
    const int project = m_rowOfId.value(qsizetype(index.internalId()), -1);
    return project < 0 ? -1 : m_tree.projectNode(project) + 1 + index.row();
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, parent.isValid() ? m_projectIds[parent.row()] : kTopLevel);
}

QModelIndex ProjectTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kTopLevel)
        return {};
    const int project = m_rowOfId.value(qsizetype(child.internalId()), -1);
    return project < 0 ? QModelIndex() : createIndex(project, 0, kTopLevel);
}

int ProjectTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_tree.projectCount();
    if (parent.column() != 0 || parent.internalId() != kTopLevel)
        return 0;
    return m_tree.positionCount(parent.row());
}

int ProjectTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

Qt::ItemFlags ProjectTreeModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    return index.isValid() && index.internalId() != kTopLevel ? flags | Qt::ItemNeverHasChildren : flags;
}

QVariant ProjectTreeModel::data(const QModelIndex& index, int role) const
{
    const int node = nodeOf(index);
    if (node < 0)
        return {};
    const bool project = index.internalId() == kTopLevel;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return nodeText(node);
    case Qt::DecorationRole:
        return project ? m_projectIcon : m_positionIcon;
    case Qt::FontRole:
        return project ? QVariant(m_bold) : QVariant();
    default:
        return {};
    }
}

} // namespace stolvar
