#include "model/register/GroupStore.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace stolvar {

namespace {

// Rows the tree can only show as nodes with empty text.
const QString kWithoutKey =
    QStringLiteral("工程名称 IS NULL OR 工程名称 = '' OR 工程部位 IS NULL OR 工程部位 = ''");

// The key columns compare without regard to ASCII case, as the column collation does.
QString CaseKey(const QString& text)
{
    QString key = text;
    for (QChar& c : key) {
        if (c.unicode() < 0x80)
            c = c.toLower();
    }
    return key;
}

WriteResult RunWrite(Statement& st)
{
    if (!st.run())
        return WriteResult::Failed;
    return st.changes() > 0 ? WriteResult::Done : WriteResult::NoRow;
}

// None when the query failed: a failed check must never read as "not there" (an I/O
// error also ends the transaction, so a write after it would go through on its own).
std::optional<bool> PositionExists(const Database& db, const QString& project, const QString& position)
{
    Statement st(db, QStringLiteral("SELECT 1 FROM gcxx WHERE 工程名称 = ? AND 工程部位 = ? LIMIT 1"));
    st.bindAll(project, position);
    const bool found = st.next();
    if (!st.ok())
        return std::nullopt;
    return found;
}

// The positions both projects have; false when the query failed.
bool CollectPositionsInBoth(const Database& db, const QString& project, const QString& newName, QStringList* out)
{
    out->clear();
    if (CaseKey(project) == CaseKey(newName))
        return true;   // the same project under another spelling
    Statement st(db, QStringLiteral("SELECT DISTINCT a.工程部位 FROM gcxx a JOIN gcxx b ON b.工程部位 = a.工程部位 "
                                    "WHERE a.工程名称 = ? AND b.工程名称 = ? ORDER BY a.取样日期, a.id"));
    st.bindAll(project, newName);
    while (st.next())
        *out << st.text(0);
    return st.ok();
}

std::optional<QString> SetState(Database& db, const QString& column, const QString& project,
                                const QString& position, const QString& state)
{
    Transaction tx(db);
    Statement find(db, QStringLiteral("SELECT id FROM gcxx WHERE 工程名称 = ? AND 工程部位 = ? ORDER BY id LIMIT 1"));
    find.bindAll(project, position);
    if (!tx.ok() || !find.next())
        return std::nullopt;
    const qint64 id = find.integer(0);
    Statement update(db, QStringLiteral("UPDATE gcxx SET %1 = ? WHERE id = ?").arg(column));
    update.bindAll(state, id);
    Statement readBack(db, QStringLiteral("SELECT %1 FROM gcxx WHERE id = ?").arg(column));
    readBack.bindAll(id);
    if (!update.run() || !readBack.next() || !tx.commit())
        return std::nullopt;
    return readBack.text(0);
}

// The rows of the tree as they arrive, by casting date: each project once (its first
// spelling), and every position in one text buffer with the project it belongs to.
struct TreeRows {
    QStringList names;
    QString positionTexts;
    QVector<int> positionEnds;     // where each position's text ends in the buffer
    QVector<int> positionProject;  // the project of each position
    int nullProject = -1;          // the name standing for the rows without a project name
};

TreeRows ReadTreeRows(const Database& db)
{
    TreeRows rows;
    QHash<QString, int> byKey;
    Statement st(db, QStringLiteral("SELECT 工程名称, 工程部位 FROM gcxx ORDER BY 取样日期, id"));
    while (st.next()) {
        if (st.isNull(0)) {
            // A NULL project matches no position query: its node stands alone.
            if (rows.nullProject < 0) {
                rows.nullProject = int(rows.names.size());
                rows.names.append(QString());
            }
            continue;
        }
        const QString name = st.text(0);
        auto found = byKey.constFind(CaseKey(name));
        if (found == byKey.constEnd()) {
            found = byKey.insert(CaseKey(name), int(rows.names.size()));
            rows.names.append(name);
        }
        rows.positionTexts += st.text(1);
        rows.positionEnds.append(int(rows.positionTexts.size()));
        rows.positionProject.append(found.value());
    }
    return rows;
}

QVector<int> ProjectsInDisplayOrder(const QStringList& names)
{
    QVector<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    const QCollator collator = ProjectNameCollator();
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(names[a], names[b]) > 0; });
    return order;
}

// Each project's positions, in the order they were read: the rows of project p are
// byRow[first[p]] … byRow[first[p + 1] − 1].
struct ProjectRows {
    QVector<int> first;
    QVector<int> byRow;
};

ProjectRows RowsByProject(const TreeRows& rows)
{
    ProjectRows grouped;
    grouped.first.fill(0, rows.names.size() + 1);
    for (int project : rows.positionProject)
        ++grouped.first[project + 1];
    std::partial_sum(grouped.first.begin(), grouped.first.end(), grouped.first.begin());
    grouped.byRow.resize(rows.positionProject.size());
    QVector<int> filled = grouped.first;
    for (int row = 0; row < rows.positionProject.size(); ++row)
        grouped.byRow[filled[rows.positionProject[row]]++] = row;
    return grouped;
}

ProjectTree LayOutTree(const TreeRows& rows, const QVector<int>& order, const ProjectRows& grouped)
{
    ProjectTree tree;
    qsizetype characters = rows.positionTexts.size();
    for (const QString& name : rows.names)
        characters += name.size();
    tree.reserve(int(rows.names.size() + rows.positionProject.size()), int(rows.names.size()), characters);
    const QStringView texts(rows.positionTexts);
    for (int project : order) {
        tree.appendProject(rows.names[project]);
        if (project == rows.nullProject)
            tree.markNullProject();
        for (int i = grouped.first[project]; i < grouped.first[project + 1]; ++i) {
            const int row = grouped.byRow[i];
            const int begin = row > 0 ? rows.positionEnds[row - 1] : 0;
            tree.appendPosition(texts.mid(begin, rows.positionEnds[row] - begin));
        }
    }
    return tree;
}

// The tables whose rows belong to a group (by its id in 试块编号): they go with it.
const char* const kGroupTables[] = {"txjl", "syjg"};

Statement& BindValues(Statement& st, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values[i]);
    return st;
}

// Deletes the groups matching `condition` and every row that belongs to them, in one
// transaction. The condition is the program's own text; the values are bound.
WriteResult DeleteGroupsWhere(Database& db, const QString& condition, const QVariantList& values)
{
    Transaction tx(db);
    if (!tx.ok())
        return WriteResult::Failed;
    for (const char* table : kGroupTables) {
        const QString name = QString::fromUtf8(table);
        if (!HasTable(db, name))
            continue;
        Statement owned(db, QStringLiteral("DELETE FROM %1 WHERE 试块编号 IN (SELECT id FROM gcxx WHERE %2)").arg(name, condition));
        if (!BindValues(owned, values).run())
            return WriteResult::Failed;
    }
    Statement st(db, QStringLiteral("DELETE FROM gcxx WHERE %1").arg(condition));
    const WriteResult result = RunWrite(BindValues(st, values));
    return result == WriteResult::Failed || tx.commit() ? result : WriteResult::Failed;
}

} // namespace

ProjectTree LoadCompactProjectTree(const Database& db)
{
    const TreeRows rows = ReadTreeRows(db);
    return LayOutTree(rows, ProjectsInDisplayOrder(rows.names), RowsByProject(rows));
}

QVector<ProjectNode> LoadProjectTree(const Database& db)
{
    const ProjectTree tree = LoadCompactProjectTree(db);
    QVector<ProjectNode> projects;
    projects.reserve(tree.projectCount());
    for (int p = 0; p < tree.projectCount(); ++p) {
        ProjectNode node{tree.text(tree.projectNode(p)), {}};
        for (int i = 1; i <= tree.positionCount(p); ++i)
            node.positions << tree.text(tree.projectNode(p) + i);
        projects.append(node);
    }
    return projects;
}

WriteResult AddGroup(Database& db, const SpecimenGroup& g)
{
    Transaction tx(db);
    if (!tx.ok())
        return WriteResult::Failed;
    const std::optional<bool> exists = PositionExists(db, g.project, g.position);
    if (!exists)
        return WriteResult::Failed;
    if (*exists)
        return WriteResult::Duplicate;
    Statement st(db, QStringLiteral("INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, "
                                    "标养组数, 同养组数, 拆模组数) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    st.bindAll(g.project, g.position, g.grade, g.castingDate, kNotSent, kNotSent, g.standardCount, g.sameCount,
               g.formCount);
    return st.run() && tx.commit() ? WriteResult::Done : WriteResult::Failed;
}

QStringList PositionsInBoth(const Database& db, const QString& project, const QString& newName)
{
    QStringList positions;
    CollectPositionsInBoth(db, project, newName, &positions);
    return positions;
}

bool IsOtherExistingProject(const Database& db, const QString& project, const QString& newName)
{
    if (CaseKey(project) == CaseKey(newName))
        return false;
    Statement st(db, QStringLiteral("SELECT 1 FROM gcxx WHERE 工程名称 = ? LIMIT 1"));
    st.bindAll(newName);
    return st.next();
}

WriteResult RenameProject(Database& db, const QString& project, const QString& newName)
{
    Transaction tx(db);
    if (!tx.ok())
        return WriteResult::Failed;
    QStringList shared;
    if (!CollectPositionsInBoth(db, project, newName, &shared))
        return WriteResult::Failed;
    if (!shared.isEmpty())
        return WriteResult::Duplicate;
    Statement st(db, QStringLiteral("UPDATE gcxx SET 工程名称 = ? WHERE 工程名称 = ?"));
    st.bindAll(newName, project);
    const WriteResult result = RunWrite(st);
    return result == WriteResult::Failed || !tx.commit() ? WriteResult::Failed : result;
}

WriteResult ChangePosition(Database& db, const QString& project, const QString& position, const QString& newPosition)
{
    Transaction tx(db);
    if (!tx.ok())
        return WriteResult::Failed;
    if (CaseKey(newPosition) != CaseKey(position)) {
        const std::optional<bool> exists = PositionExists(db, project, newPosition);
        if (!exists)
            return WriteResult::Failed;
        if (*exists)
            return WriteResult::Duplicate;
    }
    Statement st(db, QStringLiteral("UPDATE gcxx SET 工程部位 = ? WHERE 工程名称 = ? AND 工程部位 = ?"));
    st.bindAll(newPosition, project, position);
    const WriteResult result = RunWrite(st);
    return result == WriteResult::Failed || !tx.commit() ? WriteResult::Failed : result;
}

WriteResult ChangeGrade(Database& db, const QString& project, const QString& position, const QString& grade)
{
    Statement st(db, QStringLiteral("UPDATE gcxx SET 强度等级 = ? WHERE 工程名称 = ? AND 工程部位 = ?"));
    st.bindAll(grade, project, position);
    return RunWrite(st);
}

WriteResult ChangeCastingDate(Database& db, const QString& project, const QString& position, const QDateTime& date)
{
    Statement st(db, QStringLiteral("UPDATE gcxx SET 取样日期 = ? WHERE 工程名称 = ? AND 工程部位 = ?"));
    st.bindAll(date, project, position);
    return RunWrite(st);
}

WriteResult ChangeCounts(Database& db, const QString& project, const QString& position, const QString& standard,
                         const QString& same, const QString& formRemoval)
{
    Statement st(db, QStringLiteral("UPDATE gcxx SET 标养组数 = ?, 同养组数 = ?, 拆模组数 = ? "
                                    "WHERE 工程名称 = ? AND 工程部位 = ?"));
    st.bindAll(standard, same, formRemoval, project, position);
    return RunWrite(st);
}

WriteResult DeleteGroup(Database& db, const QString& project, const QString& position)
{
    return DeleteGroupsWhere(db, QStringLiteral("工程名称 = ? AND 工程部位 = ?"), {project, position});
}

WriteResult DeleteProject(Database& db, const QString& project)
{
    return DeleteGroupsWhere(db, QStringLiteral("工程名称 = ?"), {project});
}

WriteResult DeleteRowsWithoutKey(Database& db)
{
    return DeleteGroupsWhere(db, kWithoutKey, {});
}

int CountRowsWithoutKey(const Database& db)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM gcxx WHERE %1").arg(kWithoutKey));
    return st.next() ? int(st.integer(0)) : 0;
}

int CountProjectGroups(const Database& db, const QString& project)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM gcxx WHERE 工程名称 = ?"));
    st.bind(1, project);
    return st.next() ? int(st.integer(0)) : 0;
}

std::optional<QString> SetStandardState(Database& db, const QString& project, const QString& position,
                                        const QString& state)
{
    return SetState(db, QStringLiteral("标养状态"), project, position, state);
}

std::optional<QString> SetSameConditionState(Database& db, const QString& project, const QString& position,
                                             const QString& state)
{
    return SetState(db, QStringLiteral("同养状态"), project, position, state);
}

} // namespace stolvar
