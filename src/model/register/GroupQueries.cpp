#include "model/register/GroupQueries.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "model/maturity/Maturity.h"

#include <algorithm>

namespace stolvar {

namespace {

QString EscapeLike(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return text;
}

} // namespace

QString SelectGroupsSql(const QString& tail)
{
    return QStringLiteral("SELECT ") + GroupColumns() + QStringLiteral(" FROM gcxx ") + tail;
}

QVector<SpecimenGroup> ReadGroups(Statement& st, QString* error)
{
    QVector<SpecimenGroup> groups;
    while (st.next())
        groups.append(ReadGroup(st));
    if (!st.ok())
        groups.clear();
    if (error)
        *error = st.ok() ? QString() : st.error();
    return groups;
}

QVector<SpecimenGroup> LoadAllGroups(const Database& db, GroupOrder order, QString* error)
{
    Statement st(db, SelectGroupsSql(order == GroupOrder::ById ? QStringLiteral("ORDER BY id")
                                                          : QStringLiteral("ORDER BY 工程名称, 工程部位, 取样日期, id")));
    return ReadGroups(st, error);
}

QVector<SpecimenGroup> LoadGroups(const Database& db, const QString& project, const std::optional<QString>& position,
                                  QString* error)
{
    QString tail = QStringLiteral("WHERE 工程名称 = ?");
    if (position)
        tail += QStringLiteral(" AND 工程部位 = ?");
    Statement st(db, SelectGroupsSql(tail + QStringLiteral(" ORDER BY 取样日期, id")));
    st.bind(1, project);
    if (position)
        st.bind(2, *position);
    return ReadGroups(st, error);
}

std::optional<SpecimenGroup> LoadLastGroup(const Database& db, const QString& project, const QString& position,
                                           QString* error)
{
    // The exact reverse of LoadGroups' order, so the first row here is the last one there.
    Statement st(db, SelectGroupsSql(QStringLiteral("WHERE 工程名称 = ? AND 工程部位 = ? "
                                                    "ORDER BY 取样日期 DESC, id DESC LIMIT 1")));
    st.bindAll(project, position);
    const QVector<SpecimenGroup> rows = ReadGroups(st, error);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QVector<SpecimenGroup> LoadGroupsMatching(const Database& db, const QString& project, const QString& keyword,
                                          QString* error)
{
    Statement st(db, SelectGroupsSql(QStringLiteral("WHERE 工程名称 = ? AND 工程部位 LIKE ? ESCAPE '\\' ORDER BY 取样日期, id")));
    st.bindAll(project, QStringLiteral("%") + EscapeLike(keyword) + QStringLiteral("%"));
    return ReadGroups(st, error);
}

QVector<SpecimenGroup> LoadGroupsMatchingAnywhere(const Database& db, const QString& keyword, QString* error)
{
    Statement st(db, SelectGroupsSql(QStringLiteral("WHERE 工程名称 LIKE ?1 ESCAPE '\\' OR 工程部位 LIKE ?1 ESCAPE '\\' "
                                                    "OR 强度等级 LIKE ?1 ESCAPE '\\' ORDER BY 工程名称, 工程部位, 取样日期, id")));
    st.bind(1, QStringLiteral("%") + EscapeLike(keyword) + QStringLiteral("%"));
    return ReadGroups(st, error);
}

QVector<SpecimenGroup> LoadGroupsCastBetween(const Database& db, const QDateTime& from, const QDateTime& to)
{
    Statement st(db, SelectGroupsSql(QStringLiteral("WHERE 取样日期 >= ? AND 取样日期 < ? ORDER BY id")));
    st.bindAll(from, to);
    return ReadGroups(st);
}

QVector<SpecimenGroup> LoadGroupsCastOn(const Database& db, const QDateTime& day)
{
    const QDateTime midnight = WallTime(day.date());
    return LoadGroupsCastBetween(db, midnight, AddDays(midnight, 1));
}

QVector<SpecimenGroup> LoadCandidateGroups(const Database& db, const QDate& first, const QDate& last)
{
    // The latest a group comes due is the end of its same-condition window.
    const int longest = std::max({kStandardCuringDays, kFormRemovalDays, maturity::kTable2WindowDays});
    return LoadGroupsCastBetween(db, WallTime(first.addDays(-longest)), WallTime(last.addDays(1)));
}

QVector<SpecimenGroup> LoadNewestGroups(const Database& db, int count)
{
    Statement st(db, SelectGroupsSql(QStringLiteral("ORDER BY id DESC LIMIT ?")));
    st.bind(1, count);
    return ReadGroups(st);
}

} // namespace stolvar
