#pragma once

// What the start-up probes share: the wall clock, and an application that notes when the
// first painting of a window (its exposure or an update) ends, and the first once `started`
// holds. The times are noted as the paintings end: a pass of the event loop that did one
// may go on waiting for the next event before it returns.
#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>

inline long long Now()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

inline void Print(long long time)
{
    std::printf("%lld\n", time);
    std::fflush(stdout);
}

class PaintWatch : public QApplication
{
public:
    using QApplication::QApplication;
    std::function<bool()> started;
    long long firstPainted = 0;
    long long paintedAfterStart = 0;

    bool notify(QObject* receiver, QEvent* event) override
    {
        // Widgets are painted on an exposure or an update request to their top-level widget
        // or its window, and only once the window is exposed: the update request that
        // show() posts before that paints nothing.
        QWindow* window = nullptr;
        if (receiver->isWindowType())
            window = static_cast<QWindow*>(receiver);
        else if (receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow())
            window = static_cast<QWidget*>(receiver)->windowHandle();
        const bool asked = window && (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest);
        const bool done = QApplication::notify(receiver, event);
        const bool painting = asked && window->isExposed();
        if (painting && !firstPainted)
            firstPainted = Now();
        if (painting && !paintedAfterStart && started && started())
            paintedAfterStart = Now();
        return done;
    }
};
