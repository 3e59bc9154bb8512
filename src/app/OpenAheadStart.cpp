#include "app/OpenAheadStart.h"

#include "core/Keys.h"
#include "core/SettingsStore.h"
#include "db/OpenAhead.h"
#include "model/register/ProjectOutline.h"

#include <QDir>

namespace stolvar {

void StartOpeningLastDatabase(const QString& folder)
{
    // The start-up open reads Temp.ini again and takes this result only for the very same
    // path, so a file renamed meanwhile costs nothing but the time.
    const SettingsStore settings(QDir(folder).filePath(QStringLiteral("Temp.ini")));
    // The same thread then reads the project tree, which the start-up takes with the file.
    StartOpeningAhead(settings.read(keys::kDatabaseFile, QStringLiteral("文件名")),
                      [](const Database& db) { return std::any(LoadProjectOutline(db)); });
}

} // namespace stolvar
