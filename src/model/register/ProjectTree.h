#pragma once

#include <QCollator>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace stolvar {

// Projects are listed in Chinese (pinyin) order, descending, as a Chinese desktop lists
// them; names that collate alike keep the order their first rows were read in.
QCollator ProjectNameCollator();

// A name as the register's name columns compare it (COLLATE NOCASE): ASCII letters in
// lower case, every other character as it is. Names with the same key are one project.
QString NameKey(const QString& name);

// The project/position tree in the order its nodes are shown and counted: each project
// followed by its positions. The texts of all nodes share one buffer and each node costs
// two integers, so a register of tens of thousands of positions stays small in memory.
// A project may come with its number of positions only: their nodes are counted (the
// node numbers do not depend on them) and show no text until their names are put in.
class ProjectTree
{
public:
    void appendProject(QStringView name);
    // A position of the project appended last.
    void appendPosition(QStringView name);
    // A project whose positions are counted but not read.
    void appendUnreadProject(QStringView name, int positions);
    bool positionsRead(int project) const { return !m_unread[project]; }
    // Puts in the names of an unread project's positions, in display order; a list of
    // another length than the count is cut or padded with empty names, as the nodes stay.
    void setPositionNames(int project, const QStringList& names);
    void reserve(int nodes, int projects, qsizetype characters);
    // Marks the project appended last as the one of the rows without a project name.
    void markNullProject() { m_nullProject = projectCount() - 1; }

    // Edits in place: a project with its positions put in at a place in display order,
    // or taken out with its positions. Nodes after it move by its node count.
    void insertProject(int project, QStringView name, const QStringList& positions);
    void removeProject(int project);

    int nodeCount() const { return int(m_ends.size()); }
    int projectCount() const { return int(m_projectNodes.size()); }
    QString text(int node) const;
    QStringView textView(int node) const;
    // The node of a project (projects counted in display order).
    int projectNode(int project) const { return m_projectNodes[project]; }
    int positionCount(int project) const;
    // The project a node belongs to (a project node belongs to itself).
    int projectOf(int node) const;
    bool isProject(int node) const { return m_projectNodes[projectOf(node)] == node; }
    // The projects of a name and the node of a position in one of them, names compared as
    // the key columns compare them (ASCII case aside); -1 when it has none. The positions
    // must have been read (ProjectTreeModel::findPosition reads them as it goes).
    QVector<int> projectsNamedLike(const QString& project) const;
    int findPositionIn(int project, const QString& position) const;
    // The project of that name, ASCII case aside, as the key columns compare; the
    // project of the rows without a name is never found; -1 when there is none.
    int findProject(QStringView name) const;
    // The project of the rows whose project name is NULL; -1 when there is none.
    int nullProject() const { return m_nullProject; }

private:
    QString m_texts;
    QVector<int> m_ends;           // end of each node's text in m_texts
    QVector<int> m_projectNodes;   // node of each project, ascending
    QVector<bool> m_unread;        // each project: its positions are counted, not read
    int m_nullProject = -1;
};

} // namespace stolvar
