#pragma once

#include <QString>
#include <QStringView>
#include <QVector>

namespace stolvar {

// The project/position tree in the order its nodes are shown and counted: each project
// followed by its positions. The texts of all nodes share one buffer and each node costs
// two integers, so a register of tens of thousands of positions stays small in memory.
class ProjectTree
{
public:
    void appendProject(QStringView name);
    // A position of the project appended last.
    void appendPosition(QStringView name);
    void reserve(int nodes, int projects, qsizetype characters);

    int nodeCount() const { return int(m_ends.size()); }
    int projectCount() const { return int(m_projectNodes.size()); }
    QString text(int node) const;
    // The node of a project (projects counted in display order).
    int projectNode(int project) const { return m_projectNodes[project]; }
    int positionCount(int project) const;
    // The project a node belongs to (a project node belongs to itself).
    int projectOf(int node) const;
    bool isProject(int node) const { return m_projectNodes[projectOf(node)] == node; }
    // The node of a project's position, names compared as the key columns compare them
    // (ASCII case aside); -1 when the tree has none.
    int findPosition(const QString& project, const QString& position) const;

private:
    QString m_texts;
    QVector<int> m_ends;           // end of each node's text in m_texts
    QVector<int> m_projectNodes;   // node of each project, ascending
};

} // namespace stolvar
