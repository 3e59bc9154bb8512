#pragma once

#include "app/MainWindow.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"
#include "support/Wait.h"
#include "ui/Pages.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace stolvar::test {

// A main window over a temporary program folder, a fixed clock and scripted dialogs.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(QDateTime now = Day(2017, 3, 1, 10, 0))
        : clock(std::make_shared<FixedClock>(now)), messages(std::make_shared<ScriptedMessages>())
    {
    }

    // Creates "<name>.dat" in the program folder and names it as the last database.
    std::shared_ptr<Database> prepareDatabase(const QString& name = QStringLiteral("工程"))
    {
        const QString path = home.file(name + QStringLiteral(".dat"));
        auto db = MakeProjectDatabase(path);
        home.settings().write(keys::kDatabaseFile, path);
        return db;
    }

    // The window as the program shows it: its last database still opening on a worker.
    MainWindow& construct()
    {
        Environment env;
        env.home = home.path();
        env.clock = clock;
        env.messages = messages;
        env.settingsIo = settingsIo;
        window = std::make_unique<MainWindow>(env);
        return *window;
    }

    // `prepare` runs on the new window before its start-up has finished (the last
    // database opens in the background).
    MainWindow& start(const std::function<void(MainWindow&)>& prepare = {})
    {
        construct();
        if (prepare)
            prepare(*window);
        // The last database opens in the background; the tests start from a window whose
        // start-up has run to its end.
        QSignalSpy started(window.get(), &MainWindow::startedUp);
        if (!window->isStartedUp())
            started.wait(20000);
        return *window;
    }

    // Edits are stored on the write queue's thread: this lets every edit asked for so far
    // land, its message shown and the views updated.
    void landEdits() { EXPECT_TRUE(WaitUntil([this] { return ctx().writes.idle(); })) << "an edit never landed"; }
    void clickAndLand(QAbstractButton* button)
    {
        button->click();
        landEdits();
    }

    AppContext& ctx() { return window->context(); }
    WindowWidgets& ui() { return window->widgets(); }
    SettingsStore settings() const { return home.settings(); }

    TempHome home;
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<ScriptedMessages> messages;
    std::shared_ptr<const SettingsFileIo> settingsIo;   // null: the real Temp.ini
    std::unique_ptr<MainWindow> window;
};

} // namespace stolvar::test
