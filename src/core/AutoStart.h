#pragma once

#include <QString>

namespace stolvar {

// Start at log-on: a per-user XDG autostart entry "<exe name>.desktop" in
// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart). Nothing is ever written
// outside that folder.
QString AutoStartFolder();
QString AutoStartEntryPath(const QString& executablePath);
// Writes the entry when the executable exists; true when written, else `error` says why.
// A program folder other than the executable's own goes into the entry as STOLVAR_HOME,
// so the program started at log-on works on the same folder.
bool RegisterAutoStart(const QString& executablePath, const QString& programFolder = {}, QString* error = nullptr);
// Removes the entry; true when a file was removed.
bool RemoveAutoStart(const QString& executablePath);
// One argument of an Exec line, quoted and escaped by the desktop-entry rules.
QString DesktopExecQuote(const QString& argument);
// The Exec value starting the executable (through `env` when a program folder is named).
QString AutoStartCommand(const QString& executablePath, const QString& programFolder);

} // namespace stolvar
