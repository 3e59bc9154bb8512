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

// Where the program folder is, in order: the folder named on the command line or by
// STOLVAR_HOME; the executable's folder when it can be written (a copied, portable
// program); else the user's data folder (an installed program, whose folder is not ours).
struct ProgramFolderChoice {
    QString namedFolder;        // --home or STOLVAR_HOME, empty when neither
    QString executableFolder;
    bool executableFolderWritable = false;
    QString userDataFolder;
};
QString ChooseProgramFolder(const ProgramFolderChoice& choice);

// The folder of this process's executable; usable before the application object exists.
QString RunningExecutableFolder();

// The rule above on this process: --home (given here) over STOLVAR_HOME over the rest.
// The user's data folder is created readable by its owner only (0700).
QString DefaultProgramFolder(const QString& homeOption = {});

// Creates the folder (and its parents) if missing; a folder created here gets mode 0700.
bool MakePrivateFolder(const QString& path);

} // namespace stolvar
