#include "app/Application.h"

#include "core/Environment.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/OpenAheadStart.h"
#include "app/QtTranslations.h"
#include "app/SignalCloser.h"
#include "app/SingleInstance.h"
#include "db/KeyCache.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <cstdlib>
#include <cstdio>

namespace stolvar {

namespace {

// The options are stored and the database is closed; what still runs (a mail server that
// does not answer) must not hold the closing program.
[[noreturn]] void EndWithoutWaiting(SingleInstance& instance, int code)
{
    instance.release();
    std::_Exit(code);
}

} // namespace

int RunApplication(int argc, char* argv[])
{
    const CommandLine commandLine = ParseCommandLine(ArgumentsOf(argc, argv));
    if (commandLine.action == CommandLine::Action::Print) {
        std::fputs(commandLine.text.toLocal8Bit().constData(), commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    // The folder and the lock come before Qt starts, so that the last database starts
    // opening (its key derivation takes the longest) while Qt and the window are built. A
    // second start on the folder reads nothing of it.
    QCoreApplication::setApplicationName(QStringLiteral("stolvar"));
    Environment env;
    env.home = DefaultProgramFolder(commandLine.home);
    QDir().mkpath(env.home);
    SingleInstance instance(env.home, SingleInstance::Listening::Later);
    UseKeyCache(DefaultKeyCacheFile());
    if (instance.holdsLock())
        StartOpeningLastDatabase(env.home);

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("com.example.stolvar"));
    QApplication::setQuitOnLastWindowClosed(true);
    InstallQtTranslations(app);
    instance.startListening();
    if (!instance.isPrimary()) {
        instance.askRunningToShow();
        return 0;
    }

    MainWindow window(env);
    SignalCloser closer(&window);
    instance.raiseOnRequest(&window);
    window.show();
    const int code = QApplication::exec();
    if (!window.allWorkFinished())
        EndWithoutWaiting(instance, code);
    return code;
}

} // namespace stolvar
