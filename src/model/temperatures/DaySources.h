#pragma once

#include "db/Records.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

class Database;

// The source of a day's temperatures (skxx.来源). A typed record (and every record of a
// file written before sources were kept) is "手工"; the automatic sources never change it.
using DaySource = TemperatureSource;

// What an automatic source does with one day it offers.
enum class DayPlan {
    Add,              // no record yet
    ReplaceForecast,  // the record is a forecast; the offered values are better
    KeepTyped,        // a typed record: never changed
    KeepOther,        // observed or logger values are already there
    Incomplete,       // the offered day is not trusted (a logger day with too few hours)
    DateOutOfRange,   // a day no site record can have (a logger whose clock was never set)
};
// 新增, 替换预报, 已有手工记录（不覆盖）, 已有记录（不覆盖）, 数据不全, 日期异常
QString PlanText(DayPlan plan);

// The weather service: today and ahead are forecasts, stored where no record is; a past
// day is observed weather, stored where none is and replacing a forecast.
DayPlan PlanServiceDay(std::optional<DaySource> existing, bool past);
// A logger day is measured on site: stored where none is and replacing a forecast.
DayPlan PlanLoggerDay(std::optional<DaySource> existing, bool complete);

struct SourcedDay {
    QDate day;
    double mean = 0;
    double high = 0;
    double low = 0;
    DaySource source = DaySource::Manual;
};

// The source of each recorded day from `from` to `to` (both included). False on a failed query.
bool LoadDaySources(Database& db, const QDate& from, const QDate& to, QMap<QDate, DaySource>* sources,
                    QString* error);

// Plans every offered day (ascending by day) inside one transaction (serialised with every other writer),
// writes the days to add or replace and commits. Returns "" or why nothing was stored;
// `written` counts the days stored.
using DayPlanner = DayPlan (*)(std::optional<DaySource> existing, const SourcedDay& day, const QDate& today);
QString StoreSourcedDays(Database& db, const QVector<SourcedDay>& days, const QDate& today, DayPlanner plan,
                         int* written = nullptr);

} // namespace stolvar
