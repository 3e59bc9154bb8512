#pragma once

#include "model/backup/BackupSchedule.h"
#include "model/backup/BackupSettings.h"

#include <QObject>

#include <memory>

class QTimer;

namespace stolvar {

struct AppContext;
struct BackupFile;
struct BackupOutcome;
struct BackupRequest;
class DatabaseController;
class Database;
class RestoreBackupDialog;
struct RegisterWidgets;

// The backups of the open register: made by themselves once a day after the first write
// and at close, or by "立即备份"; "恢复备份…" and the offer after a damaged register
// restore one. Every copy runs on a worker; a failure is shown in the status bar and never
// holds the program or its closing.
class BackupController : public QObject
{
    Q_OBJECT
public:
    BackupController(AppContext& ctx, RegisterWidgets& ui, DatabaseController& database, QObject* parent = nullptr);
    ~BackupController() override;

    void backupNow();                  // "立即备份"
    void openRestoreDialog();          // "恢复备份…"
    std::unique_ptr<RestoreBackupDialog> createRestoreDialog();
    // Looks whether the day's automatic backup is due (the timer does, every few seconds).
    void checkSchedule();
    // Shutdown, before the workers stop: a register written since its last backup is
    // backed up within kCloseBudgetMs, or not at all.
    void backUpAtClose();
    bool isRunning() const { return m_running; }

    static constexpr int kPollMs = 5000;
    static constexpr int kCloseBudgetMs = 800;

    // Restores `backup` over the register after the clerk's yes (`ask`: asked here first).
    void restore(const BackupFile& backup, bool ask = true);

private:
    enum class Kind { Automatic, Manual };
    BackupSettings settings() const;
    BackupRequest makeRequest() const;
    void start(Kind kind);
    void finish(Kind kind, const BackupOutcome& outcome, qint64 changes);
    void reportFailure(const QString& error);
    void offerRestore(const QString& path, const QString& reason);
    void afterRestore(const QString& registerPath, const QString& backupPath, const QString& keptAs,
                      const QString& error);
    bool usable(const std::shared_ptr<Database>& db) const;

    AppContext& m_ctx;
    RegisterWidgets& m_ui;
    DatabaseController& m_database;
    BackupSchedule m_schedule;
    QTimer* m_timer = nullptr;
    bool m_running = false;
};

QString BackupFailedText(const QString& error);

} // namespace stolvar
