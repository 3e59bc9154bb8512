#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <memory>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace stolvar {

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
    // Opens an existing file for reading only: every write fails, isReadOnly() is true.
    static std::shared_ptr<Database> OpenForReading(const QString& path, QString* error = nullptr);
    // Creates a new file; fails when the file exists.
    static std::shared_ptr<Database> Create(const QString& path, QString* error = nullptr);

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }
    // True when the file could only be opened for reading (write-protected file or folder).
    bool isReadOnly() const;
    std::unique_lock<std::recursive_mutex> lock() const { return std::unique_lock(m_mutex); }

    // Runs statements without values (schema, pragmas); false on failure.
    bool execute(const QString& sql, QString* error = nullptr);
    QString lastError() const;

private:
    Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}
    static std::shared_ptr<Database> OpenWithFlags(const QString& path, int flags, QString* error);

    sqlite3* m_db;
    QString m_path;
    mutable std::recursive_mutex m_mutex;
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
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
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
