#pragma once

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Records.h"
#include "db/Schema.h"

#include <QString>

#include <memory>

namespace stolvar::test {

// A new project database with both tables at `path`.
inline std::shared_ptr<Database> MakeProjectDatabase(const QString& path)
{
    auto db = Database::Create(path);
    if (db && !CreateSchema(*db))
        return nullptr;
    return db;
}

inline QDateTime Day(int y, int m, int d, int hh = 0, int mm = 0)
{
    return WallTime(QDate(y, m, d), QTime(hh, mm));
}

// Inserts a group row directly (NULL where a QVariant is null).
inline bool InsertGroup(Database& db, const QVariant& project, const QVariant& position, const QDateTime& casting,
                        const QString& standardState = kNotSent, const QString& sameState = kNotSent,
                        const QString& grade = QStringLiteral("C30"), const QVariant& standardCount = QStringLiteral("1"),
                        const QVariant& sameCount = QStringLiteral("1"), const QVariant& formCount = QVariant())
{
    Statement st(db, QStringLiteral("INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, 标养组数, "
                                    "同养组数, 拆模组数) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    st.bind(1, project).bind(2, position).bind(3, grade).bind(4, casting).bind(5, standardState).bind(6, sameState);
    st.bind(7, standardCount).bind(8, sameCount).bind(9, formCount);
    return st.run();
}

inline bool InsertTemperature(Database& db, const QDateTime& day, double mean, const QVariant& high = QVariant(),
                              const QVariant& low = QVariant())
{
    Statement st(db, QStringLiteral("INSERT INTO skxx (养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    st.bind(1, day).bind(2, mean).bind(3, high).bind(4, low);
    return st.run();
}

inline int CountRows(const Database& db, const QString& table)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM ") + table);
    return st.next() ? int(st.integer(0)) : -1;
}

} // namespace stolvar::test
