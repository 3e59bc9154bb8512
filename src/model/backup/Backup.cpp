#include "model/backup/Backup.h"

#include "core/DurableFiles.h"
#include "db/Database.h"
#include "db/OnlineCopy.h"
#include "db/RegisterCheck.h"
#include "model/temperatures/ClimateStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace stolvar {

namespace {

// A name not taken yet: two backups within one second get the next second.
QString FreeBackupPath(const QString& folder, const QString& registerPath, QDateTime time)
{
    QString path = QDir(folder).filePath(BackupFileName(registerPath, time));
    while (QFileInfo::exists(path) || QFileInfo::exists(PartName(path))) {
        time = time.addSecs(1);
        path = QDir(folder).filePath(BackupFileName(registerPath, time));
    }
    return path;
}

void RemovePart(const QString& part)
{
    QFile::remove(part);
    QFile::remove(part + QStringLiteral("-journal"));
}

// The copy under its temporary name, exactly the register at the end of the copy; the
// register's row counts of that moment in `counts`.
QString CopyInto(const Database& source, const QString& part, const std::function<bool()>& keepGoing,
                 QMap<QString, qint64>* counts)
{
    QString error;
    auto target = source.createAlike(part, &error);
    if (!target)
        return QStringLiteral("无法在备份目录中写入文件（%1）").arg(error);
    // The copy needs no journal: until it is renamed it is nobody's file.
    target->execute(QStringLiteral("PRAGMA journal_mode = OFF"));
    QString countError;
    error = CopyDatabase(source, *target, keepGoing, [&] { *counts = TableRowCounts(source, &countError); });
    return error.isEmpty() ? countError : error;
}

QString VerifyCopy(const QString& part, const QMap<QString, qint64>& counts)
{
    QString error;
    const auto copy = Database::OpenReadOnly(part, &error);
    if (!copy)
        return QStringLiteral("备份无法打开（%1）").arg(error);
    if (const QString damage = CheckRegister(*copy); !damage.isEmpty())
        return QStringLiteral("备份校验未通过（%1）").arg(damage);
    if (TableRowCounts(*copy, &error) != counts || !error.isEmpty())
        return QStringLiteral("备份校验未通过（行数与工程数据库不一致）");
    return {};
}

QString Finish(const QString& part, const QString& path)
{
    if (!QFile::rename(part, path))
        return QStringLiteral("备份无法改名为%1").arg(path);
    SyncFolder(QFileInfo(path).absolutePath());
    return {};
}

// The mail store and Temp.ini of this moment, beside the backup; what failed, if anything.
QString CopyCompanions(const BackupRequest& request, const QString& path)
{
    QStringList failed;
    const QPair<QString, QString> copies[] = {{request.mailStore, MailStoreCopyPath(path)},
                                              {request.settingsFile, SettingsCopyPath(path)}};
    for (const auto& [from, to] : copies) {
        if (from.isEmpty() || !QFileInfo::exists(from))
            continue;
        if (const QString error = CopyFileDurably(from, to); !error.isEmpty())
            failed << error;
    }
    return failed.join(QStringLiteral("；"));
}

} // namespace

BackupOutcome MakeBackup(const Database& source, const BackupRequest& request)
{
    BackupOutcome outcome;
    if (source.isDamaged())
        return {false, {}, QStringLiteral("工程数据库已损坏，没有备份"), {}};
    if (!QDir().mkpath(request.folder))
        return {false, {}, QStringLiteral("备份目录无法创建：%1").arg(QDir::toNativeSeparators(request.folder)), {}};
    RemoveLeftoverParts(request.folder, source.path(), request.now);
    const QString path = FreeBackupPath(request.folder, source.path(), request.now);
    const QString part = PartName(path);
    QMap<QString, qint64> counts;
    const auto keepGoing = [&request] { return !request.deadline.hasExpired() && !(request.stop && *request.stop); };
    outcome.error = CopyInto(source, part, keepGoing, &counts);
    if (outcome.error.isEmpty() && !keepGoing())
        outcome.error = QStringLiteral("备份被中断");
    if (outcome.error.isEmpty())
        outcome.error = VerifyCopy(part, counts);
    if (outcome.error.isEmpty())
        outcome.error = Finish(part, path);
    if (!outcome.error.isEmpty()) {
        RemovePart(part);
        return outcome;
    }
    outcome.done = true;
    outcome.path = path;
    outcome.warning = CopyCompanions(request, path);
    PruneBackups(request.folder, source.path(), request.keep);
    return outcome;
}

BackupInspection InspectBackup(const QString& path)
{
    BackupInspection inspection;
    QString error;
    const auto db = Database::OpenReadOnly(path, &error);
    if (!db) {
        inspection.problem = error;
        return inspection;
    }
    inspection.problem = CheckRegister(*db);
    inspection.sound = inspection.problem.isEmpty();
    if (!inspection.sound)
        return inspection;
    Statement groups(*db, QStringLiteral("SELECT count(*) FROM gcxx"));
    inspection.groups = groups.next() ? groups.integer(0) : -1;
    Statement days(*db, QStringLiteral("SELECT count(DISTINCT substr(养护记录, 1, 10)) FROM skxx"));
    inspection.days = days.next() ? days.integer(0) : -1;
    return inspection;
}

namespace {

// The register as it is, with its journal when it has one (SQLite rolls that back when
// the copy is opened), under its before-restore name; the path, or "" and `error`.
QString KeepCurrentFile(const QString& registerPath, const QString& folder, QDateTime time, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("备份目录无法创建：%1").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    QString kept = QDir(folder).filePath(BeforeRestoreFileName(registerPath, time));
    while (QFileInfo::exists(kept))
        kept = QDir(folder).filePath(BeforeRestoreFileName(registerPath, time = time.addSecs(1)));
    *error = CopyFileDurably(registerPath, kept);
    const QString journal = registerPath + QStringLiteral("-journal");
    if (error->isEmpty() && QFileInfo::exists(journal))
        *error = CopyFileDurably(journal, kept + QStringLiteral("-journal"));
    return error->isEmpty() ? kept : QString();
}

} // namespace

RestoreOutcome RestoreBackup(const QString& backupPath, const QString& registerPath, const QString& folder,
                             const QDateTime& now)
{
    RestoreOutcome outcome;
    const BackupInspection inspection = InspectBackup(backupPath);
    if (!inspection.sound) {
        outcome.error = QStringLiteral("备份校验未通过（%1）").arg(inspection.problem);
        return outcome;
    }
    if (QFileInfo::exists(registerPath)) {
        outcome.keptAs = KeepCurrentFile(registerPath, folder, now, &outcome.error);
        if (outcome.keptAs.isEmpty()) {
            outcome.error = QStringLiteral("当前文件未能保留，没有恢复：") + outcome.error;
            return outcome;
        }
    }
    // A journal left by an interrupted write belongs to the file being replaced: SQLite
    // would roll it back into the backup. It is kept with that file above.
    QFile::remove(registerPath + QStringLiteral("-journal"));
    outcome.error = CopyFileDurably(backupPath, registerPath);
    outcome.done = outcome.error.isEmpty();
    ForgetClimate(registerPath);   // the restored file has climate years of its own
    return outcome;
}

QString FindNewestSoundBackup(const QString& folder, const QString& registerPath)
{
    for (const BackupFile& backup : ListBackups(folder, registerPath)) {
        if (!backup.beforeRestore && InspectBackup(backup.path).sound)
            return backup.path;
    }
    return {};
}

} // namespace stolvar
