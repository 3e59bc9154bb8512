#include "app/Application.h"

#include "core/Environment.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SignalCloser.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <cstdio>

namespace stolvar {

int RunApplication(int argc, char* argv[])
{
    const CommandLine commandLine = ParseCommandLine(ArgumentsOf(argc, argv));
    if (commandLine.action == CommandLine::Action::Print) {
        std::fputs(commandLine.text.toLocal8Bit().constData(), commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stolvar"));
    QApplication::setDesktopFileName(QStringLiteral("com.example.stolvar"));
    QApplication::setQuitOnLastWindowClosed(true);

    Environment env;
    env.home = DefaultProgramFolder(commandLine.home);
    QDir().mkpath(env.home);

    MainWindow window(env);
    SignalCloser closer(&window);
    window.show();
    return QApplication::exec();
}

} // namespace stolvar
