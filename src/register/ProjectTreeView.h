#pragma once

#include "model/register/ProjectTree.h"

class QTreeView;

namespace stolvar {

class ProjectTreeModel;

// A tree of up to this many nodes shows every project expanded. A larger one shows its
// projects collapsed, and a project opens when the clerk opens it or a node in it is
// selected: the view lays out every shown node again whenever a project comes or goes,
// which for 110,000 nodes takes longer than a frame (and their layout takes memory).
inline constexpr int kExpandEveryProjectNodes = 30000;
bool ExpandsEveryProject(const ProjectTree& tree);

// Shows a new tree in the view: projects with their positions, every project expanded
// when the tree is not too large for it.
void ShowProjectTree(QTreeView* view, ProjectTreeModel& model, ProjectTree tree);
// A project put into the tree by an edit is expanded, as a full read expands it.
void KeepNewProjectsExpanded(QTreeView* view, ProjectTreeModel& model);

} // namespace stolvar
