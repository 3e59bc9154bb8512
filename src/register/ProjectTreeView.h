#pragma once

#include "register/GroupStore.h"

#include <QList>

class QTreeWidget;
class QTreeWidgetItem;

namespace stolvar {

// Fills the tree with bold project nodes and their position nodes, fully expanded, and
// returns every node in insertion order (the order that gives each node its index).
QList<QTreeWidgetItem*> PopulateProjectTree(QTreeWidget* tree, const QVector<ProjectNode>& projects);

} // namespace stolvar
