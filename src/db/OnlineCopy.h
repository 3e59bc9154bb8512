#pragma once

#include <QMap>
#include <QString>

#include <functional>

namespace stolvar {

class Database;

// Copies every page of `source` into `target` (a new, empty database with the same
// password) with SQLite's online backup, a few pages at a time, so that the source's
// connection is held only briefly and its writes go on meanwhile (a write through it
// reaches the copy too). `keepGoing` is asked between steps: false abandons the copy.
// `atEnd` runs while the source is still held after its last page, when the copy is
// exactly the source. "" when done, else why not.
QString CopyDatabase(const Database& source, Database& target, const std::function<bool()>& keepGoing,
                     const std::function<void()>& atEnd = {});

// The number of rows of every table of the file (SQLite's own tables included).
QMap<QString, qint64> TableRowCounts(const Database& db, QString* error = nullptr);

} // namespace stolvar
