#pragma once

#include "app/MainWidgetsBuilder.h"
#include "app/WindowWidgets.h"
#include "core/ProgramInfo.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"
#include "support/Wait.h"
#include "ui/AppContext.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <memory>

namespace stolvar::test {

// What a controller test needs: a program folder, scripted dialogs, a fixed clock, the
// window's real controls (each subsystem's widget struct, built as the main window builds
// them), the shared context, a project database and a step that lets background work finish.
class ControllerFixture
{
public:
    explicit ControllerFixture(const QDateTime& now)
        : clock(std::make_shared<FixedClock>(now)), messages(std::make_shared<ScriptedMessages>()),
          context(MakeEnvironment(home, clock, messages))
    {
        window.setWindowTitle(ProgramTitle());
        BuildMainWidgets(&window, ui);
        context.window = &window;
    }

    ~ControllerFixture() { context.tasks.waitForDone(); }

    // A new project database "<name>.dat" in the program folder, now the open one.
    std::shared_ptr<Database> openDatabase(const QString& name = QStringLiteral("p"))
    {
        context.db = MakeProjectDatabase(home.file(name + QStringLiteral(".dat")));
        return context.db;
    }

    // Lets the background work finish and hands its results to the UI thread. A result may
    // start further work (the strength register, once read, has its lot evaluated): a few
    // rounds let such chains end.
    void settle()
    {
        for (int round = 0; round < 3; ++round) {
            context.tasks.waitForDone();
            WaitUntil([this] { return context.writes.idle(); });
            QCoreApplication::processEvents();
        }
    }

    TempHome home;
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<ScriptedMessages> messages;
    AppContext context;
    QMainWindow window;
    WindowWidgets ui;

private:
    static Environment MakeEnvironment(const TempHome& home, std::shared_ptr<FixedClock> clock,
                                       std::shared_ptr<ScriptedMessages> messages)
    {
        Environment env;
        env.home = home.path();
        env.clock = std::move(clock);
        env.messages = std::move(messages);
        return env;
    }
};

} // namespace stolvar::test
