#pragma once

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Records.h"
#include "db/Schema.h"

#include <gtest/gtest.h>

#include <memory>

namespace stolvar::test {

inline QDateTime At(int y, int m, int d, int hh = 0, int mm = 0)
{
    return WallTime(QDate(y, m, d), QTime(hh, mm));
}

inline SpecimenGroup Group(qint64 id, const QDateTime& cast, const QString& project = QStringLiteral("一号楼"))
{
    SpecimenGroup g;
    g.id = id;
    g.project = project;
    g.position = QStringLiteral("三层梁板");
    g.grade = QStringLiteral("C30");
    g.castingDate = cast;
    g.standardState = kNotSent;
    g.sameState = kNotSent;
    g.standardCount = QStringLiteral("2");
    g.sameCount = QStringLiteral("1");
    g.formCount = QStringLiteral("1");
    return g;
}

inline bool InsertGroup(const Database& db, const SpecimenGroup& g)
{
    Statement st(db, QStringLiteral("INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, "
                                    "标养组数, 同养组数, 拆模组数) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    st.bindAll(g.project, g.position, g.grade, g.castingDate, g.standardState, g.sameState, g.standardCount,
               g.sameCount, g.formCount);
    return st.run();
}

inline bool InsertTemperature(const Database& db, const QDateTime& day, double mean)
{
    Statement st(db, QStringLiteral("INSERT INTO skxx (养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    st.bindAll(day, mean, mean + 5, mean - 5);
    return st.run();
}

} // namespace stolvar::test
