#pragma once

#include "db/Database.h"
#include "support/TestRegister.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace stolvar::test {

// A register of `groups` groups and as many days, big enough to have pages in its middle.
inline bool MakeFilledRegister(const QString& path, int groups = 300)
{
    auto db = MakeProjectDatabase(path);
    if (!db)
        return false;
    Transaction tx(*db);
    for (int i = 0; i < groups; ++i) {
        if (!InsertGroup(*db, QStringLiteral("%1号楼").arg(i / 10), QStringLiteral("%1层").arg(i), Day(2024, 1, 1).addDays(i))
            || !InsertTemperature(*db, Day(2024, 1, 1).addDays(i), 10 + i % 7, 15.0, 5.0))
            return false;
    }
    return tx.commit();
}

// Overwrites eight bytes inside the page in the middle of the file, as a failing disk
// sector or a bad copy does: SQLCipher's check of that page fails.
inline bool OverwriteMiddlePage(const QString& path, int pageSize = 1024)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 pages = file.size() / pageSize;
    return file.seek((pages / 2) * pageSize + 100) && file.write("\x01\x02\x03\x04\x05\x06\x07\x08", 8) == 8;
}

// Overwrites eight bytes inside page `page` (numbered from 1, as SQLite numbers them).
inline bool OverwritePage(const QString& path, qint64 page, int pageSize = 1024)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && page > 1 && file.seek((page - 1) * pageSize + 100)
           && file.write("\x01\x02\x03\x04\x05\x06\x07\x08", 8) == 8;
}

// The same in the file's last page, one of the rows written last: the file still opens (its
// schema lies in the pages before), and the check of every page finds the damage.
inline bool OverwriteLastPage(const QString& path, int pageSize = 1024)
{
    return OverwritePage(path, QFileInfo(path).size() / pageSize, pageSize);
}

// The same in every page but the first: whatever a query reads beyond the schema fails.
inline bool OverwriteEveryPageButTheFirst(const QString& path, int pageSize = 1024)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    for (qint64 page = 1; page < file.size() / pageSize; ++page) {
        if (!file.seek(page * pageSize + 100) || file.write("\x01\x02\x03\x04\x05\x06\x07\x08", 8) != 8)
            return false;
    }
    return true;
}

inline QByteArray FileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace stolvar::test
