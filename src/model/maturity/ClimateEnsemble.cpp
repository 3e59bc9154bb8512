#include "model/maturity/ClimateEnsemble.h"

#include "core/Conversions.h"
#include "model/maturity/DueDays.h"

#include <algorithm>
#include <cmath>

namespace stolvar {

namespace {

constexpr double kLowFraction = 0.1;
constexpr double kHighFraction = 0.9;

// The day of `year` with the month and day of `day`; 29 February of a common year is 1 March.
QDate SameDayIn(int year, const QDate& day)
{
    const QDate same(year, day.month(), day.day());
    return same.isValid() ? same : QDate(year, 3, 1);
}

// The stored days of the window, then one day without a mean for every day after the last
// stored one up to the window's end, for each year to fill in.
struct Series {
    QVector<TemperatureRecord> records;
    qsizetype stored = 0;   // records before the days to fill
    QDate firstFilled;      // invalid when the stored days reach the window's end
};

Series BuildSeries(const QVector<TemperatureRecord>& window, const DayWindow& span)
{
    Series series;
    series.records = window;
    series.stored = window.size();
    const QDate from = window.isEmpty() ? span.from.date() : window.constLast().day.date().addDays(1);
    const QDate last = span.to.date();
    if (from > last)
        return series;
    series.firstFilled = from;
    series.records.reserve(series.stored + from.daysTo(last) + 1);
    for (QDate day = from; day <= last; day = day.addDays(1)) {
        TemperatureRecord filled;
        filled.day = WallTime(day);
        series.records.append(filled);
    }
    return series;
}

// Fills the days ahead with one year's means; false when the climate lacks any of them.
bool FillFromYear(Series& series, const Climate& climate, int year)
{
    const QDate start = SameDayIn(year, series.firstFilled);
    const qsizetype days = series.records.size() - series.stored;
    if (start < climate.first || start.addDays(days - 1) > climate.last())
        return false;
    const qint64 offset = climate.first.daysTo(start);
    int missing = 0;
    for (qsizetype i = 0; i < days; ++i) {
        const float mean = climate.means[offset + i];
        const bool known = !std::isnan(mean);
        series.records[series.stored + i].mean = known ? std::optional<float>(mean) : std::nullopt;
        missing += known ? 0 : 1;
    }
    return missing * 10 < days;   // a year with gaps of more than a tenth of the days takes no part
}

// One year's sum on every day since casting from `firstAge` to `lastAge`.
void SumsByAge(const MaturitySummary& table1, const QDate& casting, int firstAge, QVector<float>* sums)
{
    float sum = 0;
    auto taken = table1.days.cbegin();
    for (qsizetype i = 0; i < sums->size(); ++i) {
        const QDate day = casting.addDays(firstAge + int(i));
        for (; taken != table1.days.cend() && taken->day.date() <= day; ++taken)
            sum = taken->sumSoFar;
        (*sums)[i] = sum;
    }
}

struct YearOutcome {
    int age = 0;   // due day, days since casting
    bool byCap = false;
};

QVector<float> PercentileByAge(const QVector<QVector<float>>& sums, double p)
{
    if (sums.isEmpty())
        return {};
    QVector<float> out(sums.front().size());
    QVector<double> column(sums.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        for (qsizetype y = 0; y < sums.size(); ++y)
            column[y] = double(sums[y][i]);
        std::sort(column.begin(), column.end());
        out[i] = float(Percentile(column, p));
    }
    return out;
}

int CountForecastDays(const MaturitySummary& table1, const QDate& upTo, qsizetype storedRecords)
{
    int days = 0;
    for (qsizetype i = 0; i < table1.days.size() && i < storedRecords; ++i) {
        const MaturityDay& d = table1.days[i];
        days += d.source == TemperatureSource::Forecast && d.day.date() <= upTo ? 1 : 0;
    }
    return days;
}

} // namespace

double Percentile(const QVector<double>& sorted, double p)
{
    if (sorted.isEmpty())
        return 0;
    const double at = p * double(sorted.size() - 1);
    const auto below = qsizetype(std::floor(at));
    const qsizetype above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - double(below));
}

ClimateEnsemble ProjectWithClimate(const QDateTime& castingDate, const QVector<TemperatureRecord>& window,
                                   const CountingRule& rule, const Climate& climate, bool withSums)
{
    ClimateEnsemble ensemble;
    if (!castingDate.isValid() || climate.isEmpty())
        return ensemble;
    const DayWindow span = DueWindow(castingDate, rule.rule);
    const QDate casting = castingDate.date();
    const int capAge = int(casting.daysTo(span.to.date()));
    Series series = BuildSeries(window, span);
    if (!series.firstFilled.isValid())
        return ensemble;   // every day of the window is stored: nothing to project
    ensemble.lastStoredDay = window.isEmpty() ? QDate() : window.constLast().day.date();
    ensemble.firstAge = int(casting.daysTo(series.firstFilled)) - 1;
    QVector<YearOutcome> outcomes;
    QVector<QVector<float>> sums;
    QVector<float> yearSums(withSums ? capAge - ensemble.firstAge + 1 : 0);
    MaturitySummary firstTable;
    for (int year = climate.lastYear() - kClimateYears + 1; year <= climate.lastYear(); ++year) {
        if (!FillFromYear(series, climate, year))
            continue;
        GroupDueDays due = ComputeDueDays(castingDate, series.records, rule);
        const QDate day = due.sameCondition.value_or(span.to.date());
        outcomes.append({int(casting.daysTo(day)), !due.sameCondition || due.sameConditionByCap});
        if (withSums) {
            SumsByAge(due.table1, casting, ensemble.firstAge, &yearSums);
            sums.append(yearSums);
        }
        if (outcomes.size() == 1)
            firstTable = std::move(due.table1);
    }
    if (outcomes.size() < kEnsembleMinimumYears)
        return ensemble;
    std::sort(outcomes.begin(), outcomes.end(), [](const YearOutcome& a, const YearOutcome& b) { return a.age < b.age; });
    QVector<double> ages;
    ages.reserve(outcomes.size());
    for (const YearOutcome& o : outcomes)
        ages.append(o.age);
    const int medianAge = int(std::lround(Percentile(ages, 0.5)));
    ensemble.years = int(outcomes.size());
    ensemble.median = casting.addDays(medianAge);
    ensemble.low = casting.addDays(int(std::lround(Percentile(ages, kLowFraction))));
    ensemble.high = casting.addDays(int(std::lround(Percentile(ages, kHighFraction))));
    ensemble.medianByCap = outcomes[outcomes.size() / 2].byCap;
    ensemble.forecastDays = CountForecastDays(firstTable, ensemble.median, series.stored);
    if (withSums) {
        ensemble.lowSums = PercentileByAge(sums, kLowFraction);
        ensemble.medianSums = PercentileByAge(sums, 0.5);
        ensemble.highSums = PercentileByAge(sums, kHighFraction);
    }
    return ensemble;
}

} // namespace stolvar
