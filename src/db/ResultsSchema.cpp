#include "db/ResultsSchema.h"

#include "db/Database.h"
#include "db/Schema.h"

namespace stolvar {

namespace {

// 试块编号 is gcxx.id; 类别 "标养", "同养" or "拆模"; 试件尺寸 the cube edge in mm.
const char* const kCreateResults =
    "CREATE TABLE IF NOT EXISTS syjg (id INTEGER PRIMARY KEY AUTOINCREMENT, 试块编号 INTEGER NOT NULL, "
    "类别 TEXT NOT NULL, 组号 INTEGER NOT NULL, 报告编号 TEXT, 试验日期 TEXT, 试件尺寸 INTEGER, 强度1 REAL, "
    "强度2 REAL, 强度3 REAL, UNIQUE (试块编号, 类别, 组号))";

} // namespace

bool HasResultsTable(const Database& db)
{
    return HasTable(db, QStringLiteral("syjg"));
}

bool HasFormRequirementColumn(const Database& db)
{
    return HasColumn(db, QStringLiteral("gcxx"), QStringLiteral("拆模要求"));
}

bool EnsureResultsSchema(Database& db, QString* error)
{
    if (db.isReadOnly() || (HasResultsTable(db) && HasFormRequirementColumn(db)))
        return true;
    Transaction tx(db);
    const bool added = tx.ok() && CreateResultsTable(db, error)
                       && (HasFormRequirementColumn(db)
                           || db.execute(QStringLiteral("ALTER TABLE gcxx ADD COLUMN 拆模要求 TEXT"), error));
    if (added && tx.commit())
        return true;
    if (error && error->isEmpty())
        *error = db.lastError();
    return false;
}

bool CreateResultsTable(Database& db, QString* error)
{
    return db.execute(QString::fromUtf8(kCreateResults), error);
}

} // namespace stolvar
