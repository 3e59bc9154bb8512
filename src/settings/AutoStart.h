#pragma once

#include <QString>

namespace stolvar {

// Start at log-on: a per-user XDG autostart entry "<exe name>.desktop" in
// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart). Nothing is ever written
// outside that folder.
QString AutoStartFolder();
QString AutoStartEntryPath(const QString& executablePath);
// Writes the entry when the executable exists; true when written.
bool RegisterAutoStart(const QString& executablePath);
// Removes the entry; true when a file was removed.
bool RemoveAutoStart(const QString& executablePath);
// The Exec value of a desktop entry: the path quoted with its special characters escaped.
QString DesktopExecQuote(const QString& path);

} // namespace stolvar
