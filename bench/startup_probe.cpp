// Start-up probe: builds the real main window on the program folder given by
// STOLVAR_HOME, shows it, and prints the wall-clock times (ns since the epoch) at which
// the window was first exposed and at which its start-up had filled it from the last
// database; then quits. scripts/startup-bench.sh compares them with the time the
// process was launched, next to the same figure for a bare Qt window.
#include "core/Environment.h"
#include "app/MainWindow.h"
#include "app/OpenAheadStart.h"

#include <QApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>

static void PrintNow()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

int main(int argc, char* argv[])
{
    stolvar::Environment env;
    env.home = stolvar::DefaultProgramFolder();
    // As the program does: the last database starts opening before Qt starts.
    if (qEnvironmentVariableIsEmpty("STOLVAR_NO_OPEN_AHEAD"))
        stolvar::StartOpeningLastDatabase(env.home);
    QApplication app(argc, argv);
    stolvar::MainWindow window(env);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    PrintNow();
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    PrintNow();
    return 0;
}
