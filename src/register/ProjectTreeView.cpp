#include "register/ProjectTreeView.h"

#include "register/ProjectTreeModel.h"

#include <QTreeView>

namespace stolvar {

bool ExpandsEveryProject(const ProjectTree& tree)
{
    return tree.nodeCount() <= kExpandEveryProjectNodes;
}

void ShowProjectTree(QTreeView* view, ProjectTreeModel& model, ProjectTree tree)
{
    model.setTree(std::move(tree));
    if (!ExpandsEveryProject(model.tree()))
        return;
    // The reset leaves the view's layout pending, so each expansion is only noted and the
    // view lays the nodes out once. Positions have no children: expanding the projects
    // expands everything, and the view keeps no state for the leaves.
    for (int project = 0; project < model.tree().projectCount(); ++project) {
        if (model.tree().positionCount(project) > 0)
            view->expand(model.index(project, 0));
    }
}

void KeepNewProjectsExpanded(QTreeView* view, ProjectTreeModel& model)
{
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, view,
                     [view, &model](const QModelIndex& parent, int first, int last) {
                         if (parent.isValid() || !ExpandsEveryProject(model.tree()))
                             return;
                         for (int project = first; project <= last; ++project) {
                             if (model.tree().positionCount(project) > 0)
                                 view->expand(model.index(project, 0));
                         }
                     });
}

} // namespace stolvar
