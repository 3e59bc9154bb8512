#include "model/register/ProjectTreeUpdate.h"

#include "db/Database.h"
#include "model/register/ProjectOutline.h"

#include <QCollator>

#include <algorithm>
#include <optional>

namespace stolvar {

namespace {

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
        const std::optional<FirstRowOf> other = ReadFirstRowOf(db, tree, row);
        if (!other)
            return -1;
        if (rows.first < other->row)
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
