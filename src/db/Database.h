#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace stolvar {

struct OpenFailure;

// One password-protected SQLCipher connection. The connection is shared by the UI
// thread and background tasks; every statement holds the connection's lock for its
// whole life, so a query and its row walk are never interleaved with another.
class Database
{
public:
    static const char* const kPassword;

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file; fails (null, with a reason) for a missing file, a file
    // of another key or a file that is no database.
    static std::shared_ptr<Database> Open(const QString& path, QString* error = nullptr);
    static std::shared_ptr<Database> Open(const QString& path, OpenFailure* failure);
    // Opens an existing file for reading only: nothing is ever written to it.
    static std::shared_ptr<Database> OpenReadOnly(const QString& path, QString* error = nullptr);
    // Creates a new file, readable and writable by its owner only (0600); fails when
    // the file exists.
    static std::shared_ptr<Database> Create(const QString& path, QString* error = nullptr);

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }
    // True when the file could only be opened for reading (write-protected file or folder).
    bool isReadOnly() const;
    std::unique_lock<std::recursive_mutex> lock() const { return std::unique_lock(m_mutex); }

    // Runs statements without values (schema, pragmas); false on failure.
    bool execute(const QString& sql, QString* error = nullptr);
    // The most memory the connection's page cache may take. Every page read from the file
    // is decrypted, so a cache that holds a large register whole (the default) keeps
    // repeated scans from decrypting the same pages again.
    static constexpr int kDefaultCacheKiB = 32000;
    void setCacheKiB(int kib);
    // The text of the last failure on this connection, as the clerk reads it: a full disk
    // says "磁盘空间不足，数据未保存", a damaged file what is wrong with it.
    QString lastError() const;

    // A file found damaged (by the check at opening, or by any statement failing as
    // SQLITE_CORRUPT or SQLITE_NOTADB) is never written again through this connection: every
    // statement that would change it is refused, reads go on as far as they can.
    void markDamaged(const QString& reason) const;
    bool isDamaged() const;
    QString damage() const;   // "" while sound
    // Told once, with the reason, on the thread that found the damage (at once, when the
    // file is known to be damaged already).
    void setDamageHandler(std::function<void(const QString& reason)> handler);

    // A file just opened is checked on a worker while the window fills from it; until
    // endCheck() every statement that writes waits (at most kCheckWaitMs, then it fails),
    // reads go ahead. Set by the one who opened the file, before anyone else has it.
    void holdWritesUntilChecked();
    void endCheck();
    static constexpr int kCheckWaitMs = 10000;
    // A second connection to the same file with the same key (no key derivation), for the
    // check and for work that must not wait for this connection.
    std::shared_ptr<Database> openSibling(QString* error = nullptr) const;
    // A new file (0600) keyed as this one, salt included, so that no key is derived for it:
    // a copy of this file opens with the password as this file does.
    std::shared_ptr<Database> createAlike(const QString& path, QString* error = nullptr) const;

    // Set when the file's project summary (gchz) was found wrong and could not be made
    // right: whoever counts the projects then counts them from the groups themselves.
    void distrustProjectSummary() const { m_summaryDistrusted = true; }
    bool isProjectSummaryDistrusted() const { return m_summaryDistrusted; }

    // Rows changed through this connection since it was opened (inserts, updates, deletes).
    qint64 totalChanges() const;

private:
    Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}
    static std::shared_ptr<Database> OpenWithFlags(const QString& path, int flags, QString* error, int* code);
    static std::shared_ptr<Database> OpenWithRawKey(const QString& path, int flags, const QByteArray& key,
                                                    const QByteArray& salt, QString* error, int* code);
    static std::shared_ptr<Database> OpenWithKey(const QString& path, int flags, const QString& key, QString* error,
                                                 int* code);
    bool waitUntilChecked() const;
    bool isCheckPending() const;
    // Prepared statements kept for their next use, under the connection's lock: parsing
    // and planning a query again took about a seventh of a click on a position.
    sqlite3_stmt* takeKeptStatement(const QByteArray& sql) const;
    void keepStatement(const QByteArray& sql, sqlite3_stmt* stmt) const;
    struct KeptStatement {
        QByteArray sql;
        sqlite3_stmt* stmt;
    };
    static constexpr int kKeptStatements = 64;
    friend class Transaction;
    friend class Statement;
    // Notes a failed call: its text for lastError(), and damage when the engine saw it.
    void noteFailure() const;

    sqlite3* m_db;
    QString m_path;
    mutable std::recursive_mutex m_mutex;
    mutable std::mutex m_stateMutex;   // guards what follows
    mutable QString m_lastFailure;
    mutable QString m_damage;
    std::atomic<bool> m_checkPending{false};
    mutable std::atomic<bool> m_summaryDistrusted{false};
    std::function<void(const QString&)> m_onDamage;
    QString m_keyPragma;
    QString m_alikeKeyPragma;   // with the salt of the file; "" for a file SQLCipher keyed
    mutable std::vector<KeptStatement> m_kept;   // the most recently used last; under m_mutex
};

// What a write that failed for a full disk says, and one refused on a damaged file.
QString DiskFullText();
QString DamagedWriteRefusedText();

// The primary result code of an open that failed, for telling a damaged file
// (SQLITE_CORRUPT) from one that is no database of this key (SQLITE_NOTADB).
struct OpenFailure {
    QString text;
    int code = 0;
};

// A short-lived prepared statement with bound values. Values are bound by position
// (1-based, as the ? marks); a QDateTime binds as the storage text, a null QVariant as NULL.
class Statement
{
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const QVariant& value);
    template <typename... Values>
    Statement& bindAll(const Values&... values)
    {
        int index = 0;
        (bind(++index, QVariant::fromValue(values)), ...);
        return *this;
    }

    // Moves to the next row; false at the end or on failure (see ok()).
    bool next();
    // Runs a statement that returns no rows; false on failure.
    bool run();
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    int changes() const;
    int columnCount() const;   // columns of the result rows

    bool isNull(int column) const;
    QString text(int column) const;          // NULL reads as ""
    double real(int column) const;           // NULL reads as 0
    qint64 integer(int column) const;
    QDateTime dateTime(int column) const;    // NULL or unreadable: invalid QDateTime

private:
    void fail();

    std::unique_lock<std::recursive_mutex> m_lock;
    const Database& m_owner;
    sqlite3* m_db;
    QByteArray m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_keep = false;   // given back to the connection for the next use of the same text
    bool m_ok = true;
    QString m_error;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed. Holds the connection lock,
// so check-then-insert pairs cannot interleave with another thread's.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool ok() const { return m_began; }
    bool commit();

private:
    Database& m_db;
    std::unique_lock<std::recursive_mutex> m_lock;
    bool m_began = false;
    bool m_done = false;
};

} // namespace stolvar
