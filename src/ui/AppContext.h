#pragma once

#include "core/Environment.h"
#include "core/SettingsStore.h"
#include "core/TaskRunner.h"
#include "core/WriteQueue.h"
#include "ui/Selection.h"
#include "ui/WidgetMessages.h"

#include <memory>

class QWidget;

namespace stolvar {

class Database;

// What the controllers of the main window share besides their own controls. Lives as long
// as the main window;
// everything here is used on the UI thread, except that background work receives
// copies (the database handle, the settings path, a selection copy) when it is started.
struct AppContext {
    explicit AppContext(Environment environment)
        : env(std::move(environment)), settings(env.file(QStringLiteral("Temp.ini")), env.settingsIo)
    {
        if (!env.messages)
            env.messages = std::make_shared<WidgetMessages>();
    }

    Messages& messages() const { return *env.messages; }
    QDateTime now() const { return env.clock->now(); }
    QDateTime today() const { return env.clock->today(); }

    Environment env;
    SettingsStore settings;
    TaskRunner tasks;
    WriteQueue writes;   // the register's edits, in the order they were made
    std::shared_ptr<Database> db;   // the open project database; null when none
    CurrentSelection selection;
    QWidget* window = nullptr;
};

} // namespace stolvar
