#include "app/ProportionalLayout.h"

#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QQueue>
#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace stolvar {

namespace {

// Containers whose children the program places itself. Other widgets (grids, trees,
// tab widgets, spin buttons) lay out their own inner parts.
bool PlacesOwnChildren(const QWidget* w)
{
    return w->metaObject() == &QWidget::staticMetaObject || qobject_cast<const QGroupBox*>(w) != nullptr;
}

// To the nearest pixel: with truncation a control inside a group box inside a page would
// lose up to a pixel at each level and drift away from its place.
int Scale(int extent, double ratio)
{
    return int(std::lround(extent * ratio));
}

// A tab page's stack: every page gets the stack's area once it is shown.
const QStackedWidget* PageStack(const QWidget* page)
{
    return qobject_cast<const QStackedWidget*>(page->parentWidget());
}

// The area a parent offers its children now. A tab page that is hidden keeps whatever
// size it had, so it is moved to the area of its stack first.
QSize AreaOf(QWidget* parent)
{
    if (const QStackedWidget* stack = PageStack(parent)) {
        const QRect area = stack->contentsRect();
        if (!area.isEmpty() && parent->geometry() != area)
            parent->setGeometry(area);
        return area.size();
    }
    return parent->size();
}

} // namespace

ProportionalLayout::ProportionalLayout(QWidget* root) : QObject(root), m_root(root), m_designSize(root->size())
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
    // Designed sizes: the root's is given, a placed control's is its geometry now (no
    // control has been moved before the capture), a tab page's is its stack's area.
    QHash<const QWidget*, QSize> designed{{m_root, m_designSize}};
    QQueue<QWidget*> queue;
    queue.enqueue(m_root);
    while (!queue.isEmpty()) {
        QWidget* parent = queue.dequeue();
        if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
            for (int i = 0; i < tabs->count(); ++i) {
                QWidget* page = tabs->widget(i);
                designed.insert(page, AreaOf(page));
                queue.enqueue(page);
            }
        }
        if (!PlacesOwnChildren(parent) && parent != m_root)
            continue;
        const QSize area = designed.value(parent, parent->size());
        for (QWidget* child : PlacedChildren(parent)) {
            const QRect g = child->geometry();
            Entry entry{child, std::nullopt};
            if (area.width() > 0 && area.height() > 0) {
                const double w = area.width(), h = area.height();
                entry.ratios = Ratios{g.x() / w, g.y() / h, g.width() / w, g.height() / h};
            }
            designed.insert(child, g.size());
            m_entries << entry;
            queue.enqueue(child);
        }
    }
    m_designFont = m_root->font();
    m_captured = true;
    watchPages();
    apply();
}

// A page shown for the first time is resized by its stack: its controls follow.
void ProportionalLayout::watchPages()
{
    for (const Entry& entry : std::as_const(m_entries)) {
        QWidget* parent = entry.widget ? entry.widget->parentWidget() : nullptr;
        if (parent && PageStack(parent)) {
            parent->removeEventFilter(this);
            parent->installEventFilter(this);
        }
    }
}

void ProportionalLayout::apply()
{
    if (m_applying)
        return;
    m_applying = true;
    scaleFont();
    for (const Entry& entry : std::as_const(m_entries)) {
        if (!entry.widget || !entry.ratios)
            continue;
        const QSize area = AreaOf(entry.widget->parentWidget());
        const Ratios& r = *entry.ratios;
        entry.widget->setGeometry(Scale(area.width(), r.left), Scale(area.height(), r.top),
                                  Scale(area.width(), r.width), Scale(area.height(), r.height));
    }
    m_applying = false;
}

void ProportionalLayout::scaleFont()
{
    const double scale = std::min({1.0, double(m_root->width()) / m_designSize.width(),
                                   double(m_root->height()) / m_designSize.height()});
    QFont font = m_designFont;
    if (scale < 1.0 && m_designFont.pointSizeF() > 0)
        font.setPointSizeF(m_designFont.pointSizeF() * scale);
    else if (scale < 1.0 && m_designFont.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(m_designFont.pixelSize() * scale)));
    if (font != m_root->font())
        m_root->setFont(font);
}

bool ProportionalLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && m_captured)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace stolvar
