#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;
class QWidget;
class QWindow;

namespace stolvar {

// Calls `done` once: right after the first painting of a top-level widget that ends while
// `ready()` holds, or `latestMs` after it was made if none comes (a window never exposed,
// or shown on another desktop). Paintings come from an exposure or an update request to the
// widget or its window; the window is watched once the widget has one (attach).
class FirstPainting : public QObject
{
public:
    FirstPainting(QWidget* window, std::function<bool()> ready, int latestMs, std::function<void()> done);

    // Watches the widget's window as well; called when the widget is shown.
    void attach(QWindow* window);
    // Calls `done` now, unless it has been called.
    void finish();
    bool isFinished() const { return m_finished; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWindow> m_window;
    std::function<bool()> m_ready;
    std::function<void()> m_done;
    QTimer* m_latest = nullptr;
    bool m_finished = false;
    bool m_painting = false;   // a painting that counts is under way: done follows it
};

} // namespace stolvar
