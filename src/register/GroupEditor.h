#pragma once

#include "model/register/GroupStore.h"

#include <QObject>

namespace stolvar {

struct AppContext;
class RegisterController;
struct RegisterWidgets;

// The buttons of "试块管理", "标养状态" and "同养状态": every change the clerk makes to
// the register by hand. Input is checked before anything is written; a failed write is
// reported and changes nothing else.
class GroupEditor : public QObject
{
    Q_OBJECT
public:
    GroupEditor(AppContext& ctx, RegisterWidgets& ui, RegisterController& tree, QObject* parent = nullptr);

    void addSpecimenGroup();
    void renameProject();
    void changePosition();
    void changeStrengthGrade();
    void changeCastingDate();
    void changeGroupCounts();
    void deleteSelectedGroup();
    void setStandardStatus(const QString& state, const QString& noPositionMessage);
    void setSameConditionStatus(const QString& state);
    void stepCastingDate(int days);

signals:
    // A group was added, changed or deleted: every view of the register follows.
    void registerChanged();

private:
    void treeChanged(const QStringList& projects);
    void groupChanged();
    bool requireDatabase();
    bool checkWidths(const QStringList& texts);
    bool confirmMerge(const QString& project, const QString& newName);
    bool reportWrite(WriteResult result, const QString& duplicateMessage = {});
    void error(const QString& text, bool withIcon);
    void deleteProjectNode();
    void deleteRowsWithoutKey();

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    RegisterController& m_tree;
};

} // namespace stolvar
