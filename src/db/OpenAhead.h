#pragma once

#include "db/RegisterCheck.h"

#include <QString>

#include <any>
#include <functional>
#include <memory>
#include <optional>

namespace stolvar {

class Database;

// Opening a database ahead of time: the program starts opening its last database on a
// thread of its own as soon as it knows its program folder and holds it alone, so that
// deriving the file's key overlaps the building of the window. The start-up open then takes that result instead of
// opening the file again.

// What the thread that opened the file made of it beside opening it (the start-up reads
// the project tree there, while the window is still being built).
using AheadWork = std::function<std::any(const Database&)>;
struct OpenedAhead {
    std::shared_ptr<Database> db;   // null when the file could not be opened
    std::any prepared;              // what `prepare` returned; empty without it or without a file
    RegisterOpening::Problem problem = RegisterOpening::Problem::None;
    QString reason;                 // what is wrong with the file; "" when nothing is
};

// Starts opening `path` as a register (OpenRegister without its check, which runs once the
// window is filled) and, once it is open, runs `prepare` on it on the same thread;
// ignored while the result of an earlier call waits to be taken.
void StartOpeningAhead(const QString& path, AheadWork prepare = {});
// The result of the open ahead of exactly this path, waiting for it if need be. Nothing
// when no open ahead was started for this path or its result was taken already.
std::optional<OpenedAhead> TakeOpenedAheadWithWork(const QString& path);
// The same, the database alone: null when it could not be opened.
std::optional<std::shared_ptr<Database>> TakeOpenedAhead(const QString& path);
// True when an open ahead of this path has ended and its result is still there to take.
bool IsOpenedAhead(const QString& path);

} // namespace stolvar
