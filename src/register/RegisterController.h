#pragma once

#include "core/TaskRunner.h"
#include "db/Records.h"
#include "model/register/ProjectTree.h"

#include <QDateTime>
#include <QFont>
#include <QObject>
#include <QStringList>

#include <functional>

namespace stolvar {

struct AppContext;
class ProjectTreeModel;
struct RegisterWidgets;

// The project/position tree, the status panel and the standard-curing list. After an
// edit the projects it touched are read again and their nodes change in place; the node
// remembered in Temp.ini (by its place in the fully expanded tree) is selected again, as
// after a full read, which refreshes the panel and the list.
class RegisterController : public QObject
{
    Q_OBJECT
public:
    RegisterController(AppContext& ctx, RegisterWidgets& ui, QObject* parent = nullptr);

    void fillProjectTree();
    // The same with a tree already read from the open database.
    void showProjectTree(ProjectTree tree);
    // After an edit of these projects (names ASCII case aside): their nodes are read again
    // and change in place; the tree is read whole when a query fails.
    void updateProjects(const QStringList& projects);
    // The same after a group's casting date changed, which may move it among its project's
    // positions: that group stays selected and is remembered by its new place.
    void updateProjectKeepingGroup(QString project, QString position);
    void onTreeSelectionChanged();
    void fillStandardCuringList();
    void filterStandardCuringList();
    // "标养打印": the standard-curing list as shown, in the print preview.
    void printStandardList();
    // The tab control shows another page: the table and curve pages refill for the selection.
    void onPageShown(int index);
    // Copies the selected node's text and project into the selection, as the edits do
    // before they act; returns false when no node is selected.
    bool refreshSelectionFromTree();

    // Selects the node of a project's position (the worklist asks for it); false when the
    // tree has no such node.
    bool selectPosition(const QString& project, const QString& position);

    // Tree queries by nodeIndex (the node's place in insertion order).
    int selectedNodeIndex() const;
    QString nodeText(int index) const;
    bool hasChildren(int index) const;
    int parentIndex(int index) const;
    int nodeCount() const;

signals:
    // A position node's group was loaded into the panel (its latest row).
    void groupShown(const stolvar::SpecimenGroup& group);
    // The same-condition table 1 page became current: its frame is laid out again.
    void table1PageShown();
    void curvePageShown();
    // The standard-curing list shows new rows (a search of every project fills it when its
    // worker is done).
    void listShown();

private:
    void showGroup(const SpecimenGroup& group);
    void selectRememberedNode(const QString& remembered);
    // Refreshes the projects in place with no node current meanwhile; false when the tree
    // had to be read whole instead.
    bool refreshProjectsQuietly(const QStringList& projects);
    using ListRows = QVector<QStringList>;   // the list's texts below its header
    void showList(const ListRows& rows);
    int listFontSize();
    int projectGroupCount(const QString& project) const;
    // Fills the list with the groups `read` gives: on the spot, or read on a worker and
    // shown when done.
    void fillListFrom(bool onTheSpot, std::function<QVector<SpecimenGroup>()> read);

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    ProjectTreeModel* m_model;   // owned by the tree view
    QString m_listFontSizeText;   // the last "标养字号" read
    Generation m_listGeneration;   // a later fill of the list drops a search still running
    int m_listFittedWidth = -1;    // the list's width when its columns were last fitted
    ListRows m_shownListRows;   // the rows as last written
    QFont m_shownListFont;      // and the font they were written in
};

// The line above the printed standard-curing list on every page: project and day printed.
QString StandardListHeading(const QString& project, const QDateTime& printedOn);

} // namespace stolvar
