#include "register/RestoreBackupDialog.h"

#include "core/Conversions.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stolvar {

namespace {

enum Column { kTime, kSize, kGroups, kDays, kCheck, kColumns };

QString SizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    return QString::number((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

QTableWidgetItem* Cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString CountText(qint64 count)
{
    return count < 0 ? QString() : QString::number(count);
}

} // namespace

QString BackupTimeText(const BackupFile& backup)
{
    return FormatLongDate(backup.time) + (backup.beforeRestore ? QStringLiteral("（恢复前）") : QString());
}

RestoreBackupDialog::RestoreBackupDialog(const QVector<BackupFile>& backups, const QString& folder, QWidget* parent)
    : QDialog(parent), m_backups(backups), m_sound(backups.size(), false)
{
    setObjectName(QStringLiteral("恢复备份对话框"));
    setWindowTitle(QStringLiteral("恢复备份"));
    resize(640, 400);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("备份目录：") + QDir::toNativeSeparators(folder), this));
    m_table = new QTableWidget(int(backups.size()), kColumns, this);
    m_table->setObjectName(QStringLiteral("备份表格"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("大小"), QStringLiteral("组数"),
                                        QStringLiteral("温度天数"), QStringLiteral("校验")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < backups.size(); ++row)
        fillRow(row, backups[row]);
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("恢复"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("恢复"));
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("关闭"));
    layout->addWidget(buttons);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &RestoreBackupDialog::updateButton);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        const int row = m_table->currentRow();
        if (row >= 0 && m_sound.value(row))
            emit restoreRequested(m_backups[row]);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButton();
}

void RestoreBackupDialog::fillRow(int row, const BackupFile& backup)
{
    m_table->setItem(row, kTime, Cell(BackupTimeText(backup)));
    m_table->setItem(row, kSize, Cell(SizeText(backup.size)));
    m_table->setItem(row, kGroups, Cell({}));
    m_table->setItem(row, kDays, Cell({}));
    m_table->setItem(row, kCheck, Cell(QStringLiteral("检查中…")));
    m_table->item(row, kTime)->setToolTip(QDir::toNativeSeparators(backup.path));
}

void RestoreBackupDialog::showInspections(const QVector<BackupInspection>& inspections)
{
    for (int row = 0; row < inspections.size() && row < m_backups.size(); ++row) {
        const BackupInspection& inspection = inspections[row];
        m_sound[row] = inspection.sound;
        m_table->item(row, kGroups)->setText(CountText(inspection.groups));
        m_table->item(row, kDays)->setText(CountText(inspection.days));
        m_table->item(row, kCheck)->setText(inspection.sound ? QStringLiteral("已验证")
                                                             : QStringLiteral("未通过：") + inspection.problem);
    }
    updateButton();
}

void RestoreBackupDialog::updateButton()
{
    const int row = m_table->currentRow();
    m_restore->setEnabled(row >= 0 && m_sound.value(row));
}

} // namespace stolvar
