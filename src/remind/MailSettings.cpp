#include "remind/MailSettings.h"

#include "db/Database.h"

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

MailSettings ReadRow(const Database& db, QString* error)
{
    Statement st(db, QStringLiteral("SELECT 服务器地址, 端口号, 用户名, 密码, 收件人 FROM help LIMIT 1"));
    if (!st.next()) {
        SetError(error, st.ok() ? QStringLiteral("邮箱设置为空") : st.error());
        return DefaultMailSettings();
    }
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

MailSettings LoadMailSettings(const QString& path, QString* error)
{
    auto db = OpenStore(path, error);
    return db ? ReadRow(*db, error) : DefaultMailSettings();
}

bool SaveMailServer(const QString& path, const QString& server, int port, const QString& user,
                    const QString& password, QString* error)
{
    return Update(path, QStringLiteral("服务器地址 = ?, 端口号 = ?, 用户名 = ?, 密码 = ?"),
                  {server, port, user, password}, error);
}

bool SaveMailRecipients(const QString& path, const QString& recipients, QString* error)
{
    return Update(path, QStringLiteral("收件人 = ?"), {recipients}, error);
}

} // namespace stolvar
