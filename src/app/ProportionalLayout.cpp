#include "app/ProportionalLayout.h"

#include <QEvent>
#include <QGroupBox>
#include <QQueue>
#include <QStackedWidget>
#include <QTabWidget>

#include <cmath>

namespace stolvar {

namespace {

// Containers whose children the program places itself. Other widgets (grids, trees,
// tab widgets, spin buttons) lay out their own inner parts.
bool PlacesOwnChildren(const QWidget* w)
{
    return w->metaObject() == &QWidget::staticMetaObject || qobject_cast<const QGroupBox*>(w) != nullptr;
}

int Scale(int extent, double ratio)
{
    return int(std::trunc(extent * ratio));
}

} // namespace

ProportionalLayout::ProportionalLayout(QWidget* root) : QObject(root), m_root(root)
{
    root->installEventFilter(this);
}

QList<QWidget*> ProportionalLayout::PlacedChildren(QWidget* parent)
{
    QList<QWidget*> children;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow())
            children << w;
    }
    return children;
}

void ProportionalLayout::capture()
{
    m_entries.clear();
    QQueue<QWidget*> queue;
    queue.enqueue(m_root);
    while (!queue.isEmpty()) {
        QWidget* parent = queue.dequeue();
        // The pages of a tab widget are sized by it; their contents are ours.
        if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
            for (int i = 0; i < tabs->count(); ++i)
                queue.enqueue(tabs->widget(i));
        }
        if (!PlacesOwnChildren(parent) && parent != m_root)
            continue;
        for (QWidget* child : PlacedChildren(parent)) {
            const QSize area = parent->size();
            const QRect g = child->geometry();
            Entry entry{child, std::nullopt};
            if (area.width() > 0 && area.height() > 0) {
                const double w = area.width(), h = area.height();
                entry.ratios = Ratios{g.x() / w, g.y() / h, g.width() / w, g.height() / h};
            }
            m_entries << entry;
            queue.enqueue(child);
        }
    }
    m_captured = true;
}

void ProportionalLayout::apply()
{
    for (const Entry& entry : std::as_const(m_entries)) {
        if (!entry.widget || !entry.ratios)
            continue;
        const QSize area = entry.widget->parentWidget()->size();
        const Ratios& r = *entry.ratios;
        entry.widget->setGeometry(Scale(area.width(), r.left), Scale(area.height(), r.top),
                                  Scale(area.width(), r.width), Scale(area.height(), r.height));
    }
}

bool ProportionalLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_root && event->type() == QEvent::Resize && m_captured)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace stolvar
