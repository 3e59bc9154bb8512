#include "model/register/ProjectTreeUpdate.h"

#include "db/Database.h"

#include <QCollator>

#include <algorithm>
#include <optional>

namespace stolvar {

namespace {

// Where a project's first row stands in the order the tree reads the rows (sampling date,
// then id; SQLite puts a NULL date first): it orders projects whose names collate alike.
struct FirstRow {
    bool nullDate = true;
    QString date;
    qint64 id = 0;

    bool operator<(const FirstRow& other) const
    {
        if (nullDate != other.nullDate)
            return nullDate;
        if (date != other.date)
            return date < other.date;
        return id < other.id;
    }
};

struct TouchedProject {
    QString name;   // the spelling of its first row, as the full read names it
    QStringList positions;
    FirstRow first;
};

FirstRow ReadFirstRow(const Statement& st)
{
    return {st.isNull(2), st.text(2), st.integer(3)};
}

// None when the query failed; no positions when the project has no rows.
std::optional<TouchedProject> ReadProject(const Database& db, const QString& name)
{
    Statement st(db, QStringLiteral("SELECT 工程名称, 工程部位, 取样日期, id FROM gcxx WHERE 工程名称 = ? "
                                    "ORDER BY 取样日期, id"));
    st.bindAll(name);
    TouchedProject rows;
    while (st.next()) {
        if (rows.positions.isEmpty()) {
            rows.name = st.text(0);
            rows.first = ReadFirstRow(st);
        }
        rows.positions << st.text(1);
    }
    if (!st.ok())
        return std::nullopt;
    return rows;
}

std::optional<FirstRow> ReadFirstRowOf(const Database& db, const ProjectTree& tree, int project)
{
    const bool null = project == tree.nullProject();
    Statement st(db, QStringLiteral("SELECT NULL, NULL, 取样日期, id FROM gcxx WHERE %1 ORDER BY 取样日期, id LIMIT 1")
                         .arg(null ? QStringLiteral("工程名称 IS NULL") : QStringLiteral("工程名称 = ?")));
    if (!null)
        st.bindAll(tree.text(tree.projectNode(project)));
    if (!st.next())
        return std::nullopt;
    return ReadFirstRow(st);
}

// The row a project takes among the others: after those whose names collate after it
// (the tree lists projects in descending pinyin order) and, among names that collate
// alike, after those read first. -1 when a query failed.
int InsertionRow(const Database& db, const ProjectTree& tree, const TouchedProject& rows)
{
    const QCollator collator = ProjectNameCollator();
    const auto name = [&](int p) { return tree.textView(tree.projectNode(p)); };
    int row = 0;
    for (int count = tree.projectCount(); count > 0;) {
        const int half = count / 2;
        if (collator.compare(name(row + half), rows.name) > 0) {
            row += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    for (; row < tree.projectCount() && collator.compare(name(row), rows.name) == 0; ++row) {
        const std::optional<FirstRow> other = ReadFirstRowOf(db, tree, row);
        if (!other)
            return -1;
        if (rows.first < *other)
            break;
    }
    return row;
}

} // namespace

bool RefreshProjects(const Database& db, ProjectTreeEdits& edits, const QStringList& names)
{
    for (const QString& name : names) {
        if (const int project = edits.tree().findProject(name); project >= 0)
            edits.removeProject(project);
    }
    for (const QString& name : names) {
        if (edits.tree().findProject(name) >= 0)
            continue;   // the same project under another spelling, done already
        const std::optional<TouchedProject> rows = ReadProject(db, name);
        if (!rows)
            return false;
        if (rows->positions.isEmpty())
            continue;
        const int row = InsertionRow(db, edits.tree(), *rows);
        if (row < 0)
            return false;
        edits.insertProject(row, rows->name, rows->positions);
    }
    return true;
}

} // namespace stolvar
