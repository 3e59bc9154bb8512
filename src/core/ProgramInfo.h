#pragma once

#include <QString>

namespace stolvar {

// The program's title, which is also its version identity for the update check.
inline QString ProgramTitle() { return QStringLiteral("Stolvar2.5"); }

} // namespace stolvar
