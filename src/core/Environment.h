#pragma once

#include "core/Clock.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"

#include <QString>

#include <memory>

namespace stolvar {

// What the program takes from its surroundings: the program folder (Temp.ini, the
// databases and the mail store), the clock and the dialogs. Tests give their own.
struct Environment {
    QString home;
    std::shared_ptr<Clock> clock = std::make_shared<Clock>();
    std::shared_ptr<Messages> messages;   // null: the real dialogs of the main window
    std::shared_ptr<const SettingsFileIo> settingsIo;   // null: the real Temp.ini

    QString file(const QString& name) const;
};

// STOLVAR_HOME when set, else the folder of the executable.
QString DefaultProgramFolder();

} // namespace stolvar
