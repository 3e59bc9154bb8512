#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace stolvar {

// The backups of a register in the backup folder, by name: "<name>-YYYYMMDD-HHMMSS.dat"
// for each generation (with "<…>.help" and "<…>.ini", the mail store and Temp.ini of that
// moment, beside it) and "<name>-恢复前-YYYYMMDD-HHMMSS.dat" for the file a restore
// replaced. A file being written carries ".part" after its name and is never listed.
struct BackupFile {
    QString path;
    QDateTime time;              // from the name
    qint64 size = 0;
    bool beforeRestore = false;  // the register as it was before a restore
};

// The file name of the generation of `registerPath` made at `time`.
QString BackupFileName(const QString& registerPath, const QDateTime& time);
QString BeforeRestoreFileName(const QString& registerPath, const QDateTime& time);
// The mail store's and Temp.ini's copies beside a generation.
QString MailStoreCopyPath(const QString& backupPath);
QString SettingsCopyPath(const QString& backupPath);

// The backups of `registerPath` in `folder`, newest first; both kinds.
QVector<BackupFile> ListBackups(const QString& folder, const QString& registerPath);

// Removes the oldest generations (with their copies beside them) beyond `keep`; the
// copies kept before restores are not generations and stay. Returns the files removed.
QStringList PruneBackups(const QString& folder, const QString& registerPath, int keep);

// Removes what a backup interrupted by a crash or a pulled plug left (".part" files of
// this register older than `age` seconds, with their journals).
void RemoveLeftoverParts(const QString& folder, const QString& registerPath, const QDateTime& now, int age = 600);

} // namespace stolvar
