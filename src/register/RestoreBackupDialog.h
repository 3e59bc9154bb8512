#pragma once

#include "model/backup/Backup.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class QTableWidget;

namespace stolvar {

// "恢复备份": the backups of the open register in a grid (time, size, groups, days with
// temperatures, whether it passes the check), filled as each backup has been checked.
// "恢复" hands the chosen, sound backup on; the dialog restores nothing itself.
class RestoreBackupDialog : public QDialog
{
    Q_OBJECT

public:
    RestoreBackupDialog(const QVector<BackupFile>& backups, const QString& folder, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* restoreButton() const { return m_restore; }
    // The checks of the backups, in the order they were given.
    void showInspections(const QVector<BackupInspection>& inspections);

signals:
    void restoreRequested(const stolvar::BackupFile& backup);

private:
    void fillRow(int row, const BackupFile& backup);
    void updateButton();

    QVector<BackupFile> m_backups;
    QVector<bool> m_sound;
    QTableWidget* m_table = nullptr;
    QPushButton* m_restore = nullptr;
};

// "2024年5月10日17时30分", with "（恢复前）" for the copy a restore kept.
QString BackupTimeText(const BackupFile& backup);

} // namespace stolvar
