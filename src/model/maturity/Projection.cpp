#include "model/maturity/Projection.h"

#include "core/Conversions.h"
#include "model/maturity/ClimateEnsemble.h"
#include "model/maturity/DueDays.h"

#include <algorithm>

namespace stolvar {

namespace {

constexpr int kMissingDatesShown = 10;

// The stored records of the 90-day window followed by the recent mean repeated on every
// day after the last stored one, up to the window's end.
struct ProjectedSeries {
    QVector<TemperatureRecord> records;
    QDate lastStoredDay;   // invalid when the window holds no record
    bool canProject = false;
};

std::optional<float> RecentMean(const QVector<TemperatureRecord>& records)
{
    double sum = 0;
    int taken = 0;
    for (auto it = records.crbegin(); it != records.crend() && taken < kRecentMeanDays; ++it) {
        if (it->mean) {
            sum += double(*it->mean);
            ++taken;
        }
    }
    if (taken == 0)
        return std::nullopt;
    return float(sum / taken);
}

ProjectedSeries BuildSeries(const QVector<TemperatureRecord>& records, const ProjectionInput& input)
{
    ProjectedSeries series;
    const DayWindow window = DueWindow(input.castingDate, input.rule);
    const QDate first = window.from.date();
    const QDate last = window.to.date();
    for (const TemperatureRecord& r : records) {
        if (r.day.date() >= first && r.day.date() <= last) {
            series.records.append(r);
            series.lastStoredDay = r.day.date();
        }
    }
    const std::optional<float> mean = RecentMean(records);
    series.canProject = mean.has_value();
    if (!mean)
        return series;
    QDate day = series.lastStoredDay.isValid() ? series.lastStoredDay.addDays(1) : first;
    for (; day <= last; day = day.addDays(1)) {
        TemperatureRecord projected;
        projected.day = WallTime(day);
        projected.mean = mean;
        series.records.append(projected);
    }
    return series;
}

bool IsProjected(const MaturityDay& day, const ProjectedSeries& series)
{
    return !series.lastStoredDay.isValid() || day.day.date() > series.lastStoredDay;
}

// The walk of table 1 over the series; `met` says whether the rule was met on its last day.
struct ProjectedWalk {
    ProjectedSeries series;
    MaturitySummary summary;
    bool met = false;
    bool byThreshold = false;
};

ProjectedWalk WalkProjection(const QVector<TemperatureRecord>& records, const ProjectionInput& input)
{
    ProjectedWalk walk;
    walk.series = BuildSeries(records, input);
    walk.summary = AccumulateTable1(walk.series.records, input.countFromNextDay, input.rule);
    if (walk.summary.days.isEmpty())
        return walk;
    const MaturityDay& last = walk.summary.days.constLast();
    walk.byThreshold = MaturityDue(last.sumSoFar, last.validSoFar, input.rule);
    walk.met = walk.byThreshold || walk.summary.countedDays >= maturity::kTable1DayCap;
    return walk;
}

QString ShortDate(const QDate& day)
{
    return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
}

// A projection resting on days that should be recorded by now never names a past day.
void MarkStale(SameConditionProjection& projection, const QVector<TemperatureRecord>& records, const QDate& today)
{
    if (projection.projectedDays == 0 || projection.date >= today)
        return;
    projection.stale = true;
    projection.lastStoredDay = records.isEmpty() ? QDate() : records.constLast().day.date();
}

// The group's stored days of its due window and the ensemble of the climate's years, when
// the register has a climate and the stored days alone do not make the group due.
struct ClimateWalk {
    GroupDueDays stored;
    ClimateEnsemble ensemble;
};

std::optional<ClimateWalk> WalkClimate(const QVector<TemperatureRecord>& records, const ProjectionInput& input,
                                       bool withSums)
{
    if (!input.climate || input.climate->isEmpty())
        return std::nullopt;
    const CountingRule rule{input.rule, input.countFromNextDay};
    const DayWindow window = DueWindow(input.castingDate, input.rule);
    QVector<TemperatureRecord> stored;
    for (const TemperatureRecord& r : records)
        if (r.day.date() >= window.from.date() && r.day.date() <= window.to.date())
            stored.append(r);
    ClimateWalk walk{ComputeDueDays(input.castingDate, stored, rule), {}};
    if (walk.stored.sameCondition)
        return std::nullopt;
    walk.ensemble = ProjectWithClimate(input.castingDate, stored, rule, *input.climate, withSums);
    if (walk.ensemble.years == 0)
        return std::nullopt;
    return walk;
}

SameConditionProjection FromEnsemble(const ClimateEnsemble& e, const QVector<TemperatureRecord>& records,
                                     const QDate& today)
{
    using Outcome = SameConditionProjection::Outcome;
    SameConditionProjection projection;
    projection.outcome = e.medianByCap ? Outcome::TooCold : Outcome::Expected;
    projection.date = e.median;
    projection.forecastDays = e.forecastDays;
    projection.projectedDays = e.lastStoredDay.isValid() ? int(std::max<qint64>(0, e.lastStoredDay.daysTo(e.median))) : 1;
    projection.climateYears = e.years;
    projection.rangeFrom = e.low;
    projection.rangeTo = e.high;
    MarkStale(projection, records, today);
    return projection;
}

// The stored part of the curve: runs of stored and forecast days.
void AppendStoredRuns(MaturityCurve& curve, const QVector<MaturityDay>& days, const ProjectionInput& input,
                      QPointF* previous)
{
    for (const MaturityDay& day : days) {
        const CurveKind kind = day.source == TemperatureSource::Forecast ? CurveKind::Forecast : CurveKind::Stored;
        if (curve.runs.isEmpty() || curve.runs.constLast().kind != kind)
            curve.runs.append({kind, {*previous}});
        *previous = QPointF(double(curve.castingDay.daysTo(day.day.date())), double(day.sumSoFar));
        curve.runs.last().points.append(*previous);
        if (input.rule == MaturityRule::Standard2015 && curve.minimumDay < 0
            && day.validSoFar == maturity::kStandardMinimumDays)
            curve.minimumDay = int(previous->x());
    }
}

// The median of the years up to the projected day, and their band up to the 90th percentile's.
MaturityCurve ClimateCurve(const ClimateWalk& walk, const ProjectionInput& input)
{
    MaturityCurve curve;
    curve.castingDay = input.castingDate.date();
    QPointF previous(0, 0);
    AppendStoredRuns(curve, walk.stored.table1.days, input, &previous);
    const ClimateEnsemble& e = walk.ensemble;
    const int medianAge = int(curve.castingDay.daysTo(e.median));
    const int highAge = int(curve.castingDay.daysTo(e.high));
    CurveRun projected{CurveKind::Projected, {previous}};
    for (qsizetype i = 1; i < e.medianSums.size(); ++i) {
        const int age = e.firstAge + int(i);
        if (age > highAge && age > medianAge)
            break;
        if (age <= medianAge)
            projected.points.append(QPointF(age, double(e.medianSums[i])));
        curve.bandLow.append(QPointF(age, double(e.lowSums[i])));
        curve.bandHigh.append(QPointF(age, double(e.highSums[i])));
    }
    if (!curve.bandLow.isEmpty()) {
        curve.bandLow.prepend(previous);
        curve.bandHigh.prepend(previous);
    }
    curve.runs.append(projected);
    curve.dueDay = medianAge;
    return curve;
}

} // namespace

DayWindow ProjectionWindow(const QDateTime& castingDate)
{
    const QDateTime from = WallTime(castingDate.date());
    return {AddDays(from, -kRecentMeanDays), AddDays(from, maturity::kTable2WindowDays)};
}

SameConditionProjection ProjectSameConditionDate(const QVector<TemperatureRecord>& records,
                                                 const ProjectionInput& input)
{
    SameConditionProjection projection;
    if (!input.castingDate.isValid())
        return projection;
    if (const std::optional<ClimateWalk> climate = WalkClimate(records, input, false))
        return FromEnsemble(climate->ensemble, records, input.today);
    const ProjectedWalk walk = WalkProjection(records, input);
    if (!walk.series.canProject)
        return projection;
    for (const MaturityDay& day : walk.summary.days) {
        projection.projectedDays += IsProjected(day, walk.series) ? 1 : 0;
        projection.forecastDays += day.source == TemperatureSource::Forecast ? 1 : 0;
    }
    using Outcome = SameConditionProjection::Outcome;
    if (!walk.met) {
        // Nothing counts any more (frost under the national standard's rule): the 60th day decides.
        projection.outcome = Outcome::TooCold;
        projection.date = input.castingDate.date().addDays(maturity::kTable1WindowDays);
        MarkStale(projection, records, input.today);
        return projection;
    }
    projection.date = walk.summary.days.constLast().day.date();
    const bool past = projection.projectedDays == 0 && projection.date <= input.today;
    MarkStale(projection, records, input.today);
    if (walk.byThreshold)
        projection.outcome = past ? Outcome::Reached : Outcome::Expected;
    else
        projection.outcome = past ? Outcome::CapPassed : Outcome::TooCold;
    return projection;
}

QString ProjectionText(const SameConditionProjection& p)
{
    using Outcome = SameConditionProjection::Outcome;
    if (p.stale)
        return QStringLiteral("温度记录截至%1，请补录").arg(FormatLongDay(p.lastStoredDay));
    switch (p.outcome) {
    case Outcome::None:
        break;
    case Outcome::Reached:
        return QStringLiteral("已于%1达到600℃·d").arg(FormatLongDay(p.date));
    case Outcome::CapPassed:
        return QStringLiteral("已于%1满60天").arg(FormatLongDay(p.date));
    case Outcome::Expected:
        if (p.climateYears > 0)
            return QStringLiteral("预计%1达到600℃·d（%2～%3，按%4年气候，含预报%5天）")
                .arg(FormatLongDay(p.date), ShortDate(p.rangeFrom), ShortDate(p.rangeTo))
                .arg(p.climateYears)
                .arg(p.forecastDays);
        return QStringLiteral("预计%1达到600℃·d（含预报%2天）").arg(FormatLongDay(p.date)).arg(p.forecastDays);
    case Outcome::TooCold:
        return QStringLiteral("近期气温过低，预计第60天（%1）送检").arg(FormatLongDay(p.date));
    }
    return {};
}

QVector<QDate> MissingDays(const QVector<TemperatureRecord>& records, const QDateTime& castingDate,
                           const QDate& today, const std::optional<QDate>& dueDay)
{
    QVector<QDate> missing;
    if (!castingDate.isValid())
        return missing;
    const QDate first = castingDate.date();
    const QDate last = std::min(today.addDays(-1), dueDay.value_or(first.addDays(maturity::kTable1WindowDays)));
    QVector<QDate> stored;
    stored.reserve(records.size());
    for (const TemperatureRecord& r : records)
        stored.append(r.day.date());
    std::sort(stored.begin(), stored.end());
    auto next = stored.cbegin();
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        next = std::lower_bound(next, stored.cend(), day);
        if (next == stored.cend() || *next != day)
            missing.append(day);
    }
    return missing;
}

QString MissingDaysText(const QVector<QDate>& missing)
{
    if (missing.isEmpty())
        return {};
    QStringList shown;
    for (qsizetype i = 0; i < missing.size() && i < kMissingDatesShown; ++i)
        shown << ShortDate(missing[i]);
    const QString more = missing.size() > kMissingDatesShown ? QStringLiteral("等") : QString();
    return QStringLiteral("缺少%1天温度记录：").arg(missing.size()) + shown.join(u'、') + more;
}

MaturityCurve BuildMaturityCurve(const QVector<TemperatureRecord>& records, const ProjectionInput& input)
{
    MaturityCurve curve;
    if (!input.castingDate.isValid())
        return curve;
    if (const std::optional<ClimateWalk> climate = WalkClimate(records, input, true))
        return ClimateCurve(*climate, input);
    curve.castingDay = input.castingDate.date();
    const ProjectedWalk walk = WalkProjection(records, input);
    QPointF previous(0, 0);
    for (const MaturityDay& day : walk.summary.days) {
        const CurveKind kind = IsProjected(day, walk.series)          ? CurveKind::Projected
                               : day.source == TemperatureSource::Forecast ? CurveKind::Forecast
                                                                           : CurveKind::Stored;
        if (curve.runs.isEmpty() || curve.runs.constLast().kind != kind)
            curve.runs.append({kind, {previous}});
        previous = QPointF(double(curve.castingDay.daysTo(day.day.date())), double(day.sumSoFar));
        curve.runs.last().points.append(previous);
        if (input.rule == MaturityRule::Standard2015 && curve.minimumDay < 0
            && day.validSoFar == maturity::kStandardMinimumDays)
            curve.minimumDay = int(previous.x());
    }
    if (walk.met)
        curve.dueDay = int(previous.x());
    else if (walk.series.canProject)
        curve.dueDay = maturity::kTable1WindowDays;
    return curve;
}

} // namespace stolvar
