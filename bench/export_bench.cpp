// The Excel export of the large sample register (2,000 projects × 10 positions): reading
// every group, building the sheet and writing the workbook with libxlsxwriter.
#include "LargeSample.h"
#include "db/Database.h"
#include "model/register/GroupQueries.h"
#include "model/workbook/WorkbookSheets.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace stolvar {
namespace {

bench::LargeSample& Sample()
{
    static bench::LargeSample sample;
    return sample;
}

void BM_ExportAllGroups(benchmark::State& state)
{
    Database& db = *Sample().db;
    const QString path = Sample().dir.filePath(QStringLiteral("export.xlsx"));
    qint64 groups = 0;
    for (auto _ : state) {
        QString error;
        const QVector<SpecimenGroup> all = LoadAllGroups(db, GroupOrder::ByProject, &error);
        const QString written = WriteWorkbook(path, {GroupsSheet(all)});
        if (!error.isEmpty() || !written.isEmpty())
            state.SkipWithError("export failed");
        groups = all.size();
    }
    state.counters["groups"] = double(groups);
}
BENCHMARK(BM_ExportAllGroups)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
