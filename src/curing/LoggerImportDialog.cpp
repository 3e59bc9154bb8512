#include "curing/LoggerImportDialog.h"

#include "core/Conversions.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stolvar {

namespace {

QString Degrees(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral("℃");
}

QTableWidgetItem* ReadOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

LoggerImportDialog::LoggerImportDialog(const LoggerPreview& preview, QWidget* parent)
    : QDialog(parent), m_rows(preview.rows)
{
    setObjectName(QStringLiteral("导入温度记录"));
    setWindowTitle(QStringLiteral("导入温度记录"));
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(LoggerSummaryText(preview), this));
    m_table = new QTableWidget(int(m_rows.size()), 6, this);
    m_table->setObjectName(QStringLiteral("温度记录预览表"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("日期"), QStringLiteral("读数"), QStringLiteral("平均温度"),
                                        QStringLiteral("最高温度"), QStringLiteral("最低温度"), QStringLiteral("处理")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < m_rows.size(); ++row)
        fillRow(row, m_rows[row]);
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("导入"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("取消"));
    layout->addWidget(buttons);
    connect(m_import, &QPushButton::clicked, this, [this] {
        emit importRequested(tickedDays());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void LoggerImportDialog::fillRow(int row, const LoggerPreviewRow& preview)
{
    auto* date = new QTableWidgetItem(FormatLongDate(WallTime(preview.day.day)));
    date->setFlags(preview.selectable ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    date->setCheckState(preview.ticked ? Qt::Checked : Qt::Unchecked);
    m_table->setItem(row, 0, date);
    m_table->setItem(row, 1, ReadOnlyItem(QString::number(preview.day.readings)));
    m_table->setItem(row, 2, ReadOnlyItem(Degrees(preview.day.mean)));
    m_table->setItem(row, 3, ReadOnlyItem(Degrees(preview.day.high)));
    m_table->setItem(row, 4, ReadOnlyItem(Degrees(preview.day.low)));
    m_table->setItem(row, 5, ReadOnlyItem(PlanText(preview.plan)));
}

QVector<LoggerDay> LoggerImportDialog::tickedDays() const
{
    QVector<LoggerDay> days;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].selectable && m_table->item(row, 0)->checkState() == Qt::Checked)
            days.append(m_rows[row].day);
    }
    return days;
}

} // namespace stolvar
