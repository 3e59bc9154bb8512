#include "app/FirstPainting.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace stolvar {

FirstPainting::FirstPainting(QWidget* window, std::function<bool()> ready, int latestMs, std::function<void()> done)
    : QObject(window), m_ready(std::move(ready)), m_done(std::move(done))
{
    window->installEventFilter(this);
    m_latest = new QTimer(this);
    m_latest->setSingleShot(true);
    connect(m_latest, &QTimer::timeout, this, &FirstPainting::finish);
    m_latest->start(latestMs);
}

void FirstPainting::attach(QWindow* window)
{
    if (m_finished || !window || window == m_window)
        return;
    m_window = window;
    window->installEventFilter(this);
}

void FirstPainting::finish()
{
    if (std::exchange(m_finished, true))
        return;
    m_latest->stop();
    parent()->removeEventFilter(this);
    if (m_window)
        m_window->removeEventFilter(this);
    m_done();
}

bool FirstPainting::eventFilter(QObject* watched, QEvent* event)
{
    const bool asked = event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest;
    if (asked && !m_finished && !m_painting && m_window && m_window->isExposed() && m_ready()) {
        // The painting is done while this event is handled: done comes after it.
        m_painting = true;
        QTimer::singleShot(0, this, &FirstPainting::finish);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace stolvar
