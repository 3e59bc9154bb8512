#include "db/KeyCache.h"

#include "db/FileKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStandardPaths>

#include <mutex>
#include <utility>

namespace stolvar {

namespace {

// Far more than kMaxCachedKeys lines: a longer file is not the cache's.
constexpr qint64 kMostBytes = 16 * 1024;

struct Entry {
    QByteArray salt;
    QByteArray key;
};

struct Cache {
    std::mutex mutex;
    QString file;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

// The well-formed lines of the file, in order; anything else in it is skipped.
QList<Entry> ReadEntries(const QString& path)
{
    QList<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostBytes)
        return entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() != 2)
            continue;
        Entry entry{QByteArray::fromHex(fields[0]), QByteArray::fromHex(fields[1])};
        if (entry.salt.size() == kDatabaseSaltLength && entry.key.size() == kDatabaseKeyLength
            && fields[0].size() == 2 * kDatabaseSaltLength && fields[1].size() == 2 * kDatabaseKeyLength)
            entries.append(std::move(entry));
    }
    return entries;
}

void WriteEntries(const QString& path, const QList<Entry>& entries)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return;
    QFile::setPermissions(info.absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    for (const Entry& entry : entries)
        file.write(entry.salt.toHex() + ' ' + entry.key.toHex() + '\n');
    file.commit();
}

// The entries without the one of `salt`.
QList<Entry> Without(QList<Entry> entries, const QByteArray& salt)
{
    entries.removeIf([&](const Entry& e) { return e.salt == salt; });
    return entries;
}

} // namespace

void UseKeyCache(const QString& file)
{
    Cache& cache = TheCache();
    const std::lock_guard guard(cache.mutex);
    cache.file = file;
}

QString DefaultKeyCacheFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("stolvar/keys"));
}

QByteArray CachedKey(const QByteArray& salt)
{
    Cache& cache = TheCache();
    const std::lock_guard guard(cache.mutex);
    if (cache.file.isEmpty())
        return {};
    for (const Entry& entry : ReadEntries(cache.file)) {
        if (entry.salt == salt)
            return entry.key;
    }
    return {};
}

void RememberKey(const QByteArray& salt, const QByteArray& key)
{
    if (salt.size() != kDatabaseSaltLength || key.size() != kDatabaseKeyLength)
        return;
    Cache& cache = TheCache();
    const std::lock_guard guard(cache.mutex);
    if (cache.file.isEmpty())
        return;
    const QList<Entry> entries = ReadEntries(cache.file);
    if (!entries.isEmpty() && entries.front().salt == salt && entries.front().key == key)
        return;
    QList<Entry> updated = Without(entries, salt);
    updated.prepend({salt, key});
    if (updated.size() > kMaxCachedKeys)
        updated.resize(kMaxCachedKeys);
    WriteEntries(cache.file, updated);
}

void ForgetKey(const QByteArray& salt)
{
    Cache& cache = TheCache();
    const std::lock_guard guard(cache.mutex);
    if (cache.file.isEmpty())
        return;
    const QList<Entry> entries = ReadEntries(cache.file);
    const QList<Entry> kept = Without(entries, salt);
    if (kept.size() != entries.size())
        WriteEntries(cache.file, kept);
}

} // namespace stolvar
