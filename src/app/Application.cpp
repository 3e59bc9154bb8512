#include "app/Application.h"

#include "core/Environment.h"
#include "app/MainWindow.h"
#include "app/SignalCloser.h"

#include <QApplication>
#include <QDir>
#include <QFont>

namespace stolvar {

int RunApplication(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stolvar"));
    QApplication::setQuitOnLastWindowClosed(true);

    Environment env;
    env.home = DefaultProgramFolder();
    QDir().mkpath(env.home);

    MainWindow window(env);
    SignalCloser closer(&window);
    window.show();
    return QApplication::exec();
}

} // namespace stolvar
