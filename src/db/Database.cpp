#include "db/Database.h"

#include "core/Conversions.h"
#include "db/FileKey.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace stolvar {

const char* const Database::kPassword = "qtrne52817409";

namespace {

QString ErrorText(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

std::shared_ptr<Database> Database::OpenWithFlags(const QString& path, int flags, QString* error)
{
    sqlite3* raw = nullptr;
    const QByteArray file = path.toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &raw, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    std::shared_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK) {
        SetError(error, ErrorText(raw));
        return nullptr;
    }
    sqlite3_busy_timeout(raw, 5000);
    // A file with a salt is opened with the key derived from it (see db/FileKey.h); a new,
    // empty file gets its salt from SQLCipher, which then derives the key itself.
    const QByteArray salt = ReadDatabaseSalt(path);
    const QByteArray derived = salt.isEmpty() ? QByteArray() : DeriveDatabaseKey(kPassword, salt);
    const QString key = derived.isEmpty() ? QStringLiteral("PRAGMA key = '%1'").arg(QLatin1String(kPassword))
                                          : RawKeyPragma(derived);
    // The key takes effect on first access: reading the schema proves it is right.
    if (!db->execute(key, error) || !db->execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), error))
        return nullptr;
    // Every page read from the file is decrypted; a cache that holds a large register
    // whole (32 MB) keeps repeated scans from decrypting the same pages again.
    db->execute(QStringLiteral("PRAGMA cache_size = -32000"));
    return db;
}

std::shared_ptr<Database> Database::Open(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        SetError(error, QStringLiteral("文件不存在：%1").arg(path));
        return nullptr;
    }
    return OpenWithFlags(path, SQLITE_OPEN_READWRITE, error);
}

std::shared_ptr<Database> Database::OpenReadOnly(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        SetError(error, QStringLiteral("文件不存在：%1").arg(path));
        return nullptr;
    }
    return OpenWithFlags(path, SQLITE_OPEN_READONLY, error);
}

// The file is made empty and owner-only before SQLite sees it: an empty file is an empty
// database, and SQLite gives its journal the mode of the database file.
std::shared_ptr<Database> Database::Create(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        SetError(error, QStringLiteral("文件已存在：%1").arg(path));
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        SetError(error, QStringLiteral("无法创建文件：%1（%2）").arg(path, file.errorString()));
        return nullptr;
    }
    file.close();
    auto db = OpenWithFlags(path, SQLITE_OPEN_READWRITE, error);
    if (!db)
        QFile::remove(path);   // no empty file is left behind to be taken for a store
    return db;
}

bool Database::execute(const QString& sql, QString* error)
{
    auto guard = lock();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        SetError(error, message ? QString::fromUtf8(message) : ErrorText(m_db));
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool Database::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

QString Database::lastError() const
{
    return ErrorText(m_db);
}

Statement::Statement(const Database& db, const QString& sql)
    : m_lock(db.lock()), m_db(db.handle())
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
        fail();
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::fail()
{
    m_ok = false;
    m_error = ErrorText(m_db);
}

Statement& Statement::bind(int index, const QVariant& value)
{
    if (!m_ok)
        return *this;
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else if (value.typeId() == QMetaType::QDateTime) {
        rc = sqlite3_bind_text(m_stmt, index, ToStorageText(value.toDateTime()).toUtf8().constData(), -1,
                               SQLITE_TRANSIENT);
    } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
    } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong
               || value.typeId() == QMetaType::Bool) {
        rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
    } else {
        const QByteArray utf8 = value.toString().toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK)
        fail();
    return *this;
}

bool Statement::next()
{
    if (!m_ok)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

bool Statement::run()
{
    while (next()) {
    }
    return m_ok;
}

int Statement::changes() const
{
    return sqlite3_changes(m_db);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QDateTime Statement::dateTime(int column) const
{
    return isNull(column) ? QDateTime() : FromStorageText(text(column));
}

Transaction::Transaction(Database& db) : m_db(db), m_lock(db.lock())
{
    m_began = m_db.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (m_began && !m_done)
        m_db.execute(QStringLiteral("ROLLBACK"));
}

bool Transaction::commit()
{
    if (!m_began || m_done)
        return false;
    m_done = m_db.execute(QStringLiteral("COMMIT"));
    return m_done;
}

} // namespace stolvar
