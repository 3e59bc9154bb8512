#pragma once

#include "model/maturity/Maturity.h"
#include "model/temperatures/ClimateStore.h"

#include <QDate>
#include <QPointF>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace stolvar {

// What a group's same-condition window looks like ahead of today: the clerk plans the
// week by it. Pure logic on the records read for the group.
struct ProjectionInput {
    QDateTime castingDate;
    bool countFromNextDay = false;
    MaturityRule rule = MaturityRule::Classic;
    QDate today;
    // The register's past years: with them a group not due yet is projected from each year
    // (see ClimateEnsemble.h); without, from the recent mean.
    std::shared_ptr<const Climate> climate;
};

// Records to read for a group: from 7 days before casting (the recent mean of a group
// cast a few days ago reaches back before it) to the end of the 90-day window.
inline constexpr int kRecentMeanDays = 7;
DayWindow ProjectionWindow(const QDateTime& castingDate);

// The first day on which the rule of table 1 is met: from the stored records (forecast
// days included) and, beyond the last stored day, the mean of the last 7 stored days
// repeated day by day.
struct SameConditionProjection {
    enum class Outcome {
        None,       // no casting date, or nothing stored to project from
        Reached,    // met on stored days up to today, by 600 ℃·d
        CapPassed,  // met on stored days up to today, by the 60th counted day
        Expected,   // 600 ℃·d on a day ahead
        TooCold,    // the recent days cannot reach 600 ℃·d: the 60th counted day decides
    };
    Outcome outcome = Outcome::None;
    QDate date;             // the day the rule is met
    int forecastDays = 0;   // forecast days summed up to that day
    int projectedDays = 0;  // days beyond the stored ones summed up to that day
    // The stored days end so early that the projected day is already past: the days must be
    // recorded first. `lastStoredDay` is the last day with a record.
    bool stale = false;
    QDate lastStoredDay;
    // Projected from the climate: the years taken, and the 10th to 90th percentile of their days.
    int climateYears = 0;
    QDate rangeFrom;
    QDate rangeTo;
};

SameConditionProjection ProjectSameConditionDate(const QVector<TemperatureRecord>& records,
                                                 const ProjectionInput& input);
// "预计2026年12月20日达到600℃·d（含预报3天）", from the climate
// "预计2026年12月20日达到600℃·d（12月18日～12月24日，按30年气候，含预报3天）", "已于2026年12月5日达到600℃·d",
// "近期气温过低，预计第60天（2027年1月3日）送检", "已于…满60天", "温度记录截至…，请补录"
// when stale; empty for None.
QString ProjectionText(const SameConditionProjection& projection);

// The days without a record that can still change the group's same-condition due day:
// from the casting day to its due day (or the end of the 60-day window while it is not due),
// and never today or later, whose record may still come; ascending.
QVector<QDate> MissingDays(const QVector<TemperatureRecord>& records, const QDateTime& castingDate,
                           const QDate& today, const std::optional<QDate>& dueDay = std::nullopt);
// "缺少N天温度记录：11月12日、11月13日" with at most 10 dates, then "等"; empty when none.
QString MissingDaysText(const QVector<QDate>& missing);

// The accumulated degree-days by day since casting, for the maturity curve. Points are
// (days since casting, ℃·d). The line is cut into runs of one kind; each run starts at
// the last point of the run before, so that the runs join.
enum class CurveKind { Stored, Forecast, Projected };
struct CurveRun {
    CurveKind kind = CurveKind::Stored;
    QVector<QPointF> points;
    bool operator==(const CurveRun&) const = default;
};
struct MaturityCurve {
    QVector<CurveRun> runs;
    // Projected from the climate: the 10th and 90th percentile of the years' sums, day by day
    // from the last stored day (the median is the projected run); empty otherwise.
    QVector<QPointF> bandLow;
    QVector<QPointF> bandHigh;
    int dueDay = -1;       // days since casting of the projected or reached day
    int minimumDay = -1;   // the 14th counted day, under the national standard's rule
    QDate castingDay;
    bool operator==(const MaturityCurve&) const = default;
};
MaturityCurve BuildMaturityCurve(const QVector<TemperatureRecord>& records, const ProjectionInput& input);

} // namespace stolvar
