#include "db/OnlineCopy.h"

#include "db/Database.h"

#include <QStringList>

#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <thread>

namespace stolvar {

namespace {

// About a quarter of a megabyte per step: a step takes a millisecond or two.
constexpr int kPagesPerStep = 256;

QString StepFailedText(int rc, sqlite3* target)
{
    if ((rc & 0xFF) == SQLITE_FULL)
        return DiskFullText();
    const char* message = sqlite3_errmsg(target);
    return QString::fromUtf8(rc == SQLITE_OK || !message ? sqlite3_errstr(rc) : message);
}

} // namespace

QString CopyDatabase(const Database& source, Database& target, const std::function<bool()>& keepGoing,
                     const std::function<void()>& atEnd)
{
    sqlite3_backup* copy = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!copy)
        return target.lastError();
    int rc = SQLITE_OK;
    while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (keepGoing && !keepGoing()) {
            sqlite3_backup_finish(copy);
            return QStringLiteral("复制被中断");
        }
        auto held = source.lock();
        rc = sqlite3_backup_step(copy, kPagesPerStep);
        if (rc == SQLITE_DONE && atEnd)
            atEnd();
        held.unlock();
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int stepRc = rc;
    const int finishRc = sqlite3_backup_finish(copy);
    if (stepRc != SQLITE_DONE) {
        // A source that cannot be read is damaged: it says so to whoever watches it.
        const int primary = stepRc & 0xFF;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
            source.markDamaged(QString::fromUtf8(sqlite3_errstr(stepRc)));
        return StepFailedText(stepRc, target.handle());
    }
    return finishRc == SQLITE_OK ? QString() : StepFailedText(finishRc, target.handle());
}

QMap<QString, qint64> TableRowCounts(const Database& db, QString* error)
{
    QStringList tables;
    {
        Statement st(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (st.next())
            tables << st.text(0);
        if (!st.ok() && error)
            *error = st.error();
    }
    QMap<QString, qint64> counts;
    for (const QString& table : tables) {
        // The names come from the file itself; quoted as identifiers, never as values.
        QString quoted = table;
        quoted.replace(u'"', QStringLiteral("\"\""));
        Statement st(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(quoted));
        if (st.next())
            counts.insert(table, st.integer(0));
        else if (error)
            *error = st.error();
    }
    return counts;
}

} // namespace stolvar
