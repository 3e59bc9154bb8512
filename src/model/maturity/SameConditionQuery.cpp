#include "model/maturity/SameConditionQuery.h"

#include "model/temperatures/TemperatureStore.h"

namespace stolvar {

namespace {

using Accumulation = MaturitySummary (*)(const QVector<TemperatureRecord>&, bool, MaturityRule);

MaturityResult Compute(Database* db, const QDateTime& castingDate, bool countFromNextDay, MaturityRule rule,
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
        result.summary = accumulate(records, countFromNextDay, rule);
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

GroupOutlook ComputeGroupOutlook(Database* db, const ProjectionInput& input)
{
    GroupOutlook outlook;
    if (!db) {
        outlook.failure = ConnectFailedText();
        return outlook;
    }
    if (!input.castingDate.isValid())
        return outlook;
    const DayWindow window = ProjectionWindow(input.castingDate);
    QString error;
    const QVector<TemperatureRecord> records = LoadTemperatureWindow(*db, window.from, window.to, &error);
    if (!error.isEmpty()) {
        outlook.failure = QueryFailedText();
        return outlook;
    }
    outlook.missingDays = MissingDays(records, input.castingDate, input.today);
    outlook.projection = ProjectSameConditionDate(records, input);
    outlook.curve = BuildMaturityCurve(records, input);
    return outlook;
}

MaturityResult ComputeTable1(Database* db, const QDateTime& castingDate, bool countFromNextDay, MaturityRule rule)
{
    return Compute(db, castingDate, countFromNextDay, rule, Table1Window(castingDate), &AccumulateTable1);
}

MaturityResult ComputeTable2(Database* db, const QDateTime& castingDate, bool countFromNextDay, MaturityRule rule)
{
    return Compute(db, castingDate, countFromNextDay, rule, Table2Window(castingDate), &AccumulateTable2);
}

} // namespace stolvar
