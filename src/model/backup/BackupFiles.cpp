#include "model/backup/BackupFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace stolvar {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kBeforeRestore = QStringLiteral("恢复前-");

QString Stem(const QString& registerPath)
{
    return QFileInfo(registerPath).completeBaseName();
}

// "<name>-[恢复前-]YYYYMMDD-HHMMSS.dat" for this register only.
QRegularExpression BackupPattern(const QString& registerPath)
{
    return QRegularExpression(u'^' + QRegularExpression::escape(Stem(registerPath))
                              + QStringLiteral("-(恢复前-)?(\\d{8}-\\d{6})\\.dat$"));
}

void RemoveWithCopies(const QString& path, QStringList* removed)
{
    for (const QString& file : {path, MailStoreCopyPath(path), SettingsCopyPath(path)}) {
        if (QFile::remove(file))
            removed->append(file);
    }
}

} // namespace

QString BackupFileName(const QString& registerPath, const QDateTime& time)
{
    return Stem(registerPath) + u'-' + time.toString(kStampFormat) + QStringLiteral(".dat");
}

QString BeforeRestoreFileName(const QString& registerPath, const QDateTime& time)
{
    return Stem(registerPath) + u'-' + kBeforeRestore + time.toString(kStampFormat) + QStringLiteral(".dat");
}

QString MailStoreCopyPath(const QString& backupPath)
{
    return backupPath.chopped(4) + QStringLiteral(".help");
}

QString SettingsCopyPath(const QString& backupPath)
{
    return backupPath.chopped(4) + QStringLiteral(".ini");
}

QVector<BackupFile> ListBackups(const QString& folder, const QString& registerPath)
{
    const QRegularExpression pattern = BackupPattern(registerPath);
    QVector<BackupFile> backups;
    for (const QFileInfo& file : QDir(folder).entryInfoList({Stem(registerPath) + QStringLiteral("-*.dat")}, QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(file.fileName());
        const QDateTime time = QDateTime::fromString(match.captured(2), kStampFormat);
        if (match.hasMatch() && time.isValid())
            backups.append({file.absoluteFilePath(), time, file.size(), match.capturedLength(1) > 0});
    }
    std::sort(backups.begin(), backups.end(), [](const BackupFile& a, const BackupFile& b) {
        return a.time != b.time ? a.time > b.time : a.beforeRestore < b.beforeRestore;
    });
    return backups;
}

QStringList PruneBackups(const QString& folder, const QString& registerPath, int keep)
{
    QStringList removed;
    int generations = 0;
    for (const BackupFile& backup : ListBackups(folder, registerPath)) {
        if (!backup.beforeRestore && ++generations > std::max(keep, 1))
            RemoveWithCopies(backup.path, &removed);
    }
    return removed;
}

void RemoveLeftoverParts(const QString& folder, const QString& registerPath, const QDateTime& now, int age)
{
    const QStringList patterns = {Stem(registerPath) + QStringLiteral("-*.part"),
                                  Stem(registerPath) + QStringLiteral("-*.part-journal")};
    for (const QFileInfo& file : QDir(folder).entryInfoList(patterns, QDir::Files)) {
        if (file.lastModified().secsTo(now) > age)
            QFile::remove(file.absoluteFilePath());
    }
}

} // namespace stolvar
