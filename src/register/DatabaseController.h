#pragma once

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
// connection, keeps the status bar and Temp.ini in step, and announces a new file.
class DatabaseController : public QObject
{
    Q_OBJECT
public:
    DatabaseController(AppContext& ctx, RegisterWidgets& ui, QObject* parent = nullptr);

    void showNewDatabaseDialog();       // "新建(&N)"
    // "打开(&O)"; after 新建 the new file is already selected in the dialog.
    void openProjectDatabase(const QString& selectFile = {});
    // Start-up: opens the last database on a worker (deriving the key of the file takes
    // a good part of a second's tenth), or takes it from the open started ahead in main,
    // then connects it on the UI thread, silently on failure, and reports whether it did.
    void openLastProjectDatabase(std::function<void(bool)> done);
    void upgradeProjectDatabase();      // "升级数据库"
    void closeProjectDatabase();        // shutdown
    // While opened() is emitted for the start-up open: the project tree the worker read
    // along with the file, so that it need not be read again. Nothing otherwise.
    std::optional<ProjectTree> takePreloadedTree();

signals:
    // A database file was connected; the views refill from it.
    void opened();

private:
    struct OpenedRegister {
        std::shared_ptr<Database> db;
        ProjectTree tree;
    };

    bool connectTo(const QString& path, QString* error = nullptr);
    QString openDialogStart(const QString& stored, const QString& selectFile) const;

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    std::optional<ProjectTree> m_preloadedTree;
};

} // namespace stolvar
