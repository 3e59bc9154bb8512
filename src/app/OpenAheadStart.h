#pragma once

#include <QString>

namespace stolvar {

// Called as soon as the program folder is known and this start is the only one on it,
// before Qt starts: starts opening the database that Temp.ini in the folder names as the
// last one and reading its project tree (see db/OpenAhead.h), so that both run while Qt
// starts and the window is built.
void StartOpeningLastDatabase(const QString& programFolder);

} // namespace stolvar
