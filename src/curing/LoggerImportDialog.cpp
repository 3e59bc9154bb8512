#include "curing/LoggerImportDialog.h"

#include "core/Conversions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stolvar {

namespace {

QString DegreesText(double value)
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
    : QDialog(parent), m_preview(preview)
{
    setObjectName(QStringLiteral("导入温度记录"));
    setWindowTitle(QStringLiteral("导入温度记录"));
    resize(760, 480);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(LoggerSummaryText(m_preview), this);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    if (m_preview.file.needsDateOrder())
        layout->addWidget(buildOrderChoice());
    m_table = new QTableWidget(0, 7, this);
    m_table->setObjectName(QStringLiteral("温度记录预览表"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("日期"), QStringLiteral("读数"), QStringLiteral("平均温度"),
                                        QStringLiteral("最高温度"), QStringLiteral("最低温度"), QStringLiteral("处理"),
                                        QStringLiteral("说明")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
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
    if (m_order)
        m_preview.rows.clear();   // nothing is listed in an order the clerk has not chosen
    fillTable();
}

// The orders the file's dates fit, none chosen: the program never guesses which is meant.
QWidget* LoggerImportDialog::buildOrderChoice()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("文件中的日期可按不同顺序理解，请选择日期顺序："), row);
    m_order = new QComboBox(row);
    m_order->setObjectName(QStringLiteral("日期顺序框"));
    for (DateOrder order : m_preview.file.orders)
        m_order->addItem(DateOrderText(order), int(order));
    m_order->setPlaceholderText(QStringLiteral("请选择"));
    m_order->setCurrentIndex(-1);
    label->setBuddy(m_order);
    layout->addWidget(label);
    layout->addWidget(m_order);
    layout->addStretch();
    connect(m_order, &QComboBox::currentIndexChanged, this, &LoggerImportDialog::chooseOrder);
    return row;
}

void LoggerImportDialog::chooseOrder(int index)
{
    if (index < 0)
        return;
    m_preview.rows = PlanLoggerRowsInOrder(m_preview, DateOrder(m_order->itemData(index).toInt()));
    fillTable();
}

void LoggerImportDialog::fillTable()
{
    m_table->setRowCount(int(m_preview.rows.size()));
    for (int row = 0; row < m_preview.rows.size(); ++row)
        fillRow(row, m_preview.rows[row]);
    m_import->setEnabled(!m_order || m_order->currentIndex() >= 0);
}

void LoggerImportDialog::fillRow(int row, const LoggerPreviewRow& preview)
{
    auto* date = new QTableWidgetItem(FormatLongDate(WallTime(preview.day.day)));
    date->setFlags(preview.selectable ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    date->setCheckState(preview.ticked ? Qt::Checked : Qt::Unchecked);
    m_table->setItem(row, 0, date);
    m_table->setItem(row, 1, ReadOnlyItem(QString::number(preview.day.readings)));
    m_table->setItem(row, 2, ReadOnlyItem(DegreesText(preview.day.mean)));
    m_table->setItem(row, 3, ReadOnlyItem(DegreesText(preview.day.high)));
    m_table->setItem(row, 4, ReadOnlyItem(DegreesText(preview.day.low)));
    m_table->setItem(row, 5, ReadOnlyItem(PlanText(preview.plan)));
    m_table->setItem(row, 6, ReadOnlyItem(LoggerDayNote(preview)));
}

QVector<LoggerDay> LoggerImportDialog::tickedDays() const
{
    QVector<LoggerDay> days;
    for (int row = 0; row < m_preview.rows.size(); ++row) {
        if (m_preview.rows[row].selectable && m_table->item(row, 0)->checkState() == Qt::Checked)
            days.append(m_preview.rows[row].day);
    }
    return days;
}

} // namespace stolvar
