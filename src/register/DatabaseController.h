#pragma once

#include "db/OpenAhead.h"
#include "db/RegisterCheck.h"
#include "model/register/ProjectTree.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace stolvar {

struct AppContext;
class Database;
struct RegisterWidgets;

// The File-menu database commands and the start-up open: connects the shared project
// connection, keeps the status bar and Temp.ini in step, and announces a new file. Every
// file it connects is checked on a worker right after (its writes wait for the check); a
// file found damaged, then or at any later query, is announced and never written.
class DatabaseController : public QObject
{
    Q_OBJECT
public:
    DatabaseController(AppContext& ctx, RegisterWidgets& ui, QObject* parent = nullptr);
    ~DatabaseController() override;

    void showNewDatabaseDialog();       // "新建(&N)"
    // "打开(&O)"; after 新建 the new file is already selected in the dialog.
    void openProjectDatabase(const QString& selectFile = {});
    // Start-up: opens the last database on a worker (deriving the key of the file takes
    // a good part of a second's tenth), or takes it from the open started ahead in main,
    // then connects it on the UI thread, silently when there is none, and reports whether it did.
    void openLastProjectDatabase(std::function<void(bool)> done);
    void upgradeProjectDatabase();      // "升级数据库"
    void closeProjectDatabase();        // shutdown
    // Connects `path` as the open register (after a restore); false when it cannot be.
    bool reopen(const QString& path);
    // Before a restore: the open file is let go of, and a task still holding it can no
    // longer write to it (its writes would go to the file being replaced).
    void closeForRestore();
    // While opened() is emitted for the start-up open: the project tree the worker read
    // along with the file, so that it need not be read again. Nothing otherwise.
    std::optional<ProjectTree> takePreloadedTree();
    // The register the program works on: the open one, else the last one found damaged.
    QString registerPath() const;

signals:
    // A database file was connected; the views refill from it.
    void opened();
    // The check of the file just connected found it sound (and gave it what writing needs).
    void checked();
    // The check found the register's count of groups by project wrong (and made it again):
    // the tree counted from it is counted again. Before checked().
    void projectCountsCorrected();
    // The register at `path` is damaged (`reason` says how): no file is open, or the open
    // one accepts no more writes. Once per file connected or refused.
    void damaged(const QString& path, const QString& reason);

private:
    struct OpenedRegister {
        RegisterOpening opening;
        std::optional<ProjectTree> tree;   // none until the outline is read
    };
    static OpenedRegister FromAhead(OpenedAhead ahead);

    QString openDialogStart(const QString& stored, const QString& selectFile) const;
    // Lets go of the open file, then opens `path` (without its check).
    RegisterOpening connectTo(const QString& path);
    // Makes `db` the open register: its damage is watched and its check started.
    void adopt(std::shared_ptr<Database> db, const QString& stateText);
    void letGo();
    void startCheck(const std::shared_ptr<Database>& db);
    void reportDamage(const QString& path, const QString& reason);
    void reportRefusedAtStart(const RegisterOpening& opening, const QString& path);

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    std::optional<ProjectTree> m_preloadedTree;
    QString m_damagedPath;
};

// The status text of a register found damaged.
QString DamagedStateText();

} // namespace stolvar
