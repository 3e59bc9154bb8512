#include "db/ProjectSummary.h"

#include "db/Database.h"
#include "db/Schema.h"

namespace stolvar {

namespace {

// A spelling is the name as stored, compared byte for byte (BINARY); the rows without a
// name count under "" with 无名称 = 1, apart from the empty name.
const char* const kCreateTable =
    "CREATE TABLE gchz (工程名称 TEXT NOT NULL, 无名称 INTEGER NOT NULL, 组数 INTEGER NOT NULL, "
    "PRIMARY KEY (无名称, 工程名称)) WITHOUT ROWID";

const char* const kFill =
    "INSERT INTO gchz (工程名称, 无名称, 组数) SELECT IFNULL(工程名称, ''), 工程名称 IS NULL, COUNT(*) "
    "FROM gcxx GROUP BY 工程名称 COLLATE BINARY";

// The summary's row of the name of a row of gcxx (NEW or OLD).
QString RowOf(const char* row)
{
    return QStringLiteral("无名称 = (%1.工程名称 IS NULL) AND 工程名称 = IFNULL(%1.工程名称, '') COLLATE BINARY")
        .arg(QLatin1String(row));
}

// One group more or less under a name; a spelling is gone with its last group. A new
// spelling is inserted only where it is missing rather than with OR IGNORE, which an
// INSERT OR REPLACE into gcxx would turn into a replace of the row and its count.
QString CountUp(const char* row)
{
    return QStringLiteral("INSERT INTO gchz (工程名称, 无名称, 组数) SELECT IFNULL(%1.工程名称, ''), %1.工程名称 IS NULL, 0 "
                          "WHERE NOT EXISTS (SELECT 1 FROM gchz WHERE %2); "
                          "UPDATE gchz SET 组数 = 组数 + 1 WHERE %2; ")
        .arg(QLatin1String(row), RowOf(row));
}

QString CountDown(const char* row)
{
    return QStringLiteral("UPDATE gchz SET 组数 = 组数 - 1 WHERE %1; DELETE FROM gchz WHERE %1 AND 组数 <= 0; ")
        .arg(RowOf(row));
}

const char* const kTriggers[] = {"gchz_insert", "gchz_delete", "gchz_rename"};

QString CreateTriggers()
{
    return QStringLiteral("CREATE TRIGGER gchz_insert AFTER INSERT ON gcxx BEGIN %1END; "
                          "CREATE TRIGGER gchz_delete AFTER DELETE ON gcxx BEGIN %2END; "
                          "CREATE TRIGGER gchz_rename AFTER UPDATE OF 工程名称 ON gcxx BEGIN %3%4END;")
        .arg(CountUp("NEW"), CountDown("OLD"), CountUp("NEW"), CountDown("OLD"));
}

// The projects as the column compares their names (ASCII case aside), each known by the
// first and the last of its spellings in byte order, with its number of groups: from the
// summary and from the groups themselves, in the same order (the rows without a name
// first, then by name as the column compares), so that the two are compared row by row
// without holding either (10,000 projects' names would be a megabyte). The groups come in
// the order of the index of names, without a sort.
const char* const kSummaryProjects =
    "SELECT 无名称, MIN(工程名称 COLLATE BINARY), MAX(工程名称 COLLATE BINARY), SUM(组数) FROM gchz "
    "GROUP BY 无名称, 工程名称 COLLATE NOCASE ORDER BY 无名称 DESC, 工程名称 COLLATE NOCASE";
// The rows without a name (NULL, first in the column's order) read as "", as the summary
// counts them.
const char* const kGroupProjects =
    "SELECT 工程名称 IS NULL, MIN(工程名称 COLLATE BINARY), MAX(工程名称 COLLATE BINARY), COUNT(*) FROM gcxx "
    "GROUP BY 工程名称 ORDER BY 工程名称";

bool SameProject(const Statement& a, const Statement& b)
{
    return (a.integer(0) != 0) == (b.integer(0) != 0) && a.text(1) == b.text(1) && a.text(2) == b.text(2)
           && a.integer(3) == b.integer(3);
}

bool Rebuild(Database& db, QString* error)
{
    Transaction tx(db);
    return tx.ok() && db.execute(QStringLiteral("DELETE FROM gchz"), error)
           && db.execute(QString::fromUtf8(kFill), error) && tx.commit();
}

// What a tool that dropped some of the summary left of it; made again whole.
bool DropPartialSummary(Database& db, QString* error)
{
    if (HasTable(db, QStringLiteral("gchz")) && !db.execute(QStringLiteral("DROP TABLE gchz"), error))
        return false;
    for (const char* trigger : kTriggers) {
        if (!db.execute(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(trigger)), error))
            return false;
    }
    return true;
}

} // namespace

bool CreateProjectSummary(Database& db, QString* error)
{
    return db.execute(QString::fromUtf8(kCreateTable), error) && db.execute(QString::fromUtf8(kFill), error)
           && db.execute(CreateTriggers(), error);
}

bool HasProjectSummary(const Database& db)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE (type = 'table' AND name = 'gchz') "
                                    "OR (type = 'trigger' AND name IN (?, ?, ?))"));
    st.bindAll(QString::fromLatin1(kTriggers[0]), QString::fromLatin1(kTriggers[1]), QString::fromLatin1(kTriggers[2]));
    return st.next() && st.integer(0) == 4;
}

bool ProjectSummaryAgrees(const Database& db)
{
    Statement summary(db, QString::fromUtf8(kSummaryProjects));
    Statement groups(db, QString::fromUtf8(kGroupProjects));
    for (;;) {
        const bool more = summary.next();
        if (more != groups.next())
            return false;   // one of them lists a project more, or a query failed
        if (!more)
            return summary.ok() && groups.ok();
        if (!SameProject(summary, groups))
            return false;
    }
}

ProjectSummaryState EnsureProjectSummary(Database& db, QString* error)
{
    if (HasProjectSummary(db)) {
        if (ProjectSummaryAgrees(db))
            return ProjectSummaryState::Sound;
        return !db.isReadOnly() && Rebuild(db, error) ? ProjectSummaryState::Corrected : ProjectSummaryState::Untrusted;
    }
    if (db.isReadOnly())
        return ProjectSummaryState::Missing;
    Transaction tx(db);
    const bool made = tx.ok() && DropPartialSummary(db, error) && CreateProjectSummary(db, error) && tx.commit();
    return made ? ProjectSummaryState::Sound : ProjectSummaryState::Missing;
}

} // namespace stolvar
