#include "register/ProjectTreeView.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

namespace stolvar {

QList<QTreeWidgetItem*> PopulateProjectTree(QTreeWidget* tree, const QVector<ProjectNode>& projects)
{
    const QIcon projectIcon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon positionIcon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    QFont bold = tree->font();
    bold.setBold(true);

    // Items are built detached and handed to the tree in one batch: inserting them one
    // by one into a live tree costs a model update each.
    QList<QTreeWidgetItem*> nodes;
    QList<QTreeWidgetItem*> topLevel;
    topLevel.reserve(projects.size());
    for (const ProjectNode& project : projects) {
        auto* node = new QTreeWidgetItem({project.name});
        node->setIcon(0, projectIcon);
        node->setFont(0, bold);
        nodes << node;
        QList<QTreeWidgetItem*> children;
        children.reserve(project.positions.size());
        for (const QString& position : project.positions) {
            auto* child = new QTreeWidgetItem({position});
            child->setIcon(0, positionIcon);
            children << child;
        }
        node->addChildren(children);
        nodes << children;
        topLevel << node;
    }
    tree->addTopLevelItems(topLevel);
    tree->expandAll();
    return nodes;
}

} // namespace stolvar
