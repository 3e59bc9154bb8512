#pragma once

#include "core/TaskRunner.h"
#include "model/maturity/Worklist.h"

#include <QObject>

#include <functional>

namespace stolvar {

struct AppContext;
struct WorklistWidgets;

// The page "送检待办": the worklist is computed on a worker from the register and applied
// when ready (a newer refresh replaces an older one). A double click asks for the group in
// the tree; "标记委托" marks the selected row's kind as sent and the row leaves at once.
class WorklistController : public QObject
{
    Q_OBJECT
public:
    WorklistController(AppContext& ctx, WorklistWidgets& ui, QObject* parent = nullptr);
    void setLeadDaysSource(std::function<int()> leadDays) { m_leadDays = std::move(leadDays); }

    void refresh();
    const QVector<WorkItem>& items() const { return m_items; }
    void markSelectedSent();

signals:
    void groupRequested(const QString& project, const QString& position);
    // A row was marked sent: the register changed.
    void registerChanged();

private:
    void show(const QVector<WorkItem>& items);
    void updateButton();
    void markedSent(const WorkItem& item);
    int leadDays() const;

    AppContext& m_ctx;
    WorklistWidgets& m_ui;
    std::function<int()> m_leadDays;
    Generation m_generation;
    QVector<WorkItem> m_items;
};

} // namespace stolvar
