#include "register/DatabaseController.h"

#include "db/Database.h"
#include "db/OpenAhead.h"
#include "db/Schema.h"
#include "model/register/GroupStore.h"
#include "register/NewDatabaseDialog.h"
#include "register/RegisterWidgets.h"
#include "ui/AppContext.h"

#include <QFileInfo>
#include <QLabel>

#include <utility>

namespace stolvar {

namespace {

// "table.column" for a column, a table's bare name for a table.
QString UpgradeReportText(const QStringList& added)
{
    if (added.isEmpty())
        return QStringLiteral("数据库已是最新版本");
    QStringList columns;
    QStringList tables;
    for (const QString& item : added)
        (item.contains(u'.') ? columns : tables) << item;
    QStringList parts;
    if (!columns.isEmpty())
        parts << QStringLiteral("列 ") + columns.join(QStringLiteral("、"));
    if (!tables.isEmpty())
        parts << QStringLiteral("表 ") + tables.join(QStringLiteral("、"));
    return QStringLiteral("数据库已升级，添加了") + parts.join(QStringLiteral("；"));
}

} // namespace

DatabaseController::DatabaseController(AppContext& ctx, RegisterWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui)
{
}

bool DatabaseController::connectTo(const QString& path, QString* error)
{
    // Every attempt first lets go of the open file, so a failed attempt leaves none open.
    m_ctx.db.reset();
    m_ctx.db = Database::Open(path, error);
    return m_ctx.db != nullptr;
}

void DatabaseController::showNewDatabaseDialog()
{
    NewDatabaseDialog dialog(m_ctx.env.home, m_ctx.messages(), m_ctx.window);
    if (dialog.exec() == QDialog::Accepted)
        openProjectDatabase(dialog.createdPath());
}

// The stored folder when it exists; on a first use it holds the text "路径", and the
// registers lie in the program folder. A file to select is named with its folder.
QString DatabaseController::openDialogStart(const QString& stored, const QString& selectFile) const
{
    if (!selectFile.isEmpty())
        return selectFile;
    return QFileInfo(stored).isDir() ? stored : m_ctx.env.home;
}

void DatabaseController::openProjectDatabase(const QString& selectFile)
{
    const QString folder = m_ctx.settings.read(keys::kDatabaseFolder, QStringLiteral("路径"));
    m_ctx.settings.write(keys::kDatabaseFolder, folder);
    const QString path = m_ctx.messages().openFileName(m_ctx.window, QStringLiteral("打开"),
                                                       openDialogStart(folder, selectFile),
                                                       QStringLiteral("数据库文件 (*.dat)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!connectTo(path, &error)) {
        m_ctx.messages().show(m_ctx.window, QStringLiteral("数据库未连接！"), Messages::DefaultTitle(),
                              Messages::Icon::Information);
        return;
    }
    m_ui.databaseState->setText(QStringLiteral("已连接"));
    m_ctx.settings.write(keys::kDatabaseFile, path);
    emit opened();
}

void DatabaseController::openLastProjectDatabase(std::function<void(bool)> done)
{
    const QString path = m_ctx.settings.read(keys::kDatabaseFile, QStringLiteral("文件名"));
    auto adopt = [this, done = std::move(done)](OpenedRegister result) {
        // A file the clerk opened from the menu meanwhile stays the open one.
        const bool adopted = result.db && !m_ctx.db;
        if (adopted) {
            m_ctx.db = result.db;
            m_preloadedTree = std::move(result.tree);
            m_ui.databaseState->setText(QStringLiteral("数据库已连接"));
            emit opened();
            m_preloadedTree.reset();
        }
        done(adopted);
    };
    // The worker takes the file opened ahead when it is this one (waiting for it if need
    // be), with the project tree read there; otherwise it opens the file and reads the
    // tree itself. The UI thread only puts that tree into the view.
    m_ctx.tasks.run(
        this,
        [path] {
            OpenedRegister result;
            if (auto ahead = TakeOpenedAheadWithWork(path)) {
                result.db = ahead->db;
                if (auto* tree = std::any_cast<ProjectTree>(&ahead->prepared)) {
                    result.tree = std::move(*tree);
                    return result;
                }
            } else {
                result.db = Database::Open(path);
            }
            if (result.db)
                result.tree = LoadCompactProjectTree(*result.db);
            return result;
        },
        std::move(adopt));
}

std::optional<ProjectTree> DatabaseController::takePreloadedTree()
{
    return std::exchange(m_preloadedTree, std::nullopt);
}

void DatabaseController::upgradeProjectDatabase()
{
    if (!m_ctx.db)
        return;
    QString error;
    QStringList added;
    if (!UpgradeSchema(*m_ctx.db, &added, &error))
        return m_ctx.messages().show(m_ctx.window, QStringLiteral("升级数据库失败：") + error, QStringLiteral("错误！"),
                                     Messages::Icon::Critical);
    m_ctx.messages().show(m_ctx.window, UpgradeReportText(added), Messages::DefaultTitle(), Messages::Icon::Information);
}

void DatabaseController::closeProjectDatabase()
{
    m_ctx.db.reset();
}

} // namespace stolvar
