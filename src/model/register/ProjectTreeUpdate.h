#pragma once

#include "model/register/ProjectTree.h"

#include <QStringList>

namespace stolvar {

class Database;

// The edits a tree takes when some of its projects change. The model under the tree view
// implements them with its signals, so the view keeps what it shows and moves only the
// rows that changed; a plain tree takes them as they are.
class ProjectTreeEdits
{
public:
    virtual ~ProjectTreeEdits() = default;
    virtual const ProjectTree& tree() const = 0;
    virtual void insertProject(int project, const QString& name, const QStringList& positions) = 0;
    virtual void removeProject(int project) = 0;
};

class PlainTreeEdits : public ProjectTreeEdits
{
public:
    explicit PlainTreeEdits(ProjectTree& tree) : m_tree(tree) {}
    const ProjectTree& tree() const override { return m_tree; }
    void insertProject(int project, const QString& name, const QStringList& positions) override
    {
        m_tree.insertProject(project, name, positions);
    }
    void removeProject(int project) override { m_tree.removeProject(project); }

private:
    ProjectTree& m_tree;
};

// Reads the named projects (ASCII case aside) from the register again and puts each,
// with its positions, where a full read of the tree would put it: a project without rows
// goes, a new one comes, a renamed or merged one moves to its place. It costs a query per
// project instead of reading every row. False when a query failed: the tree may then be
// half done and must be read whole.
bool RefreshProjects(const Database& db, ProjectTreeEdits& edits, const QStringList& names);

} // namespace stolvar
