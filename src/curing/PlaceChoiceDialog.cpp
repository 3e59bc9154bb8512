#include "curing/PlaceChoiceDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stolvar {

namespace {

QTableWidgetItem* Cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

PlaceChoiceDialog::PlaceChoiceDialog(const QString& city, const QVector<PlaceChoice>& places, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("选择地点"));
    setWindowTitle(QStringLiteral("选择地点"));
    resize(520, 320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("找到多个名为“%1”的地点，请选择工地所在的一个：").arg(city), this));
    m_list = new QTableWidget(int(places.size()), 3, this);
    m_list->setObjectName(QStringLiteral("地点列表"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("地名"), QStringLiteral("省份"), QStringLiteral("区县")});
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < places.size(); ++row) {
        m_list->setItem(row, 0, Cell(places[row].place.name));
        m_list->setItem(row, 1, Cell(places[row].place.province));
        m_list->setItem(row, 2, Cell(places[row].county));
    }
    m_list->resizeColumnsToContents();
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("确定"));
    ok->setEnabled(false);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("取消"));
    layout->addWidget(buttons);
    connect(m_list, &QTableWidget::itemSelectionChanged, ok, [this, ok] { ok->setEnabled(chosenRow() >= 0); });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int PlaceChoiceDialog::chosenRow() const
{
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->row();
}

} // namespace stolvar
