#pragma once

#include "app/Clock.h"
#include "app/Messages.h"

#include <QString>

#include <memory>

namespace stolvar {

// What the program takes from its surroundings: the program folder (Temp.ini, the
// databases and the mail store), the clock and the dialogs. Tests give their own.
struct Environment {
    QString home;
    std::shared_ptr<Clock> clock = std::make_shared<Clock>();
    std::shared_ptr<Messages> messages = std::make_shared<WidgetMessages>();

    QString file(const QString& name) const;
};

// STOLVAR_HOME when set, else the folder of the executable.
QString DefaultProgramFolder();

} // namespace stolvar
