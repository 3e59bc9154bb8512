// Reading a group's temperature window from a 20-year project database, accumulating
// both same-condition tables, and filling their grids.
#include "WidgetBenchmarks.h"
#include "core/Conversions.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/maturity/Maturity.h"
#include "model/temperatures/TemperatureStore.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace stolvar {
namespace {

const QDate kFirstDay(2000, 1, 1);
constexpr int kYears = 20;

// A year of plausible daily means: cold in January, warm in July.
double MeanOn(const QDate& day)
{
    return 12.0 + 15.0 * std::sin((day.dayOfYear() - 100) * 2.0 * std::numbers::pi / 365.0);
}

struct Fixture {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;
    QDateTime casting;

    Fixture()
    {
        db = Database::Create(dir.filePath(QStringLiteral("bench.dat")));
        if (!db || !CreateSchema(*db))
            qFatal("cannot create the benchmark database");
        Transaction tx(*db);
        const QDate end = kFirstDay.addYears(kYears);
        for (QDate day = kFirstDay; day < end; day = day.addDays(1)) {
            const double mean = MeanOn(day);
            Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
            st.bindAll(WallTime(day), mean, mean + 5, mean - 5);
            if (!st.run())
                qFatal("insert failed");
        }
        tx.commit();
        casting = WallTime(kFirstDay.addYears(kYears / 2).addMonths(3));   // a spring pour mid-way
    }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_LoadAndAccumulateTable1(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        const DayWindow w = Table1Window(f.casting);
        benchmark::DoNotOptimize(AccumulateTable1(LoadTemperatureWindow(*f.db, w.from, w.to), false));
    }
}
BENCHMARK(BM_LoadAndAccumulateTable1)->Unit(benchmark::kMicrosecond);

void BM_LoadAndAccumulateTable2(benchmark::State& state)
{
    Fixture& f = Data();
    for (auto _ : state) {
        const DayWindow w = Table2Window(f.casting);
        benchmark::DoNotOptimize(AccumulateTable2(LoadTemperatureWindow(*f.db, w.from, w.to), false));
    }
}
BENCHMARK(BM_LoadAndAccumulateTable2)->Unit(benchmark::kMicrosecond);

void BM_FillTable1(benchmark::State& state)
{
    Fixture& f = Data();
    const DayWindow w = Table1Window(f.casting);
    const MaturitySummary summary = AccumulateTable1(LoadTemperatureWindow(*f.db, w.from, w.to), false);
    QTableWidget grid;
    QLabel label;
    SetupTable1Grid(&grid);
    ApplyTable1Frame(&grid, 18, 10);
    for (auto _ : state)
        FillSameConditionTable1(&grid, &label, summary);
    state.counters["days"] = summary.countedDays;
}
BENCHMARK(BM_FillTable1)->Unit(benchmark::kMicrosecond);

void BM_FillTable2(benchmark::State& state)
{
    Fixture& f = Data();
    // A cold-season pour, so that table 2 lists the most rows.
    const QDateTime winter = WallTime(kFirstDay.addYears(kYears / 2).addMonths(10));
    const DayWindow w = Table2Window(winter);
    const MaturitySummary summary = AccumulateTable2(LoadTemperatureWindow(*f.db, w.from, w.to), false);
    QTableWidget grid;
    SetupTable2Grid(&grid);
    const Table2Header header{QStringLiteral("一号楼"), QStringLiteral("三层梁"), winter, QStringLiteral("C30")};
    for (auto _ : state)
        FillSameConditionTable2(&grid, header, summary);
    state.counters["days"] = summary.countedDays;
}
BENCHMARK(BM_FillTable2)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace stolvar

int main(int argc, char** argv)
{
    return stolvar::RunWidgetBenchmarks(argc, argv);
}
