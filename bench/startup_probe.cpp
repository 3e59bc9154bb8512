// Start-up probe: builds the real main window on the program folder given by
// STOLVAR_HOME, shows it, and prints the wall-clock times (ns since the epoch) at which
// the window was first exposed, at which its start-up had filled it from the last
// database, and at which the first painting of the window that ended after that was done
// (what the clerk sees filled); then quits. scripts/startup-bench.sh compares them with the time the
// process was launched, next to the same figure for a bare Qt window.
#include "core/Environment.h"
#include "app/MainWindow.h"
#include "app/OpenAheadStart.h"
#include "db/KeyCache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>

static long long Now()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

static void Print(long long time)
{
    std::printf("%lld\n", time);
    std::fflush(stdout);
}

// Notes when a painting of a window (its exposure or an update) ends once `started` holds.
class PaintWatch : public QApplication
{
public:
    using QApplication::QApplication;
    std::function<bool()> started;
    long long paintedAfterStart = 0;

    bool notify(QObject* receiver, QEvent* event) override
    {
        // Widgets are painted on an update request to their top-level widget or its window.
        const bool topLevel = receiver->isWindowType()
                              || (receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow());
        const bool painting = topLevel && (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest);
        const bool done = QApplication::notify(receiver, event);
        if (painting && !paintedAfterStart && started && started())
            paintedAfterStart = Now();
        return done;
    }
};

int main(int argc, char* argv[])
{
    stolvar::Environment env;
    env.home = stolvar::DefaultProgramFolder();
    // As the program does: the keys of the files are remembered between starts, and the
    // last database starts opening before Qt starts.
    if (qEnvironmentVariableIsEmpty("STOLVAR_NO_KEY_CACHE"))
        stolvar::UseKeyCache(stolvar::DefaultKeyCacheFile());
    if (qEnvironmentVariableIsEmpty("STOLVAR_NO_OPEN_AHEAD"))
        stolvar::StartOpeningLastDatabase(env.home);
    PaintWatch app(argc, argv);
    stolvar::MainWindow window(env);
    app.started = [&window] { return window.isStartedUp(); };
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Print(Now());
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const long long started = Now();
    Print(started);
    // A window whose last painting came after its start-up, and that nothing changed since,
    // is painted filled already.
    QElapsedTimer waiting;
    waiting.start();
    while (!app.paintedAfterStart && waiting.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Print(app.paintedAfterStart ? app.paintedAfterStart : started);
    return 0;
}
