#pragma once

#include <QString>

namespace stolvar {

// Called as soon as the program folder is known and this start is the only one on it,
// before the window is built: starts opening the database that Temp.ini in the folder
// names as the last one (see db/OpenAhead.h), so that its key derivation runs while the
// window is built.
void StartOpeningLastDatabase(const QString& programFolder);

} // namespace stolvar
