#pragma once

#include <QString>

#include <memory>

namespace stolvar {

class Database;

struct CreateOutcome {
    bool created = false;
    QString message;    // what the clerk is told
    QString fileName;   // name + ".dat"
};

// Creates "<name>.dat" in `folder` with both tables. Nothing half-created is left
// behind: a file whose tables could not be made is removed again.
CreateOutcome CreateProjectDatabaseFile(const QString& folder, const QString& name);

// Why a typed name cannot be a file name in the program folder; empty when it can.
QString InvalidFileNameReason(const QString& name);

} // namespace stolvar
