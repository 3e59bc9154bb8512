#include "curing/DaySources.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"

namespace stolvar {

namespace {

QString DayKey(const QDate& day)
{
    return ToStorageText(WallTime(day)).left(10);
}

bool InsertDay(Database& db, const SourcedDay& day, bool withSource, QString* error)
{
    Statement st(db, withSource ? QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度, 来源) "
                                                 "VALUES (?, ?, ?, ?, ?)")
                                : QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    st.bindAll(WallTime(day.day), day.mean, day.high, day.low);
    if (withSource)
        st.bind(5, SourceText(day.source));
    if (st.run())
        return true;
    *error = st.error();
    return false;
}

// Only the forecast rows of the day are rewritten.
bool ReplaceForecast(Database& db, const SourcedDay& day, QString* error)
{
    Statement st(db, QStringLiteral("UPDATE skxx SET 温度记录 = ?, 最高温度 = ?, 最低温度 = ?, 来源 = ? "
                                    "WHERE 养护记录 >= ? AND 养护记录 < ? AND 来源 = ?"));
    st.bindAll(day.mean, day.high, day.low, SourceText(day.source), DayKey(day.day), DayKey(day.day.addDays(1)),
               SourceText(DaySource::Forecast));
    if (st.run())
        return true;
    *error = st.error();
    return false;
}

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
                         + QStringLiteral(" FROM skxx WHERE 养护记录 >= ? AND 养护记录 < ?"));
    st.bindAll(DayKey(from), DayKey(to.addDays(1)));
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
        const bool ok = planned == DayPlan::Add               ? InsertDay(db, day, withSource, &error)
                        : planned == DayPlan::ReplaceForecast ? ReplaceForecast(db, day, &error)
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
