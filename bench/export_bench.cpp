// The Excel export of the large sample register (2,000 projects × 10 positions): reading
// every group, building the sheet and writing the workbook with libxlsxwriter.
#include "model/register/GroupQueries.h"
#include "db/Database.h"
#include "model/workbook/WorkbookSheets.h"
#include "sample/SampleRegister.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace stolvar {
namespace {

struct LargeSample {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;

    LargeSample()
    {
        const SampleResult written = WriteSampleRegister(dir.path(), SampleSize::Large);
        if (!written.ok)
            qFatal("cannot write the large sample register: %s", qPrintable(written.message));
        db = Database::Open(written.databasePath);
        if (!db)
            qFatal("cannot open the large sample register");
    }
};

LargeSample& Sample()
{
    static LargeSample sample;
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
