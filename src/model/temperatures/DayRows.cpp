#include "model/temperatures/DayRows.h"

#include "core/Conversions.h"
#include "db/Database.h"

namespace stolvar {

namespace {

bool Run(Statement& st, QString* error)
{
    if (st.run())
        return true;
    *error = st.error();
    return false;
}

} // namespace

QString DayKey(const QDate& day)
{
    return ToStorageText(WallTime(day)).left(10);
}

const QString& DayCondition()
{
    static const QString text = QStringLiteral(" WHERE 养护记录 >= ? AND 养护记录 < ?");
    return text;
}

Statement& BindDayRange(Statement& st, int first, const QDate& from, const QDate& to)
{
    st.bind(first, DayKey(from));
    st.bind(first + 1, DayKey(to.addDays(1)));
    return st;
}

bool InsertDayRow(Database& db, const DayTemperatures& day, TemperatureSource source, bool withSource,
                  QString* error)
{
    Statement st(db, withSource
                         ? QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度, 来源) VALUES (?, ?, ?, ?, ?)")
                         : QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    st.bindAll(WallTime(day.day), day.mean, day.high, day.low);
    if (withSource)
        st.bind(5, SourceText(source));
    return Run(st, error);
}

bool UpdateDayRows(Database& db, const DayTemperatures& day, TemperatureSource source, bool withSource, int* rows,
                   QString* error)
{
    Statement st(db, (withSource ? QStringLiteral("UPDATE skxx SET 温度记录 = ?, 最高温度 = ?, 最低温度 = ?, 来源 = ?")
                                 : QStringLiteral("UPDATE skxx SET 温度记录 = ?, 最高温度 = ?, 最低温度 = ?"))
                         + DayCondition());
    st.bindAll(day.mean, day.high, day.low);
    int next = 4;
    if (withSource)
        st.bind(next++, SourceText(source));
    BindDayRange(st, next, day.day, day.day);
    if (!Run(st, error))
        return false;
    *rows = st.changes();
    return true;
}

bool ReplaceForecastRows(Database& db, const DayTemperatures& day, TemperatureSource source, QString* error)
{
    Statement st(db, QStringLiteral("UPDATE skxx SET 温度记录 = ?, 最高温度 = ?, 最低温度 = ?, 来源 = ?") + DayCondition()
                         + QStringLiteral(" AND 来源 = ?"));
    st.bindAll(day.mean, day.high, day.low, SourceText(source));
    BindDayRange(st, 5, day.day, day.day).bind(7, SourceText(TemperatureSource::Forecast));
    return Run(st, error);
}

} // namespace stolvar
