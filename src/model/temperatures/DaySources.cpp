#include "model/temperatures/DaySources.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/temperatures/DayRows.h"

namespace stolvar {

namespace {

QString StoreFailed(const QString& error)
{
    return QStringLiteral("温度记录保存失败：") + error;
}

} // namespace

QString PlanText(DayPlan plan)
{
    switch (plan) {
    case DayPlan::Add:
        return QStringLiteral("新增");
    case DayPlan::ReplaceForecast:
        return QStringLiteral("替换预报");
    case DayPlan::KeepTyped:
        return QStringLiteral("已有手工记录（不覆盖）");
    case DayPlan::KeepOther:
        return QStringLiteral("已有记录（不覆盖）");
    case DayPlan::DateOutOfRange:
        return QStringLiteral("日期异常");
    case DayPlan::Incomplete:
        break;
    }
    return QStringLiteral("数据不全");
}

DayPlan PlanServiceDay(std::optional<DaySource> existing, bool past)
{
    if (!existing)
        return DayPlan::Add;
    if (*existing == DaySource::Manual)
        return DayPlan::KeepTyped;
    return past && *existing == DaySource::Forecast ? DayPlan::ReplaceForecast : DayPlan::KeepOther;
}

DayPlan PlanLoggerDay(std::optional<DaySource> existing, bool complete)
{
    if (!complete)
        return DayPlan::Incomplete;
    if (!existing)
        return DayPlan::Add;
    if (*existing == DaySource::Manual)
        return DayPlan::KeepTyped;
    return *existing == DaySource::Forecast ? DayPlan::ReplaceForecast : DayPlan::KeepOther;
}

bool LoadDaySources(Database& db, const QDate& from, const QDate& to, QMap<QDate, DaySource>* sources, QString* error)
{
    const bool withSource = HasSourceColumn(db);
    Statement st(db, QStringLiteral("SELECT 养护记录, ") + (withSource ? QStringLiteral("来源") : QStringLiteral("NULL"))
                         + QStringLiteral(" FROM skxx") + DayCondition());
    BindDayRange(st, 1, from, to);
    while (st.next()) {
        const QDate day = st.dateTime(0).date();
        const DaySource source = SourceFromText(st.text(1));
        // A day is a forecast only when all its rows are; else a row of another source
        // (a typed one first of all) decides, and the day is never overwritten.
        const auto found = sources->constFind(day);
        if (found == sources->cend() || *found == DaySource::Forecast || source == DaySource::Manual)
            sources->insert(day, source);
    }
    if (!st.ok())
        *error = st.error();
    return st.ok();
}

QString StoreSourcedDays(Database& db, const QVector<SourcedDay>& days, const QDate& today, DayPlanner plan,
                         int* written)
{
    if (written)
        *written = 0;
    if (days.isEmpty())
        return {};
    Transaction tx(db);
    if (!tx.ok())
        return StoreFailed(db.lastError());
    QMap<QDate, DaySource> sources;
    QString error;
    if (!LoadDaySources(db, days.front().day, days.back().day, &sources, &error))
        return StoreFailed(error);
    const bool withSource = HasSourceColumn(db);
    int count = 0;
    for (const SourcedDay& day : days) {
        const auto found = sources.constFind(day.day);
        const DayPlan planned = plan(found == sources.cend() ? std::nullopt : std::optional(*found), day, today);
        const DayTemperatures values{day.day, day.mean, day.high, day.low};
        const bool ok = planned == DayPlan::Add ? InsertDayRow(db, values, day.source, withSource, &error)
                        : planned == DayPlan::ReplaceForecast ? ReplaceForecastRows(db, values, day.source, &error)
                                                              : true;
        if (!ok)
            return StoreFailed(error);
        count += planned == DayPlan::Add || planned == DayPlan::ReplaceForecast;
    }
    if (!tx.commit())
        return StoreFailed(db.lastError());
    if (written)
        *written = count;
    return {};
}

} // namespace stolvar
