#include "register/DatabaseController.h"

#include "db/Database.h"
#include "db/OpenAhead.h"
#include "db/Schema.h"
#include "model/register/ProjectOutline.h"
#include "register/NewDatabaseDialog.h"
#include "register/RegisterWidgets.h"
#include "ui/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>

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

DatabaseController::~DatabaseController()
{
    letGo();
}

QString DamagedStateText()
{
    return QStringLiteral("数据库已损坏");
}

void DatabaseController::letGo()
{
    if (m_ctx.db)
        m_ctx.db->setDamageHandler({});   // a task still holding it tells no one
    m_ctx.db.reset();
}

RegisterOpening DatabaseController::connectTo(const QString& path)
{
    // Every attempt first lets go of the open file, so a failed attempt leaves none open.
    letGo();
    return OpenRegister(path, false);
}

void DatabaseController::adopt(std::shared_ptr<Database> db, const QString& stateText)
{
    // Writes wait for the check from the start: no one else has the connection yet.
    db->holdWritesUntilChecked();
    QPointer<DatabaseController> self(this);
    const QString path = db->path();
    db->setDamageHandler([self, path](const QString& reason) {
        QMetaObject::invokeMethod(
            self.data(), [self, path, reason] { if (self) self->reportDamage(path, reason); }, Qt::QueuedConnection);
    });
    m_ctx.db = db;
    m_damagedPath.clear();
    m_ui.databaseState->setText(stateText);
    emit opened();
    startCheck(db);
}

// The file is checked once the window shows it; its writes wait for the check meanwhile.
void DatabaseController::startCheck(const std::shared_ptr<Database>& db)
{
    if (m_ctx.tasks.isStopped()) {
        db->endCheck();
        return;
    }
    m_ctx.tasks.run(
        this, [db] { return CheckOpenedRegister(*db); },
        [this, db](const OpenedRegisterCheck& check) {
            if (db != m_ctx.db || !check.damage.isEmpty())
                return;
            if (!check.sourceColumnError.isEmpty())
                m_ctx.messages().show(m_ctx.window, QStringLiteral("无法记录温度来源：") + check.sourceColumnError,
                                      Messages::DefaultTitle(), Messages::Icon::Warning);
            if (!check.resultsSchemaError.isEmpty())
                m_ctx.messages().show(m_ctx.window, QStringLiteral("无法添加试验结果表：") + check.resultsSchemaError,
                                      Messages::DefaultTitle(), Messages::Icon::Warning);
            if (check.projectCountsCorrected)
                emit projectCountsCorrected();
            emit checked();
        });
}

void DatabaseController::reportDamage(const QString& path, const QString& reason)
{
    if (m_ctx.db && m_ctx.db->path() != path)
        return;   // a file let go of since
    m_damagedPath = path;
    m_ui.databaseState->setText(DamagedStateText());
    emit damaged(path, reason);
}

void DatabaseController::reportRefusedAtStart(const RegisterOpening& opening, const QString& path)
{
    if (IsDamage(opening.problem))
        return reportDamage(path, opening.reason);
    if (opening.problem == RegisterOpening::Problem::Unopenable)
        m_ctx.messages().show(m_ctx.window,
                              QStringLiteral("工程数据库无法打开：") + QDir::toNativeSeparators(path)
                                  + QStringLiteral("\n") + opening.reason,
                              Messages::DefaultTitle(), Messages::Icon::Warning);
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
    const RegisterOpening opening = connectTo(path);
    if (!opening.db) {
        // A file chosen that is no register at all is simply not connected; a register
        // that is damaged (empty, truncated) is named as such.
        if (opening.problem == RegisterOpening::Problem::Damaged)
            return reportDamage(path, opening.reason);
        m_ctx.messages().show(m_ctx.window, QStringLiteral("数据库未连接！"), Messages::DefaultTitle(),
                              Messages::Icon::Information);
        return;
    }
    m_ctx.settings.write(keys::kDatabaseFile, path);
    adopt(opening.db, QStringLiteral("已连接"));
}

bool DatabaseController::reopen(const QString& path)
{
    const RegisterOpening opening = connectTo(path);
    if (!opening.db) {
        reportRefusedAtStart(opening, path);
        return false;
    }
    m_ctx.settings.write(keys::kDatabaseFile, path);
    adopt(opening.db, QStringLiteral("数据库已连接"));
    return true;
}

void DatabaseController::openLastProjectDatabase(std::function<void(bool)> done)
{
    const QString path = m_ctx.settings.read(keys::kDatabaseFile, QStringLiteral("文件名"));
    auto connectResult = [this, path, done = std::move(done)](OpenedRegister result) {
        // A file the clerk opened from the menu meanwhile stays the open one.
        const bool adopted = result.opening.db && !m_ctx.db;
        if (adopted) {
            m_preloadedTree = std::move(result.tree);
            adopt(result.opening.db, QStringLiteral("数据库已连接"));
            m_preloadedTree.reset();
        }
        done(adopted);
        if (!result.opening.db && !m_ctx.db)
            reportRefusedAtStart(result.opening, path);
    };
    // A file opened ahead that is ready fills the window here, before it is first painted:
    // the window is then painted once, filled. One that is not ready is not waited for:
    // painting the window meanwhile overlaps the rest of its read, which shows the window
    // sooner and fills it no later. The worker then takes the file opened ahead when it is
    // this one (waiting for it if need be), with the project tree read there, or opens the
    // file and reads the tree itself. The UI thread only puts that tree into the view.
    std::optional<OpenedRegister> taken;
    if (IsOpenedAhead(path)) {
        if (auto ahead = TakeOpenedAheadWithWork(path))
            taken = FromAhead(std::move(*ahead));
        if (taken && taken->opening.db && taken->tree) {
            connectResult(std::move(*taken));
            return;
        }
    }
    m_ctx.tasks.run(
        this,
        [path, taken = std::move(taken)]() mutable {
            OpenedRegister result;
            if (taken)
                result = std::move(*taken);
            else if (auto ahead = TakeOpenedAheadWithWork(path))
                result = FromAhead(std::move(*ahead));
            else
                result.opening = OpenRegister(path, false);
            if (result.opening.db && !result.tree)
                result.tree = LoadProjectOutline(*result.opening.db);
            return result;
        },
        std::move(connectResult));
}

DatabaseController::OpenedRegister DatabaseController::FromAhead(OpenedAhead ahead)
{
    OpenedRegister result;
    result.opening = {ahead.db, ahead.problem, ahead.reason};
    if (auto* tree = std::any_cast<ProjectTree>(&ahead.prepared))
        result.tree = std::move(*tree);
    return result;
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
    letGo();
}

void DatabaseController::closeForRestore()
{
    if (const std::shared_ptr<Database> db = m_ctx.db) {
        db->setDamageHandler({});
        db->markDamaged(QStringLiteral("正在恢复备份"));
        m_damagedPath = db->path();
    }
    letGo();
}

QString DatabaseController::registerPath() const
{
    return m_ctx.db ? m_ctx.db->path() : m_damagedPath;
}

} // namespace stolvar
