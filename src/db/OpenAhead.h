#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace stolvar {

class Database;

// Opening a database ahead of time: the program starts opening its last database on a
// thread of its own as soon as it knows its program folder and holds it alone, so that
// deriving the file's key overlaps the building of the window. The start-up open then takes that result instead of
// opening the file again.

// Starts opening `path`; ignored while the result of an earlier call waits to be taken.
void StartOpeningAhead(const QString& path);
// The result of the open ahead of exactly this path, waiting for it if need be: the
// database, or null when it could not be opened. Nothing when no open ahead was started
// for this path or its result was taken already.
std::optional<std::shared_ptr<Database>> TakeOpenedAhead(const QString& path);
// True when an open ahead of this path has ended and its result is still there to take.
bool IsOpenedAhead(const QString& path);

} // namespace stolvar
