#include "db/RegisterCheck.h"

#include "db/Database.h"
#include "db/ProjectSummary.h"
#include "db/ResultsSchema.h"
#include "db/Schema.h"

#include <QFileInfo>
#include <QStringList>

#include <sqlcipher/sqlite3.h>

namespace stolvar {

namespace {

// The first lines of a check's answer are enough to tell what is wrong.
constexpr int kReportedLines = 3;

RegisterOpening Refused(RegisterOpening::Problem problem, const QString& reason)
{
    return {nullptr, problem, reason};
}

// What the file is before SQLite sees it: a folder or an empty file never reaches it
// (SQLite would take an empty file for a new database and write into it).
RegisterOpening LookAtFile(const QFileInfo& file)
{
    if (!file.exists())
        return Refused(RegisterOpening::Problem::Missing, QStringLiteral("文件不存在"));
    if (file.isDir())
        return Refused(RegisterOpening::Problem::Damaged, QStringLiteral("这不是文件，而是一个文件夹"));
    if (!file.isFile())
        return Refused(RegisterOpening::Problem::Damaged, QStringLiteral("这不是一个普通文件"));
    if (file.size() == 0)
        return Refused(RegisterOpening::Problem::Damaged, QStringLiteral("文件是空的（0字节）"));
    return {};
}

RegisterOpening OpenFailed(const OpenFailure& failure, qint64 size)
{
    switch (failure.code) {
    case SQLITE_CORRUPT:
        return Refused(RegisterOpening::Problem::Damaged,
                       QStringLiteral("文件不完整或已损坏（%1字节；%2）").arg(size).arg(failure.text));
    case SQLITE_NOTADB:
        return Refused(RegisterOpening::Problem::NotDatabase,
                       QStringLiteral("这不是工程数据库文件，或文件开头已损坏（%1字节）").arg(size));
    default:
        return Refused(RegisterOpening::Problem::Unopenable, failure.text);
    }
}

QString QuickCheck(const Database& db)
{
    Statement st(db, QStringLiteral("PRAGMA quick_check(%1)").arg(kReportedLines));
    QStringList lines;
    while (st.next())
        lines << st.text(0);
    if (!st.ok())
        return st.error();
    return lines == QStringList{QStringLiteral("ok")} ? QString() : lines.join(QStringLiteral("；"));
}

QStringList MissingTables(const Database& db)
{
    QStringList missing;
    for (const QString& table : {QStringLiteral("gcxx"), QStringLiteral("skxx")}) {
        Statement st(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"));
        st.bind(1, table);
        if (!st.next() || st.integer(0) == 0)
            missing << table;
    }
    return missing;
}

// The tree of the window was counted from the summary before this check: when it was
// wrong, the tree is counted again (from the summary made anew, or from the groups).
void CheckProjectSummary(const Database& db, Database& own, OpenedRegisterCheck& outcome)
{
    const ProjectSummaryState state = EnsureProjectSummary(own);
    if (state == ProjectSummaryState::Untrusted)
        db.distrustProjectSummary();
    outcome.projectCountsCorrected = state == ProjectSummaryState::Corrected || state == ProjectSummaryState::Untrusted;
}

} // namespace

QString CheckRegister(const Database& db)
{
    QString reason;
    if (const QString check = QuickCheck(db); !check.isEmpty())
        reason = QStringLiteral("完整性检查未通过：") + check;
    else if (const QStringList missing = MissingTables(db); !missing.isEmpty())
        reason = QStringLiteral("缺少数据表%1").arg(missing.join(QStringLiteral("、")));
    if (!reason.isEmpty())
        db.markDamaged(reason);
    return reason;
}

RegisterOpening OpenRegister(const QString& path, bool check)
{
    const QFileInfo file(path);
    if (RegisterOpening looked = LookAtFile(file); looked.problem != RegisterOpening::Problem::None)
        return looked;
    OpenFailure failure;
    RegisterOpening opening;
    opening.db = Database::Open(path, &failure);
    if (!opening.db)
        return OpenFailed(failure, file.size());
    if (check && !(opening.reason = CheckRegister(*opening.db)).isEmpty())
        opening.problem = RegisterOpening::Problem::Damaged;
    return opening;
}

bool IsDamage(RegisterOpening::Problem problem)
{
    return problem == RegisterOpening::Problem::Damaged || problem == RegisterOpening::Problem::NotDatabase;
}

OpenedRegisterCheck CheckOpenedRegister(Database& db)
{
    OpenedRegisterCheck outcome;
    QString error;
    // The check reads every page: on a connection of its own, so that reads of the window
    // go on meanwhile; a file that vanished since it was opened is left to its next query.
    if (const auto own = db.openSibling(&error)) {
        // Each page is read once: a cache of a few pages does, and the check of a large
        // register does not take the memory the window's connection keeps for its scans.
        own->setCacheKiB(1000);
        outcome.damage = CheckRegister(*own);
        if (outcome.damage.isEmpty())
            CheckProjectSummary(db, *own, outcome);
        own->setCacheKiB(Database::kDefaultCacheKiB);
        if (!outcome.damage.isEmpty()) {
            db.markDamaged(outcome.damage);
        } else if (!own->isReadOnly()) {
            EnsureIndexes(*own);
            // Without the source column every day still stores and reads; only its source is lost.
            if (!EnsureSourceColumn(*own, &error))
                outcome.sourceColumnError = error;
            if (!EnsureResultsSchema(*own, &error))
                outcome.resultsSchemaError = error;
        }
    }
    db.endCheck();
    return outcome;
}

} // namespace stolvar
