#pragma once

#include "model/register/ProjectTree.h"

class QTreeView;

namespace stolvar {

class ProjectTreeModel;

// Shows a new tree in the view: projects with their positions, every project expanded.
void ShowProjectTree(QTreeView* view, ProjectTreeModel& model, ProjectTree tree);

} // namespace stolvar
