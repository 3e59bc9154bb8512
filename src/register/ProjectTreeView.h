#pragma once

#include "model/register/ProjectTree.h"

class QTreeView;

namespace stolvar {

class ProjectTreeModel;

// Shows a new tree in the view: projects with their positions, every project expanded.
void ShowProjectTree(QTreeView* view, ProjectTreeModel& model, ProjectTree tree);
// A project put into the tree by an edit is expanded, as a full read expands it.
void KeepNewProjectsExpanded(QTreeView* view, ProjectTreeModel& model);

} // namespace stolvar
