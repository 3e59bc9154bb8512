// Reading a logger file of one million readings (a year at 30 s) into days.
#include "model/logger/LoggerFile.h"
#include "sample/SampleLogger.h"

#include <QDate>

#include <benchmark/benchmark.h>

namespace stolvar {
namespace {

// A year at 30 s: a million readings.
QByteArray YearAtThirtySeconds()
{
    return SampleLoggerFile(QDate(2026, 1, 1), 1'000'000, 30);
}

void BM_ReadLoggerFileOneMillionReadings(benchmark::State& state)
{
    const QByteArray bytes = YearAtThirtySeconds();
    for (auto _ : state) {
        const LoggerFile file = ReadLoggerFile(bytes);
        if (file.readings != 1'000'000)
            state.SkipWithError("not every reading was read");
        benchmark::DoNotOptimize(file.days.size());
    }
}
BENCHMARK(BM_ReadLoggerFileOneMillionReadings)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

BENCHMARK_MAIN();
