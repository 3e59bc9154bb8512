#include "remind/WorklistController.h"

#include "model/register/GroupStore.h"
#include "model/register/WorklistQuery.h"
#include "remind/ReminderWidgets.h"
#include "ui/AppContext.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace stolvar {

WorklistController::WorklistController(AppContext& ctx, WorklistWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui)
{
    m_ui.grid->setHorizontalHeaderLabels(WorklistHeader());
    connect(m_ui.grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < m_items.size())
            emit groupRequested(m_items[row].group.project, m_items[row].group.position);
    });
    connect(m_ui.grid, &QTableWidget::itemSelectionChanged, this, &WorklistController::updateButton);
    connect(m_ui.markSentButton, &QPushButton::clicked, this, &WorklistController::markSelectedSent);
    updateButton();
}

int WorklistController::leadDays() const
{
    return m_leadDays ? m_leadDays() : 0;
}

void WorklistController::refresh()
{
    const quint64 generation = m_generation.next();
    auto work = [db = m_ctx.db, today = m_ctx.today().date(), lead = leadDays(), rule = ReadCountingRule(m_ctx.settings)] {
        return db ? ComputeWorklist(*db, today, lead, rule) : WorklistResult();
    };
    m_ctx.tasks.run(this, std::move(work), [this, generation](const WorklistResult& result) {
        if (m_generation.isCurrent(generation))
            show(result.items);
    });
}

void WorklistController::show(const QVector<WorkItem>& items)
{
    m_items = items;
    QTableWidget* grid = m_ui.grid;
    grid->setRowCount(int(items.size()));
    // Only the cells whose text changed are written: a refresh that finds the list as it
    // is shown (the page shown again, an edit elsewhere) repaints nothing.
    for (int r = 0; r < items.size(); ++r) {
        const QStringList cells = WorklistRow(items[r]);
        for (int c = 0; c < cells.size(); ++c) {
            if (QTableWidgetItem* cell = grid->item(r, c))
                cell->setText(cells[c]);
            else
                grid->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    m_ui.summaryLabel->setText(WorklistSummary(items, leadDays()));
    updateButton();
}

// Form-removal rows have no sent state: they leave a week after their day.
void WorklistController::updateButton()
{
    const int row = m_ui.grid->currentRow();
    const bool markable = m_ui.grid->selectionModel()->hasSelection() && row >= 0 && row < m_items.size()
                          && m_items[row].kind != DueKind::FormRemoval;
    m_ui.markSentButton->setEnabled(markable);
}

void WorklistController::markSelectedSent()
{
    const int row = m_ui.grid->currentRow();
    if (!m_ctx.db || row < 0 || row >= m_items.size() || m_items[row].kind == DueKind::FormRemoval)
        return;
    const WorkItem item = m_items[row];
    // Stored with the register's other edits; the row leaves once the mark is stored.
    auto store = [db = m_ctx.db, item] {
        return item.kind == DueKind::Standard ? SetStandardState(*db, item.group.project, item.group.position, kSent)
                                              : SetSameConditionState(*db, item.group.project, item.group.position, kSent);
    };
    m_ctx.writes.post(this, std::move(store), [this, db = m_ctx.db, item](const std::optional<QString>& stored) {
        if (!stored) {
            m_ctx.messages().show(m_ctx.window, QStringLiteral("修改失败，请退出并重试！"), Messages::DefaultTitle(),
                                  Messages::Icon::Warning);
            return;
        }
        if (db == m_ctx.db)
            markedSent(item);
    });
}

void WorklistController::markedSent(const WorkItem& item)
{
    m_generation.next();   // a refresh started before the mark would bring the row back
    m_items.removeIf([&](const WorkItem& shown) { return shown.group.id == item.group.id && shown.kind == item.kind; });
    show(m_items);
    emit registerChanged();
}

} // namespace stolvar
