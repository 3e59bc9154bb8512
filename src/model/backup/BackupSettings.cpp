#include "model/backup/BackupSettings.h"

#include "core/Conversions.h"
#include "core/SettingsStore.h"

#include <QDir>

#include <algorithm>

namespace stolvar {

BackupSettings ReadBackupSettings(const SettingsStore& settings, const QString& home)
{
    BackupSettings result;
    const QString folder = settings.read(keys::kBackupFolder).trimmed();
    result.folder = QDir::cleanPath(QDir(home).absoluteFilePath(folder.isEmpty() ? QStringLiteral("备份") : folder));
    // Keeping no backup at all is no setting: a value below 1 (or no number) keeps the default.
    const int keep = TruncateToInt(ParseNumberText(settings.read(keys::kBackupKeep)));
    if (keep >= 1)
        result.keep = std::min(keep, 10000);
    result.automatic = SettingsStore::IsTrue(settings.read(keys::kAutoBackup, SettingsStore::BoolText(true)));
    return result;
}

} // namespace stolvar
