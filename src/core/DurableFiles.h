#pragma once

#include <QString>

namespace stolvar {

// What a failed file operation's errno means, for the clerk: the usual causes of a dusty
// office computer in words ("磁盘已满" for a full disk), the system's own text otherwise.
QString SystemErrorText(int error);

// Forces the entry of a renamed or created file in `folder` to the disk (best effort: a
// file system without directory sync is not an error).
void SyncFolder(const QString& folder);

// Copies `from` to `to` so that `to` is either absent or complete: through `to` + ".part"
// (mode 0600), synced, then renamed over `to`. "" when done, else why not; the temporary
// file is removed on failure.
QString CopyFileDurably(const QString& from, const QString& to);

// The name a file carries while it is written, before it is renamed to its own.
QString PartName(const QString& path);

} // namespace stolvar
