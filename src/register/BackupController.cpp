#include "register/BackupController.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "model/backup/Backup.h"
#include "register/DatabaseController.h"
#include "register/RegisterWidgets.h"
#include "register/RestoreBackupDialog.h"
#include "ui/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace stolvar {

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString DamagedText(const QString& path, const QString& reason)
{
    return QStringLiteral("工程数据库已损坏：") + Native(path) + u'\n' + reason
           + QStringLiteral("\n程序不会再写入这个文件。");
}

// On a worker: the copy of Temp.ini beside the backup holds what still waited to be
// written to it (the remembered node) as well.
BackupOutcome BackUp(const SettingsStore& settings, const Database& db, const BackupRequest& request)
{
    settings.writeWaiting();
    return MakeBackup(db, request);
}

} // namespace

QString BackupFailedText(const QString& error)
{
    return QStringLiteral("备份失败：") + error;
}

BackupController::BackupController(AppContext& ctx, RegisterWidgets& ui, DatabaseController& database, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_database(database), m_timer(new QTimer(this))
{
    connect(&database, &DatabaseController::opened, this, [this] { m_schedule.reset(m_ctx.db->totalChanges()); });
    connect(&database, &DatabaseController::damaged, this, &BackupController::offerRestore);
    connect(m_timer, &QTimer::timeout, this, &BackupController::checkSchedule);
    m_timer->start(kPollMs);
}

BackupController::~BackupController() = default;

BackupSettings BackupController::settings() const
{
    return ReadBackupSettings(m_ctx.settings, m_ctx.env.home);
}

BackupRequest BackupController::makeRequest() const
{
    const BackupSettings s = settings();
    BackupRequest request;
    request.folder = s.folder;
    request.keep = s.keep;
    request.now = m_ctx.now();
    request.mailStore = m_ctx.env.file(QStringLiteral("help"));
    request.settingsFile = m_ctx.settings.path();
    return request;
}

bool BackupController::usable(const std::shared_ptr<Database>& db) const
{
    return db && !db->isDamaged() && !m_running && !m_ctx.tasks.isStopped();
}

void BackupController::checkSchedule()
{
    const std::shared_ptr<Database> db = m_ctx.db;
    if (!usable(db) || !settings().automatic)
        return;
    const QDateTime now = m_ctx.now();
    if (!m_schedule.dailyDue(db->totalChanges(), now.date(), now.toMSecsSinceEpoch()))
        return;
    m_schedule.tried(now.date());
    start(Kind::Automatic);
}

void BackupController::backupNow()
{
    if (!m_ctx.db)
        return m_ctx.messages().show(m_ctx.window, Messages::NoDatabaseText());
    if (m_running)
        return m_ctx.messages().show(m_ctx.window, QStringLiteral("备份正在进行，请稍候。"));
    if (m_ctx.db->isDamaged())
        return m_ctx.messages().show(m_ctx.window, BackupFailedText(QStringLiteral("工程数据库已损坏")),
                                     Messages::DefaultTitle(), Messages::Icon::Warning);
    start(Kind::Manual);
}

void BackupController::start(Kind kind)
{
    BackupRequest request = makeRequest();
    request.stop = m_ctx.tasks.stopFlag();
    const std::shared_ptr<Database> db = m_ctx.db;
    const qint64 changes = db->totalChanges();   // writes made during the copy count as after it
    m_running = true;
    m_ctx.tasks.run(
        this, [db, request, settings = m_ctx.settings] { return BackUp(settings, *db, request); },
        [this, kind, changes](const BackupOutcome& outcome) { finish(kind, outcome, changes); });
}

void BackupController::finish(Kind kind, const BackupOutcome& outcome, qint64 changes)
{
    m_running = false;
    if (!outcome.done) {
        reportFailure(outcome.error);
        if (kind == Kind::Manual)
            m_ctx.messages().show(m_ctx.window, BackupFailedText(outcome.error), Messages::DefaultTitle(),
                                  Messages::Icon::Warning);
        return;
    }
    m_schedule.backedUp(changes);
    if (!outcome.warning.isEmpty())
        reportFailure(outcome.warning);
    if (kind == Kind::Manual)
        m_ctx.messages().show(m_ctx.window, QStringLiteral("已备份到：") + Native(outcome.path)
                                                + (outcome.warning.isEmpty() ? QString() : u'\n' + outcome.warning));
}

void BackupController::reportFailure(const QString& error)
{
    m_ui.noticeState->setText(BackupFailedText(error));
    m_ui.noticeState->setToolTip(m_ui.noticeState->text());
}

void BackupController::backUpAtClose()
{
    m_timer->stop();
    const std::shared_ptr<Database> db = m_ctx.db;
    if (!usable(db) || !settings().automatic || !m_schedule.writtenSinceBackup(db->totalChanges()))
        return;
    BackupRequest request = makeRequest();
    request.deadline = QDeadlineTimer(kCloseBudgetMs);
    m_running = true;
    // Nothing is applied after the close; what is not done in time is not done (a copy
    // under its temporary name is cleared by the next backup).
    m_ctx.tasks.run(
        this, [db, request, settings = m_ctx.settings] { return BackUp(settings, *db, request); },
        [](const BackupOutcome&) {});
}

std::unique_ptr<RestoreBackupDialog> BackupController::createRestoreDialog()
{
    const QString registerPath = m_database.registerPath();
    const BackupSettings s = settings();
    const QVector<BackupFile> backups = ListBackups(s.folder, registerPath);
    auto dialog = std::make_unique<RestoreBackupDialog>(backups, s.folder, m_ctx.window);
    connect(dialog.get(), &RestoreBackupDialog::restoreRequested, this, [this, d = dialog.get()](const BackupFile& b) {
        d->accept();
        restore(b);
    });
    QPointer<RestoreBackupDialog> shown(dialog.get());
    m_ctx.tasks.run(
        this,
        [backups] {
            QVector<BackupInspection> inspections;
            for (const BackupFile& backup : backups)
                inspections.append(InspectBackup(backup.path));
            return inspections;
        },
        [shown](const QVector<BackupInspection>& inspections) {
            if (shown)
                shown->showInspections(inspections);
        });
    return dialog;
}

void BackupController::openRestoreDialog()
{
    if (m_database.registerPath().isEmpty())
        return m_ctx.messages().show(m_ctx.window, Messages::NoDatabaseText());
    createRestoreDialog()->exec();
}

void BackupController::restore(const BackupFile& backup, bool ask)
{
    const QString registerPath = m_database.registerPath();
    const QDateTime now = m_ctx.now();   // the name the question gives is the name kept
    const QString question = QStringLiteral("确定用备份“%1”（%2）恢复工程数据库“%3”吗？\n当前文件会先另存到备份目录，名为“%4”。")
                                 .arg(QFileInfo(backup.path).fileName(), BackupTimeText(backup), Native(registerPath),
                                      BeforeRestoreFileName(registerPath, now));
    if (ask && !m_ctx.messages().ask(m_ctx.window, question, QStringLiteral("恢复备份"), Messages::Icon::Warning))
        return;
    m_database.closeForRestore();
    const QString folder = settings().folder;
    const QString backupPath = backup.path;
    m_ctx.tasks.run(
        this, [=] { return RestoreBackup(backupPath, registerPath, folder, now); },
        [this, registerPath, backupPath](const RestoreOutcome& outcome) {
            afterRestore(registerPath, backupPath, outcome.keptAs, outcome.done ? QString() : outcome.error);
        });
}

void BackupController::afterRestore(const QString& registerPath, const QString& backupPath, const QString& keptAs,
                                    const QString& error)
{
    // Restored or not, the register at its place is opened again: on a failure it is the
    // file as it was.
    m_database.reopen(registerPath);
    if (!error.isEmpty())
        return m_ctx.messages().show(m_ctx.window, QStringLiteral("恢复失败：") + error, Messages::DefaultTitle(),
                                     Messages::Icon::Critical);
    m_ctx.messages().show(m_ctx.window, QStringLiteral("已恢复备份：") + Native(backupPath)
                                            + (keptAs.isEmpty() ? QString() : QStringLiteral("\n原来的文件已保存为：") + Native(keptAs)));
}

// A damaged register: the clerk is told what is wrong, and offered the newest backup that
// passes the check, when there is one.
void BackupController::offerRestore(const QString& path, const QString& reason)
{
    const QString folder = settings().folder;
    m_ctx.tasks.run(
        this, [folder, path] { return FindNewestSoundBackup(folder, path); },
        [this, path, reason, folder](const QString& found) {
            if (found.isEmpty())
                return m_ctx.messages().show(m_ctx.window,
                                             DamagedText(path, reason) + QStringLiteral("\n\n备份目录中没有可用的备份：")
                                                 + Native(folder),
                                             QStringLiteral("工程数据库已损坏"), Messages::Icon::Critical);
            const auto backups = ListBackups(folder, path);
            const auto it = std::find_if(backups.begin(), backups.end(), [&](const BackupFile& b) { return b.path == found; });
            if (it == backups.end())
                return;
            const QString question = DamagedText(path, reason) + QStringLiteral("\n\n是否用最新的可用备份“%1”（%2）恢复？")
                                                                     .arg(QFileInfo(found).fileName(), BackupTimeText(*it));
            if (m_ctx.messages().ask(m_ctx.window, question, QStringLiteral("工程数据库已损坏"), Messages::Icon::Critical))
                restore(*it, false);
        });
}

} // namespace stolvar
