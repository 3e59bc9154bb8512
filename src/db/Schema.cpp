#include "db/Schema.h"

#include "db/Database.h"
#include "db/ProjectSummary.h"
#include "db/ResultsSchema.h"

#include <sqlcipher/sqlite3.h>

namespace stolvar {

namespace {

// Text columns were declared 50 characters wide; the limit is checked before writing.
const char* const kCreateGroups =
    "CREATE TABLE gcxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 工程名称 TEXT COLLATE NOCASE, "
    "工程部位 TEXT COLLATE NOCASE, 强度等级 TEXT, 取样日期 TEXT, 标养状态 TEXT, 同养状态 TEXT, "
    "标养组数 TEXT, 同养组数 TEXT, 拆模组数 TEXT)";
const char* const kCreateTemperatures =
    "CREATE TABLE skxx (id INTEGER PRIMARY KEY AUTOINCREMENT, 养护记录 TEXT, 温度记录 REAL, "
    "最高温度 REAL, 最低温度 REAL)";

// The reminder log: the day each group's reminder of each kind was first listed.
const char* const kCreateReminderLog = "CREATE TABLE txjl (试块编号 INTEGER NOT NULL, 类别 TEXT NOT NULL, "
                                       "提醒日期 TEXT NOT NULL, PRIMARY KEY (试块编号, 类别))";

struct LaterColumn {
    const char* table;
    const char* column;
    const char* type;
};

// Columns that files of older releases lack.
const LaterColumn kLaterColumns[] = {
    {"skxx", "最高温度", "REAL"},
    {"skxx", "最低温度", "REAL"},
    {"gcxx", "同养组数", "TEXT"},
    {"gcxx", "拆模组数", "TEXT"},
    {"skxx", "来源", "TEXT"},
    {"gcxx", "拆模要求", "TEXT"},
};

} // namespace

bool CreateSchema(Database& db, QString* error)
{
    Transaction tx(db);
    return tx.ok() && db.execute(QString::fromUtf8(kCreateGroups), error)
           && db.execute(QString::fromUtf8(kCreateTemperatures), error) && CreateReminderLogTable(db, error)
           && CreateResultsTable(db, error) && EnsureIndexes(db, error) && CreateProjectSummary(db, error)
           && tx.commit();
}

bool CreateReminderLogTable(Database& db, QString* error)
{
    return db.execute(QString::fromUtf8(kCreateReminderLog), error);
}

bool EnsureIndexes(Database& db, QString* error)
{
    return db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS gcxx_取样日期 ON gcxx(取样日期)"), error)
           && db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS gcxx_工程 ON gcxx(工程名称, 工程部位)"), error)
           && db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS skxx_养护记录 ON skxx(养护记录)"), error)
           // The project tree reads every group's project and position in casting order:
           // from this index alone it decrypts about half the pages the rows take.
           && db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS gcxx_树形 ON gcxx(取样日期, id, 工程名称, 工程部位)"),
                         error);
}

QStringList TableColumns(const Database& db, const QString& table)
{
    // Table names are the program's own constants; PRAGMA takes no bound values.
    QStringList columns;
    Statement st(db, QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (st.next())
        columns << st.text(1);
    return columns;
}

bool HasColumn(const Database& db, const QString& table, const QString& column)
{
    // A read of the schema table first: it notices a schema another connection changed
    // and reloads it, which the engine's table lookup alone does not.
    Statement current(db, QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 0"));
    current.next();
    return sqlite3_table_column_metadata(db.handle(), "main", table.toUtf8().constData(), column.toUtf8().constData(),
                                         nullptr, nullptr, nullptr, nullptr, nullptr)
           == SQLITE_OK;
}

bool HasTable(const Database& db, const QString& table)
{
    Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    st.bind(1, table);
    return st.next();
}

bool HasSourceColumn(const Database& db)
{
    return HasColumn(db, QStringLiteral("skxx"), QStringLiteral("来源"));
}

bool EnsureSourceColumn(Database& db, QString* error)
{
    if (db.isReadOnly() || HasSourceColumn(db))
        return true;
    return db.execute(QStringLiteral("ALTER TABLE skxx ADD COLUMN 来源 TEXT"), error);
}

bool UpgradeSchema(Database& db, QStringList* added, QString* error)
{
    Transaction tx(db);
    if (!tx.ok())
        return false;
    QStringList done;
    for (const LaterColumn& c : kLaterColumns) {
        const QString table = QString::fromUtf8(c.table);
        const QString column = QString::fromUtf8(c.column);
        if (TableColumns(db, table).contains(column, Qt::CaseInsensitive))
            continue;
        const QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, QString::fromUtf8(c.type));
        if (!db.execute(sql, error))
            return false;
        done << table + u'.' + column;
    }
    if (!tx.commit())
        return false;
    if (added)
        *added = done;
    return true;
}

} // namespace stolvar
