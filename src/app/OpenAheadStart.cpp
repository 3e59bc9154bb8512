#include "app/OpenAheadStart.h"

#include "core/Keys.h"
#include "core/SettingsStore.h"
#include "db/OpenAhead.h"

#include <QDir>
#include <QFileInfo>

namespace stolvar {

namespace {

// The program folder as DefaultProgramFolder() will find it, but without the application
// object, which does not exist yet. Where the executable cannot be found this way the
// folder stays empty and nothing is opened ahead.
QString ProgramFolderBeforeQt()
{
    const QString fromEnvironment = qEnvironmentVariable("STOLVAR_HOME");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    const QFileInfo executable(QStringLiteral("/proc/self/exe"));
    return executable.exists() ? QFileInfo(executable.canonicalFilePath()).path() : QString();
}

} // namespace

void StartOpeningLastDatabase()
{
    const QString folder = ProgramFolderBeforeQt();
    if (folder.isEmpty())
        return;
    // Only a guess: the start-up open reads Temp.ini again and takes this result only
    // for the very same path, so a folder found differently costs nothing but the time.
    const SettingsStore settings(QDir(folder).filePath(QStringLiteral("Temp.ini")));
    StartOpeningAhead(settings.read(keys::kDatabaseFile, QStringLiteral("文件名")));
}

} // namespace stolvar
