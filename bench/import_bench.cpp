// Reading a logger file of one million readings (a year at 30 s) into days.
#include "curing/LoggerFile.h"

#include <QDate>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace stolvar {
namespace {

QByteArray YearAtThirtySeconds()
{
    QByteArray bytes = "序号,时间,温度(℃)\n";
    bytes.reserve(40'000'000);
    char line[64];
    for (int i = 0; i < 1'000'000; ++i) {
        const int second = i * 30 % 86400;
        const QDate day = QDate(2026, 1, 1).addDays(i * 30 / 86400);
        const int n = std::snprintf(line, sizeof line, "%d,%04d-%02d-%02d %02d:%02d:%02d,%.1f\n", i + 1, day.year(),
                                    day.month(), day.day(), second / 3600, second / 60 % 60, second % 60,
                                    5.0 + second / 36000.0);
        bytes.append(line, n);
    }
    return bytes;
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
