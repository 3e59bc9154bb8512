#pragma once

#include "core/TaskRunner.h"
#include "model/backup/BackupFiles.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QString>

namespace stolvar {

class Database;

// One backup of the open register, for a worker thread.
struct BackupRequest {
    QString folder;                      // made when missing
    int keep = 30;                       // generations kept
    QDateTime now;                       // names the backup
    QString mailStore;                   // "help", copied beside it when it exists
    QString settingsFile;                // Temp.ini, the same
    QDeadlineTimer deadline = QDeadlineTimer::Forever;   // at close: abandoned past it
    StopFlag stop;                       // raised: abandoned (the program closes)
};

struct BackupOutcome {
    bool done = false;
    QString path;      // the new backup, verified
    QString error;     // why there is none
    QString warning;   // done, but a copy beside it could not be made
};

// Copies the register through `<final name>.part` with the online backup (its writes go
// on), verifies the copy (opened read-only: PRAGMA quick_check, the register's tables,
// the same number of rows in every table as the register had at the end of the copy),
// renames it to its final name, copies the mail store and Temp.ini beside it, and removes
// the oldest generations beyond `keep`. A failure at any step leaves no file under a final
// name and every earlier backup as it was. A damaged register is not backed up.
BackupOutcome MakeBackup(const Database& source, const BackupRequest& request);

// What a backup holds, checked as a register at opening is.
struct BackupInspection {
    bool sound = false;
    QString problem;        // why not; "" when sound
    qint64 groups = -1;     // rows of gcxx
    qint64 days = -1;       // days with temperatures in skxx
};
BackupInspection InspectBackup(const QString& path);

// The newest backup of `registerPath` in `folder` that passes the check; "" when none does.
QString FindNewestSoundBackup(const QString& folder, const QString& registerPath);

struct RestoreOutcome {
    bool done = false;
    QString keptAs;    // the register as it was, in the backup folder ("" when there was none)
    QString error;
};

// Replaces the register by a sound backup: the register as it is (with a journal it may
// have) is first copied to `<name>-恢复前-YYYYMMDD-HHMMSS.dat` in `folder`, then the backup
// is copied beside the register and renamed over it. The register must be closed. On a
// failure the register is as it was.
RestoreOutcome RestoreBackup(const QString& backupPath, const QString& registerPath, const QString& folder,
                             const QDateTime& now);

} // namespace stolvar
