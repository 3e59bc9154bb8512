#include "model/register/ProjectOutline.h"

#include "db/Database.h"
#include "db/ProjectSummary.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>

#include <algorithm>
#include <numeric>

namespace stolvar {

namespace {

// A project as the aggregate over the index of names gives it (names ASCII case aside,
// as the column compares them).
struct OutlineEntry {
    QString name;
    int rows = 0;
    bool null = false;
    bool manySpellings = false;   // its rows spell the name in more than one way
};

QVector<OutlineEntry> ReadEntries(Statement& st)
{
    QVector<OutlineEntry> entries;
    while (st.next())
        entries.append({st.text(0), int(st.integer(1)), st.isNull(0), st.integer(2) != 0});
    return entries;
}

// The register's own count by spelling, a few hundred pages read in the order of its key:
// the spellings of a name that the column takes for one (ASCII case aside) make one
// project. Grouped here rather than by SQLite, whose GROUP BY would sort every spelling
// (10,000 at 100,000 groups) at every start.
QVector<OutlineEntry> ReadSummaryEntries(const Database& db)
{
    Statement st(db, QStringLiteral("SELECT 无名称, 工程名称, 组数 FROM gchz"));
    QVector<OutlineEntry> entries;
    QHash<QString, int> byKey;
    while (st.next()) {
        const int rows = int(st.integer(2));
        if (st.integer(0) != 0) {
            entries.append({QString(), rows, true, false});
            continue;
        }
        const QString name = st.text(1);
        QString key = NameKey(name);
        if (const auto found = byKey.constFind(key); found != byKey.cend()) {
            entries[*found].rows += rows;
            entries[*found].manySpellings = true;
        } else {
            byKey.insert(std::move(key), int(entries.size()));
            entries.append({name, rows, false, false});
        }
    }
    return entries;
}

QVector<OutlineEntry> ReadOutlineEntries(const Database& db)
{
    if (!db.isProjectSummaryDistrusted() && HasProjectSummary(db))
        return ReadSummaryEntries(db);
    // Only the name is used, so SQLite walks the index gcxx_工程 in its order and never
    // reads a row of the table.
    Statement st(db, QStringLiteral("SELECT 工程名称, COUNT(*), MIN(工程名称 COLLATE BINARY) IS NOT MAX(工程名称 COLLATE BINARY) "
                                    "FROM gcxx GROUP BY 工程名称"));
    return ReadEntries(st);
}

std::optional<FirstRowOf> ReadFirstRowNamed(const Database& db, const std::optional<QString>& name)
{
    Statement st(db, QStringLiteral("SELECT 工程名称, 取样日期, id FROM gcxx WHERE %1 ORDER BY 取样日期, id LIMIT 1")
                         .arg(name ? QStringLiteral("工程名称 = ?") : QStringLiteral("工程名称 IS NULL")));
    if (name)
        st.bindAll(*name);
    if (!st.next())
        return std::nullopt;
    return FirstRowOf{st.text(0), {st.isNull(1), st.text(1), st.integer(2)}};
}

std::optional<QString> NameOf(const OutlineEntry& entry)
{
    return entry.null ? std::nullopt : std::optional<QString>(entry.name);
}

// Projects in descending pinyin order; names that collate alike in the order of their
// first rows, as a read of every row in casting order lists them.
QVector<int> DisplayOrder(const Database& db, const QVector<OutlineEntry>& entries)
{
    const QCollator collator = ProjectNameCollator();
    QVector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const OutlineEntry& e : entries)
        keys.append(collator.sortKey(e.name));
    QVector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) > 0; });
    for (auto run = order.begin(); run != order.end();) {
        const auto end = std::find_if(run, order.end(), [&](int p) { return keys[p].compare(keys[*run]) != 0; });
        if (end - run > 1) {
            QHash<int, FirstRow> first;
            for (auto p = run; p != end; ++p)
                first.insert(*p, ReadFirstRowNamed(db, NameOf(entries[*p])).value_or(FirstRowOf{}).row);
            std::stable_sort(run, end, [&](int a, int b) { return first[a] < first[b]; });
        }
        run = end;
    }
    return order;
}

} // namespace

ProjectTree LoadProjectOutline(const Database& db)
{
    QVector<OutlineEntry> entries = ReadOutlineEntries(db);
    for (OutlineEntry& e : entries) {
        // The tree names a project as its first row spells it.
        if (e.manySpellings) {
            if (const auto first = ReadFirstRowNamed(db, NameOf(e)))
                e.name = first->name;
        }
    }
    ProjectTree tree;
    qsizetype characters = 0;
    int nodes = 0;
    for (const OutlineEntry& e : entries) {
        characters += e.name.size();
        nodes += 1 + (e.null ? 0 : e.rows);
    }
    tree.reserve(nodes, int(entries.size()), characters);
    for (int p : DisplayOrder(db, entries)) {
        const OutlineEntry& e = entries[p];
        // The rows without a project name match no position query: their node stands alone.
        tree.appendUnreadProject(e.null ? QString() : e.name, e.null ? 0 : e.rows);
        if (e.null)
            tree.markNullProject();
    }
    return tree;
}

std::optional<QStringList> ReadPositionNames(const Database& db, const ProjectTree& tree, int project)
{
    if (project == tree.nullProject())
        return QStringList();
    Statement st(db, QStringLiteral("SELECT 工程部位 FROM gcxx WHERE 工程名称 = ? ORDER BY 取样日期, id"));
    st.bindAll(tree.text(tree.projectNode(project)));
    QStringList names;
    while (st.next())
        names << st.text(0);
    if (!st.ok())
        return std::nullopt;
    return names;
}

std::optional<FirstRowOf> ReadFirstRowOf(const Database& db, const ProjectTree& tree, int project)
{
    if (project == tree.nullProject())
        return ReadFirstRowNamed(db, std::nullopt);
    return ReadFirstRowNamed(db, tree.text(tree.projectNode(project)));
}

} // namespace stolvar
