#include "curing/SameConditionQuery.h"

#include "curing/TemperatureStore.h"

namespace stolvar {

namespace {

using Accumulation = MaturitySummary (*)(const QVector<TemperatureRecord>&, bool);

MaturityResult Compute(Database* db, const QDateTime& castingDate, bool countFromNextDay,
                       const DayWindow& window, Accumulation accumulate)
{
    MaturityResult result;
    if (!db) {
        result.failure = ConnectFailedText();
        return result;
    }
    if (!castingDate.isValid())
        return result;
    QString error;
    const QVector<TemperatureRecord> records = LoadTemperatureWindow(*db, window.from, window.to, &error);
    if (!error.isEmpty())
        result.failure = QueryFailedText();
    else
        result.summary = accumulate(records, countFromNextDay);
    return result;
}

} // namespace

QString ConnectFailedText()
{
    return QStringLiteral("连接数据库失败！");
}

QString QueryFailedText()
{
    return QStringLiteral("查询数据失败！");
}

MaturityResult ComputeTable1(Database* db, const QDateTime& castingDate, bool countFromNextDay)
{
    return Compute(db, castingDate, countFromNextDay, Table1Window(castingDate), &AccumulateTable1);
}

MaturityResult ComputeTable2(Database* db, const QDateTime& castingDate, bool countFromNextDay)
{
    return Compute(db, castingDate, countFromNextDay, Table2Window(castingDate), &AccumulateTable2);
}

} // namespace stolvar
