// The same-condition outlook of one group: the projected due date (pure and with the
// read of its records from a 20-year register) and the fill of the maturity curve.
#include "WidgetBenchmarks.h"
#include "core/Conversions.h"
#include "chart/MaturityChart.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/maturity/Projection.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/temperatures/TemperatureStore.h"

#include <QApplication>
#include <QChartView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace stolvar {
namespace {

const QDate kFirstDay(2000, 1, 1);
constexpr int kYears = 20;
const QDate kToday = kFirstDay.addYears(kYears).addMonths(-3);   // 1 October

double MeanOn(const QDate& day)
{
    return 12.0 + 15.0 * std::sin((day.dayOfYear() - 100) * 2.0 * std::numbers::pi / 365.0);
}

// A 20-year register whose last week is forecast; the group was cast 20 days before
// "today", in September, so that the projection runs well beyond the stored days.
struct Fixture {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;
    ProjectionInput input;
    QVector<TemperatureRecord> records;

    Fixture()
    {
        db = Database::Create(dir.filePath(QStringLiteral("bench.dat")));
        if (!db || !CreateSchema(*db) || !EnsureSourceColumn(*db))
            qFatal("cannot create the benchmark database");
        Transaction tx(*db);
        const QDate end = kToday.addDays(7);
        for (QDate day = kFirstDay; day <= end; day = day.addDays(1)) {
            const double mean = MeanOn(day);
            const TemperatureSource source = day > kToday ? TemperatureSource::Forecast : TemperatureSource::Manual;
            Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度, 来源) "
                                             "VALUES (?, ?, ?, ?, ?)"));
            st.bindAll(WallTime(day), mean, mean + 5, mean - 5, SourceText(source));
            if (!st.run())
                qFatal("insert failed");
        }
        tx.commit();
        input = {WallTime(kToday.addDays(-20)), false, MaturityRule::Classic, kToday, {}};
        const DayWindow w = ProjectionWindow(input.castingDate);
        records = LoadTemperatureWindow(*db, w.from, w.to);
    }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_ProjectSameConditionDate(benchmark::State& state)
{
    Fixture& f = Data();
    ProjectionInput input = f.input;
    input.rule = state.range(0) ? MaturityRule::Standard2015 : MaturityRule::Classic;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectSameConditionDate(f.records, input));
    state.counters["projectedDays"] = ProjectSameConditionDate(f.records, input).projectedDays;
}
BENCHMARK(BM_ProjectSameConditionDate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What the panel does for a selected group: read, missing days, projection and curve.
void BM_GroupOutlookFromDatabase(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeGroupOutlook(f.db.get(), f.input));
}
BENCHMARK(BM_GroupOutlookFromDatabase)->Unit(benchmark::kMicrosecond);

void BM_FillMaturityCurve(benchmark::State& state)
{
    Fixture& f = Data();
    ProjectionInput input = f.input;
    input.rule = MaturityRule::Standard2015;
    const MaturityCurve curve = BuildMaturityCurve(f.records, input);
    QChartView view;
    view.resize(600, 615);
    for (auto _ : state)
        ShowMaturityCurve(&view, curve, QStringLiteral("一号楼 三层梁 C30"));
    state.counters["runs"] = double(curve.runs.size());
}
BENCHMARK(BM_FillMaturityCurve)->Unit(benchmark::kMillisecond);

// The fill and one paint of the chart on screen, as the clerk sees it after a selection.
void BM_FillAndPaintMaturityCurve(benchmark::State& state)
{
    Fixture& f = Data();
    const MaturityCurve curve = BuildMaturityCurve(f.records, f.input);
    QChartView view;
    view.resize(600, 615);
    for (auto _ : state) {
        ShowMaturityCurve(&view, curve, QStringLiteral("一号楼 三层梁 C30"));
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(BM_FillAndPaintMaturityCurve)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

int main(int argc, char** argv)
{
    return stolvar::RunWidgetBenchmarks(argc, argv);
}
