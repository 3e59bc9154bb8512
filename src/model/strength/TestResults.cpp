#include "model/strength/TestResults.h"

#include "db/Database.h"
#include "db/ResultsSchema.h"
#include "model/strength/StrengthRules.h"

namespace stolvar {

namespace {

const QString kResultColumns = QStringLiteral("试块编号, 类别, 组号, 报告编号, 试验日期, 试件尺寸, 强度1, 强度2, 强度3");

std::optional<TestResult> ReadResult(const Statement& st)
{
    const std::optional<DueKind> kind = DueKindFromText(st.text(1));
    if (!kind || st.isNull(6) || st.isNull(7) || st.isNull(8))
        return std::nullopt;
    TestResult r;
    r.kind = *kind;
    r.number = int(st.integer(2));
    r.report = st.text(3);
    r.testDate = st.dateTime(4);
    r.edgeMm = st.isNull(5) ? 0 : int(st.integer(5));
    r.strengths = {st.real(6), st.real(7), st.real(8)};
    return r;
}

QVariant TextOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant DateOrNull(const QDateTime& date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

bool InsertResult(Database& db, qint64 groupId, const TestResult& r)
{
    Statement st(db, QStringLiteral("INSERT INTO syjg (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(kResultColumns));
    st.bindAll(groupId, DueKindText(r.kind), r.number, TextOrNull(r.report), DateOrNull(r.testDate), r.edgeMm,
               r.strengths[0], r.strengths[1], r.strengths[2]);
    return st.run();
}

QVariant RequirementOrNull(std::optional<int> requirement)
{
    return requirement ? QVariant(QString::number(*requirement)) : QVariant();
}

} // namespace

std::optional<DueKind> DueKindFromText(const QString& text)
{
    for (const DueKind kind : kDueKinds) {
        if (DueKindText(kind) == text)
            return kind;
    }
    return std::nullopt;
}

QVector<TestResult> LoadGroupResults(const Database& db, qint64 groupId, QString* error)
{
    if (error)
        error->clear();
    QVector<TestResult> results;
    if (!HasResultsTable(db))
        return results;
    Statement st(db, QStringLiteral("SELECT %1 FROM syjg WHERE 试块编号 = ? ORDER BY 类别, 组号").arg(kResultColumns));
    st.bindAll(groupId);
    while (st.next()) {
        if (const std::optional<TestResult> r = ReadResult(st))
            results.append(*r);
    }
    if (!st.ok()) {
        if (error)
            *error = st.error();
        return {};
    }
    return results;
}

QHash<qint64, QVector<TestResult>> LoadAllResults(const Database& db, QString* error)
{
    if (error)
        error->clear();
    QHash<qint64, QVector<TestResult>> byGroup;
    if (!HasResultsTable(db))
        return byGroup;
    Statement st(db, QStringLiteral("SELECT %1 FROM syjg ORDER BY 试块编号, 类别, 组号").arg(kResultColumns));
    while (st.next()) {
        if (const std::optional<TestResult> r = ReadResult(st))
            byGroup[st.integer(0)].append(*r);
    }
    if (!st.ok()) {
        if (error)
            *error = st.error();
        return {};
    }
    return byGroup;
}

std::optional<int> LoadFormRequirement(const Database& db, qint64 groupId)
{
    if (!HasFormRequirementColumn(db))
        return std::nullopt;
    Statement st(db, QStringLiteral("SELECT 拆模要求 FROM gcxx WHERE id = ?"));
    st.bindAll(groupId);
    return st.next() ? FormRequirementFromText(st.text(0)) : std::nullopt;
}

QHash<qint64, int> LoadAllFormRequirements(const Database& db, QString* error)
{
    if (error)
        error->clear();
    QHash<qint64, int> requirements;
    if (!HasFormRequirementColumn(db))
        return requirements;
    Statement st(db, QStringLiteral("SELECT id, 拆模要求 FROM gcxx WHERE 拆模要求 IS NOT NULL"));
    while (st.next()) {
        if (const std::optional<int> r = FormRequirementFromText(st.text(1)))
            requirements.insert(st.integer(0), *r);
    }
    if (!st.ok() && error)
        *error = st.error();
    return requirements;
}

QString SaveGroupResults(Database& db, qint64 groupId, const QVector<TestResult>& results,
                         std::optional<int> formRequirement)
{
    if (db.isReadOnly())
        return QStringLiteral("数据库文件为只读，试验结果不能保存。");
    if (!HasResultsTable(db) || !HasFormRequirementColumn(db))
        return QStringLiteral("数据库缺少试验结果表，请重新打开数据库。");
    Transaction tx(db);
    if (!tx.ok())
        return db.lastError();
    const QString failure = ReplaceGroupResults(db, groupId, results, formRequirement);
    if (!failure.isEmpty())
        return failure;
    return tx.commit() ? QString() : db.lastError();
}

QString ReplaceGroupResults(Database& db, qint64 groupId, const QVector<TestResult>& results,
                            std::optional<int> formRequirement)
{
    Statement group(db, QStringLiteral("UPDATE gcxx SET 拆模要求 = ? WHERE id = ?"));
    group.bindAll(RequirementOrNull(formRequirement), groupId);
    if (!group.run())
        return group.error();
    if (group.changes() == 0)
        return QStringLiteral("该试块已不存在，试验结果未保存。");
    Statement clear(db, QStringLiteral("DELETE FROM syjg WHERE 试块编号 = ?"));
    clear.bindAll(groupId);
    if (!clear.run())
        return clear.error();
    for (const TestResult& r : results) {
        if (!InsertResult(db, groupId, r))
            return db.lastError();
    }
    return {};
}

} // namespace stolvar
