#pragma once

#include "model/register/GroupStore.h"

#include <QObject>

#include <functional>
#include <optional>

namespace stolvar {

struct AppContext;
class Database;
class RegisterController;
struct RegisterWidgets;

// The buttons of "试块管理", "标养状态" and "同养状态": every change the clerk makes to
// the register by hand. Input is checked before anything is written. The writes go through
// the register's write queue, in their order; the views follow when each one has landed. A failed write is reported and changes nothing else.
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
    // A write's outcome, with the connection's error of a failed one, read where it failed.
    struct StoredEdit {
        WriteResult result = WriteResult::Failed;
        QString error;
    };
    using Edit = std::function<WriteResult(Database&)>;
    // Stores `edit` in the open register; `done` follows a write that was done, while that
    // register is still the open one.
    void write(Edit edit, std::function<void()> done, const QString& duplicateMessage = {});
    void writeState(std::function<std::optional<QString>(Database&)> edit,
                    std::function<void(const std::optional<QString>&)> landed);
    bool reportWrite(const StoredEdit& stored, const QString& duplicateMessage);
    void error(const QString& text, bool withIcon);
    void sameStateNotStored();
    void deleteProjectNode();
    void deleteRowsWithoutKey();

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    RegisterController& m_tree;
};

} // namespace stolvar
