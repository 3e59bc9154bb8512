#include "db/Database.h"

#include "core/Conversions.h"
#include "db/FileKey.h"
#include "db/KeyCache.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

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

bool IsDamageCode(int code)
{
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// Installed once the file is known to be damaged: reading goes on, nothing changes it.
int RefuseWrites(void*, int action, const char* first, const char* second, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_PRAGMA:   // reading a pragma, or a table's columns
        return second == nullptr || std::strcmp(first, "table_info") == 0 ? SQLITE_OK : SQLITE_DENY;
    default:
        return SQLITE_DENY;
    }
}

} // namespace

QString DiskFullText()
{
    return QStringLiteral("磁盘空间不足，数据未保存");
}

QString DamagedWriteRefusedText()
{
    return QStringLiteral("工程数据库已损坏，不再写入");
}

Database::~Database()
{
    for (const KeptStatement& kept : m_kept)
        sqlite3_finalize(kept.stmt);
    sqlite3_close_v2(m_db);
}

sqlite3_stmt* Database::takeKeptStatement(const QByteArray& sql) const
{
    for (auto it = m_kept.rbegin(); it != m_kept.rend(); ++it) {
        if (it->sql == sql) {
            sqlite3_stmt* stmt = it->stmt;
            m_kept.erase(std::next(it).base());
            return stmt;
        }
    }
    return nullptr;
}

// A statement of the same text already kept (one used inside another) is finalized.
void Database::keepStatement(const QByteArray& sql, sqlite3_stmt* stmt) const
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const bool twice = std::any_of(m_kept.begin(), m_kept.end(), [&](const KeptStatement& k) { return k.sql == sql; });
    if (twice) {
        sqlite3_finalize(stmt);
        return;
    }
    if (int(m_kept.size()) >= kKeptStatements) {
        sqlite3_finalize(m_kept.front().stmt);
        m_kept.erase(m_kept.begin());
    }
    m_kept.push_back({sql, stmt});
}

std::shared_ptr<Database> Database::OpenWithFlags(const QString& path, int flags, QString* error, int* code)
{
    // A file with a salt is opened with the key derived from it (see db/FileKey.h) or
    // remembered for it (db/KeyCache.h); a new, empty file gets its salt from SQLCipher,
    // which then derives the key itself.
    const QByteArray salt = ReadDatabaseSalt(path);
    if (salt.isEmpty())
        return OpenWithKey(path, flags, QStringLiteral("PRAGMA key = '%1'").arg(QLatin1String(kPassword)), error, code);
    if (const QByteArray cached = CachedKey(salt); !cached.isEmpty()) {
        QString cachedError;   // a failure here is not the caller's to see
        int cachedCode = 0;
        if (auto db = OpenWithRawKey(path, flags, cached, salt, &cachedError, &cachedCode))
            return db;
        // Not this file's key: the file was replaced by one with the same salt, or the
        // cache was changed. Any other failure is the file's, and is met again below.
        if (cachedCode == SQLITE_NOTADB)
            ForgetKey(salt);
    }
    const QByteArray derived = DeriveDatabaseKey(kPassword, salt);
    if (derived.isEmpty())
        return OpenWithKey(path, flags, QStringLiteral("PRAGMA key = '%1'").arg(QLatin1String(kPassword)), error, code);
    return OpenWithRawKey(path, flags, derived, salt, error, code);
}

std::shared_ptr<Database> Database::OpenWithRawKey(const QString& path, int flags, const QByteArray& key,
                                                   const QByteArray& salt, QString* error, int* code)
{
    auto db = OpenWithKey(path, flags, RawKeyPragma(key), error, code);
    if (db) {
        // The raw key with the file's salt makes a new file that this file's password opens.
        db->m_alikeKeyPragma = RawKeyPragma(key + salt);
        RememberKey(salt, key);
    }
    return db;
}

std::shared_ptr<Database> Database::OpenWithKey(const QString& path, int flags, const QString& key, QString* error,
                                                int* code)
{
    sqlite3* raw = nullptr;
    const QByteArray file = path.toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &raw, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    std::shared_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK) {
        SetError(error, ErrorText(raw));
        if (code)
            *code = rc & 0xFF;
        return nullptr;
    }
    sqlite3_busy_timeout(raw, 5000);
    db->m_keyPragma = key;
    // The key takes effect on first access: reading the schema proves it is right.
    if (!db->execute(key, error) || !db->execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), error)) {
        if (code)
            *code = sqlite3_errcode(raw) & 0xFF;
        return nullptr;
    }
    db->setCacheKiB(kDefaultCacheKiB);
    return db;
}

void Database::setCacheKiB(int kib)
{
    execute(QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
}

std::shared_ptr<Database> Database::openSibling(QString* error) const
{
    const int flags = isReadOnly() ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    auto db = OpenWithKey(m_path, flags, m_keyPragma, error, nullptr);
    if (db) {
        db->m_alikeKeyPragma = m_alikeKeyPragma;
        db->m_summaryDistrusted = m_summaryDistrusted.load();
    }
    return db;
}

std::shared_ptr<Database> Database::Open(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        SetError(error, QStringLiteral("文件不存在：%1").arg(path));
        return nullptr;
    }
    return OpenWithFlags(path, SQLITE_OPEN_READWRITE, error, nullptr);
}

std::shared_ptr<Database> Database::Open(const QString& path, OpenFailure* failure)
{
    if (!QFileInfo(path).isFile()) {
        *failure = {QStringLiteral("文件不存在：%1").arg(path), SQLITE_CANTOPEN};
        return nullptr;
    }
    return OpenWithFlags(path, SQLITE_OPEN_READWRITE, &failure->text, &failure->code);
}

std::shared_ptr<Database> Database::OpenReadOnly(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        SetError(error, QStringLiteral("文件不存在：%1").arg(path));
        return nullptr;
    }
    return OpenWithFlags(path, SQLITE_OPEN_READONLY, error, nullptr);
}

// The file is made empty and owner-only before SQLite sees it: an empty file is an empty
// database, and SQLite gives its journal the mode of the database file.
namespace {

// An empty file for its owner only: SQLite takes it for an empty database.
bool CreateEmptyFile(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        SetError(error, QStringLiteral("文件已存在：%1").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        SetError(error, QStringLiteral("无法创建文件：%1（%2）").arg(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace

std::shared_ptr<Database> Database::Create(const QString& path, QString* error)
{
    if (!CreateEmptyFile(path, error))
        return nullptr;
    auto db = OpenWithFlags(path, SQLITE_OPEN_READWRITE, error, nullptr);
    if (!db)
        QFile::remove(path);   // no empty file is left behind to be taken for a store
    return db;
}

std::shared_ptr<Database> Database::createAlike(const QString& path, QString* error) const
{
    if (!CreateEmptyFile(path, error))
        return nullptr;
    const QString& key = m_alikeKeyPragma.isEmpty() ? m_keyPragma : m_alikeKeyPragma;
    auto db = OpenWithKey(path, SQLITE_OPEN_READWRITE, key, error, nullptr);
    if (!db)
        QFile::remove(path);
    return db;
}

bool Database::execute(const QString& sql, QString* error)
{
    if (!waitUntilChecked()) {
        SetError(error, lastError());
        return false;
    }
    auto guard = lock();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        sqlite3_free(message);
        noteFailure();
        SetError(error, lastError());
        return false;
    }
    return true;
}

void Database::noteFailure() const
{
    const int code = sqlite3_extended_errcode(m_db);
    QString text = ErrorText(m_db);
    if ((code & 0xFF) == SQLITE_FULL)
        text = DiskFullText();
    else if ((code & 0xFF) == SQLITE_AUTH && isDamaged())
        text = DamagedWriteRefusedText();
    {
        const std::lock_guard guard(m_stateMutex);
        m_lastFailure = text;
    }
    if (IsDamageCode(code))
        markDamaged(QStringLiteral("读取时发现文件已损坏（%1）").arg(ErrorText(m_db)));
}

void Database::markDamaged(const QString& reason) const
{
    std::function<void(const QString&)> handler;
    {
        const std::lock_guard guard(m_stateMutex);
        if (!m_damage.isEmpty())
            return;
        m_damage = reason.isEmpty() ? QStringLiteral("文件已损坏") : reason;
        handler = m_onDamage;
    }
    {
        auto connection = lock();
        sqlite3_set_authorizer(m_db, RefuseWrites, nullptr);
    }
    if (handler)
        handler(m_damage);
}

bool Database::isDamaged() const
{
    const std::lock_guard guard(m_stateMutex);
    return !m_damage.isEmpty();
}

QString Database::damage() const
{
    const std::lock_guard guard(m_stateMutex);
    return m_damage;
}

void Database::setDamageHandler(std::function<void(const QString& reason)> handler)
{
    QString damage;
    {
        const std::lock_guard guard(m_stateMutex);
        m_onDamage = handler;
        damage = m_damage;
    }
    if (handler && !damage.isEmpty())
        handler(damage);
}

void Database::holdWritesUntilChecked()
{
    m_checkPending = true;
}

void Database::endCheck()
{
    m_checkPending = false;
}

bool Database::isCheckPending() const
{
    return m_checkPending;
}

bool Database::waitUntilChecked() const
{
    // The wait is rare (a write in the first few tens of milliseconds after opening) and
    // short: looked at every 2 ms rather than signalled.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCheckWaitMs);
    while (isCheckPending()) {
        if (std::chrono::steady_clock::now() >= until) {
            const std::lock_guard guard(m_stateMutex);
            m_lastFailure = QStringLiteral("工程数据库的检查尚未结束，数据未保存，请稍后再试");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

qint64 Database::totalChanges() const
{
    return sqlite3_total_changes(m_db);
}

bool Database::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

QString Database::lastError() const
{
    const std::lock_guard guard(m_stateMutex);
    return m_lastFailure.isEmpty() ? ErrorText(m_db) : m_lastFailure;
}

namespace {

// Queries and writes are kept; a pragma may be answered when it is prepared, and the schema
// it reads may change under a kept one.
bool IsWorthKeeping(const QByteArray& sql)
{
    const QByteArray head = sql.left(7).trimmed().toUpper();
    return head.startsWith("SELECT") || head.startsWith("INSERT") || head.startsWith("UPDATE")
           || head.startsWith("DELETE") || head.startsWith("WITH");
}

} // namespace

Statement::Statement(const Database& db, const QString& sql)
    : m_lock(db.lock()), m_owner(db), m_db(db.handle()), m_sql(sql.toUtf8())
{
    m_keep = IsWorthKeeping(m_sql);
    if (m_keep)
        m_stmt = db.takeKeptStatement(m_sql);
    if (!m_stmt && sqlite3_prepare_v2(m_db, m_sql.constData(), int(m_sql.size()), &m_stmt, nullptr) != SQLITE_OK) {
        fail();
        return;
    }
    // A statement that writes waits for the check of a file just opened, without holding
    // the connection meanwhile; reads go ahead at once.
    if (sqlite3_stmt_readonly(m_stmt) || !db.isCheckPending())
        return;
    m_lock.unlock();
    const bool admitted = db.waitUntilChecked();
    m_lock.lock();
    if (!admitted) {
        m_ok = false;
        m_error = db.lastError();
    }
}

Statement::~Statement()
{
    if (m_stmt && m_keep && m_ok)
        m_owner.keepStatement(m_sql, m_stmt);
    else
        sqlite3_finalize(m_stmt);
}

void Statement::fail()
{
    m_ok = false;
    m_owner.noteFailure();
    m_error = m_owner.lastError();
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

Transaction::Transaction(Database& db) : m_db(db)
{
    // Waits for the check of a file just opened before it holds the connection.
    if (!db.waitUntilChecked())
        return;
    m_lock = db.lock();
    m_began = m_db.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    // A full disk or an I/O error may have rolled the transaction back already; rolling
    // back again would only replace the reason of the failure by "no transaction is active".
    if (m_began && !m_done && !sqlite3_get_autocommit(m_db.handle()))
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
