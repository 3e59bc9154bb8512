#pragma once

#include <QString>

namespace stolvar {

class SettingsStore;

// Temp.ini 备份配置: where the backups of the open register go and how many are kept.
struct BackupSettings {
    static constexpr int kDefaultKeep = 30;   // a month of working days and then some

    QString folder;          // absolute
    int keep = kDefaultKeep; // generations kept; at least 1
    bool automatic = true;   // once a day after the first write, and at close
};

// Missing keys take the defaults: the folder "备份" in the program folder `home` (a
// relative folder is taken in it too), 30 generations (also for a value below 1),
// automatic backups on (when the key is missing or "真").
BackupSettings ReadBackupSettings(const SettingsStore& settings, const QString& home);

} // namespace stolvar
