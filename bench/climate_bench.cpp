// The projection of same-condition days from 30 years of climate: one group alone (it should
// stay under 1 ms), and the worklist of the large sample register with and without a stored
// climate (under 50 ms).
#include "LargeSample.h"
#include "core/Conversions.h"
#include "db/Database.h"
#include "model/maturity/ClimateEnsemble.h"
#include "model/maturity/Projection.h"
#include "model/register/WorklistQuery.h"
#include "model/temperatures/ClimateStore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace stolvar {
namespace {

const QDate kToday(2026, 11, 20);

// A climate like the North China plain's: 14 ℃ on the year's mean, ±14 ℃ over the seasons,
// a few degrees from one year to the next.
QVector<ClimateDay> MadeUpYears()
{
    QVector<ClimateDay> days;
    const YearSpan years = ClimateYearsFor(kToday);
    for (QDate d(years.first, 1, 1); d <= QDate(years.last, 12, 31); d = d.addDays(1)) {
        const double season = -14.0 * std::cos(2 * M_PI * (d.dayOfYear() - 15) / 365.25);
        days.append({d, 14.0 + season + double(d.year() % 7 - 3) + 2.0 * std::sin(d.toJulianDay() * 0.7)});
    }
    return days;
}

Climate MadeUpClimate()
{
    Climate climate;
    const QVector<ClimateDay> days = MadeUpYears();
    climate.first = days.front().day;
    for (const ClimateDay& d : days)
        climate.means.append(float(d.mean));
    return climate;
}

// A group cast ten days ago with its ten days stored.
QVector<TemperatureRecord> TenDays(const QDate& casting)
{
    QVector<TemperatureRecord> records;
    for (int i = 0; i < 10; ++i)
        records.append({i + 1, WallTime(casting.addDays(i)), 8.0f, 12.0f, 4.0f});
    return records;
}

void BM_EnsembleOneGroup(benchmark::State& state)
{
    const Climate climate = MadeUpClimate();
    const QDate casting = kToday.addDays(-10);
    const QVector<TemperatureRecord> records = TenDays(casting);
    const CountingRule rule{MaturityRule::Classic, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectWithClimate(WallTime(casting), records, rule, climate));
}
BENCHMARK(BM_EnsembleOneGroup)->Unit(benchmark::kMicrosecond);

// What the curve page draws: the ensemble with its sums by day.
void BM_EnsembleCurve(benchmark::State& state)
{
    const auto climate = std::make_shared<const Climate>(MadeUpClimate());
    const QDate casting = kToday.addDays(-10);
    const QVector<TemperatureRecord> records = TenDays(casting);
    const ProjectionInput input{WallTime(casting), true, MaturityRule::Classic, kToday, climate};
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildMaturityCurve(records, input));
}
BENCHMARK(BM_EnsembleCurve)->Unit(benchmark::kMicrosecond);

bench::LargeSample& Sample()
{
    static bench::LargeSample sample(kToday);
    return sample;
}

void Worklist(benchmark::State& state)
{
    const Database& db = *Sample().db;
    const CountingRule rule{MaturityRule::Classic, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeWorklist(db, kToday, 7, rule));
    const WorklistResult list = ComputeWorklist(db, kToday, 7, rule);
    int projected = 0;
    for (const WorkItem& item : list.items)
        projected += item.projected ? 1 : 0;
    state.counters["rows"] = double(list.items.size());
    state.counters["projected"] = projected;
}

// Runs first: the register has no climate yet.
void BM_WorklistRecentMean(benchmark::State& state)
{
    Worklist(state);
}
BENCHMARK(BM_WorklistRecentMean)->Unit(benchmark::kMillisecond);

void BM_WorklistClimate(benchmark::State& state)
{
    static const bool stored = StoreClimate(*Sample().db, MadeUpYears()).isEmpty();
    if (!stored)
        qFatal("cannot store the climate");
    Worklist(state);
}
BENCHMARK(BM_WorklistClimate)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

BENCHMARK_MAIN();
