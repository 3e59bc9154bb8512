// Start-up probe: builds the real main window on the program folder given by
// STOLVAR_HOME, shows it, and prints the wall-clock times (ns since the epoch) at which
// the window's first painting ended, at which its start-up had filled it from the last
// database, and at which the first painting of the window that ended after that was done
// (what the clerk sees filled); then quits. scripts/startup-bench.sh compares them with the time the
// process was launched, next to the same figure for a bare Qt window.
#include "core/Environment.h"
#include "app/MainWindow.h"
#include "app/OpenAheadStart.h"
#include "db/KeyCache.h"

#include "PaintWatch.h"

#include <QElapsedTimer>

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
    long long startedUp = window.isStartedUp() ? Now() : 0;
    QObject::connect(&window, &stolvar::MainWindow::startedUp, &window, [&startedUp] { startedUp = Now(); });
    app.started = [&window] { return window.isStartedUp(); };
    window.show();
    while (!app.firstPainted || !startedUp)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Print(app.firstPainted);
    Print(startedUp);
    // A window whose last painting came after its start-up, and that nothing changed since,
    // is painted filled already.
    QElapsedTimer waiting;
    waiting.start();
    while (!app.paintedAfterStart && waiting.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Print(app.paintedAfterStart ? app.paintedAfterStart : startedUp);
    return 0;
}
