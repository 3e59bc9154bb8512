#include "ui/AppContext.h"
#include "register/GroupEditor.h"
#include "register/RegisterController.h"

namespace stolvar {

// Deleting asks first, naming exactly what goes: one position's rows, a whole project
// (when a project node is selected), or the rows without a project or position.
void GroupEditor::deleteSelectedGroup()
{
    if (!requireDatabase())
        return;
    const int index = m_tree.selectedNodeIndex();
    m_tree.refreshSelectionFromTree();
    const CurrentSelection& s = m_ctx.selection;
    if (s.nodeText.isEmpty()) {
        deleteRowsWithoutKey();
        return;
    }
    if (m_tree.hasChildren(index)) {
        deleteProjectNode();
        return;
    }
    const QString question = QStringLiteral("您确定要删除") + s.projectName + s.nodeText + QStringLiteral("的记录吗？");
    if (!m_ctx.messages().ask(m_ctx.window, question, QStringLiteral("警告"), Messages::Icon::Information))
        return;
    write([project = s.projectName, position = s.nodeText](Database& db) { return DeleteGroup(db, project, position); },
          [this, project = s.projectName] { treeChanged({project}); });
}

void GroupEditor::deleteProjectNode()
{
    const QString project = m_ctx.selection.projectName;
    const int groups = CountProjectGroups(*m_ctx.db, project);
    const QString question = QStringLiteral("您确定要删除工程“%1”的全部%2组试块记录吗？").arg(project).arg(groups);
    if (!m_ctx.messages().ask(m_ctx.window, question, QStringLiteral("警告"), Messages::Icon::Information))
        return;
    write([project](Database& db) { return DeleteProject(db, project); }, [this, project] { treeChanged({project}); });
}

void GroupEditor::deleteRowsWithoutKey()
{
    const int rows = CountRowsWithoutKey(*m_ctx.db);
    if (rows == 0)
        return;
    const QString question =
        QStringLiteral("您确定要删除工程名称或工程部位为空的全部%1条记录吗？").arg(rows);
    if (!m_ctx.messages().ask(m_ctx.window, question, QStringLiteral("警告"), Messages::Icon::Information))
        return;
    // Rows without a name or position may lie in any project: the tree is read whole.
    write(&DeleteRowsWithoutKey, [this] {
        m_tree.fillProjectTree();
        emit registerChanged();
    });
}

} // namespace stolvar
