#include "model/mail/MailSettings.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QFileInfo>

namespace stolvar {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool TableExists(const Database& db)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'help'"));
    return st.next() && st.integer(0) > 0;
}

qint64 RowCount(const Database& db)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM help"));
    return st.next() ? st.integer(0) : -1;
}

bool InsertDefaults(const Database& db, QString* error)
{
    const MailSettings d = DefaultMailSettings();
    Statement st(db, QStringLiteral("INSERT INTO help (服务器地址, 端口号, 用户名, 密码, 收件人) VALUES (?, ?, ?, ?, ?)"));
    st.bindAll(d.server, d.port, d.user, d.password, d.recipients);
    if (!st.run())
        SetError(error, st.error());
    return st.ok();
}

// Columns later releases added; stores of older releases lack them until first written.
const char* const kSecurityColumns[][2] = {{"加密记录", "INTEGER"}, {"证书指纹", "TEXT"}};

bool AddSecurityColumns(Database& db, QString* error)
{
    const QStringList present = TableColumns(db, QStringLiteral("help"));
    for (const auto& column : kSecurityColumns) {
        const QString name = QString::fromUtf8(column[0]);
        if (!present.contains(name)
            && !db.execute(QStringLiteral("ALTER TABLE help ADD COLUMN %1 %2").arg(name, QString::fromUtf8(column[1])),
                           error))
            return false;
    }
    return true;
}

// Brings the store to one table with exactly one row, in one transaction.
bool EnsureOneRow(Database& db, QString* error)
{
    Transaction tx(db);
    if (!tx.ok()) {
        SetError(error, db.lastError());
        return false;
    }
    if (!TableExists(db)
        && !db.execute(QStringLiteral("CREATE TABLE help (服务器地址 TEXT, 端口号 INTEGER, 用户名 TEXT, 密码 TEXT, 收件人 TEXT)"),
                       error))
        return false;
    const qint64 rows = RowCount(db);
    if (rows > 1 && !db.execute(QStringLiteral("DELETE FROM help WHERE rowid <> (SELECT min(rowid) FROM help)"), error))
        return false;
    if (rows == 0 && !InsertDefaults(db, error))
        return false;
    if (!AddSecurityColumns(db, error))
        return false;
    if (!tx.commit()) {
        SetError(error, db.lastError());
        return false;
    }
    return true;
}

// Opens the store, or creates it when the file does not exist; never replaces a file.
std::shared_ptr<Database> OpenStore(const QString& path, QString* error)
{
    auto db = QFileInfo::exists(path) ? Database::Open(path, error) : Database::Create(path, error);
    if (db && !EnsureOneRow(*db, error))
        return nullptr;
    return db;
}

// A store of an older release has no security columns: they read as "nothing learnt".
MailSettings ReadRow(const Database& db, QString* error, MailSecurity* security)
{
    const bool withSecurity = TableColumns(db, QStringLiteral("help")).contains(QStringLiteral("证书指纹"));
    const QString learnt = withSecurity ? QStringLiteral(", 加密记录, 证书指纹") : QStringLiteral(", NULL, NULL");
    Statement st(db, QStringLiteral("SELECT 服务器地址, 端口号, 用户名, 密码, 收件人") + learnt
                         + QStringLiteral(" FROM help LIMIT 1"));
    if (!st.next()) {
        SetError(error, st.ok() ? QStringLiteral("邮箱设置为空") : st.error());
        return DefaultMailSettings();
    }
    if (security)
        *security = {st.integer(5) != 0, st.text(6)};
    return {st.text(0), int(st.integer(1)), st.text(2), st.text(3), st.text(4)};
}

bool Update(const QString& path, const QString& assignments, const QVariantList& values, QString* error)
{
    auto db = OpenStore(path, error);
    if (!db)
        return false;
    Statement st(*db, QStringLiteral("UPDATE help SET ") + assignments);
    for (qsizetype i = 0; i < values.size(); ++i)
        st.bind(int(i + 1), values[i]);
    if (!st.run()) {
        SetError(error, st.error());
        return false;
    }
    return true;
}

} // namespace

MailSettings DefaultMailSettings()
{
    return {QStringLiteral("smtp.example.com"), 25, QStringLiteral("materials"), QString(),
            QStringLiteral("clerk@example.com")};
}

MailSettings LoadMailSettings(const QString& path, QString* error, MailSecurity* security)
{
    if (security)
        *security = {};
    auto db = QFileInfo::exists(path) ? Database::OpenReadOnly(path, error) : OpenStore(path, error);
    return db ? ReadRow(*db, error, security) : DefaultMailSettings();
}

bool SaveMailServer(const QString& path, const QString& server, int port, const QString& user,
                    const QString& password, QString* error)
{
    return Update(path, QStringLiteral("服务器地址 = ?, 端口号 = ?, 用户名 = ?, 密码 = ?, 加密记录 = NULL, 证书指纹 = NULL"),
                  {server, port, user, password}, error);
}

bool SaveMailSecurity(const QString& path, const MailSecurity& security, QString* error)
{
    const QVariant pin = security.certificatePin.isEmpty() ? QVariant() : QVariant(security.certificatePin);
    return Update(path, QStringLiteral("加密记录 = ?, 证书指纹 = ?"), {int(security.tlsSeen), pin}, error);
}

bool SaveMailRecipients(const QString& path, const QString& recipients, QString* error)
{
    return Update(path, QStringLiteral("收件人 = ?"), {recipients}, error);
}

} // namespace stolvar
