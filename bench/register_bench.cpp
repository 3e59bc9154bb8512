// Conversions, and the project tree of a large register (2,000 projects × 10 positions):
// the one query that reads it and the fill of the tree view.
#include "WidgetBenchmarks.h"
#include "core/Conversions.h"
#include "core/SettingsStore.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/register/GroupStore.h"
#include "model/register/ProjectOutline.h"
#include "register/ProjectTreeModel.h"
#include "register/ProjectTreeView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace stolvar {
namespace {

constexpr int kProjects = 2000;
constexpr int kPositions = 10;

struct LargeRegister {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;

    LargeRegister()
    {
        db = Database::Create(dir.filePath(QStringLiteral("large.dat")));
        if (!db || !CreateSchema(*db))
            qFatal("cannot create the benchmark database");
        Transaction tx(*db);
        for (int p = 0; p < kProjects; ++p) {
            for (int s = 0; s < kPositions; ++s) {
                Statement st(*db, QStringLiteral("INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, "
                                                 "标养组数) VALUES (?, ?, 'C30', ?, '未委托', '未委托', '2')"));
                st.bindAll(QStringLiteral("工程%1号楼").arg(p), QStringLiteral("%1层梁板").arg(s + 1),
                           WallTime(QDate(2010, 1, 1).addDays((p * 7 + s * 3) % 5000)));
                if (!st.run())
                    qFatal("insert failed");
            }
        }
        tx.commit();
    }
};

LargeRegister& Register()
{
    static LargeRegister data;
    return data;
}

void BM_LoadProjectTree(benchmark::State& state)
{
    const Database& db = *Register().db;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadCompactProjectTree(db));
}
BENCHMARK(BM_LoadProjectTree)->Unit(benchmark::kMillisecond);

// What the start-up reads instead (warm cache): the projects and their position counts.
void BM_LoadProjectOutline(benchmark::State& state)
{
    const Database& db = *Register().db;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadProjectOutline(db));
}
BENCHMARK(BM_LoadProjectOutline)->Unit(benchmark::kMillisecond);

// What the tree rebuild does: the outline's query, then the model reset, every project
// expanded and the view laid out (asking where the last node goes forces the layout; no
// position is read until it is painted).
void BM_FillTreeView(benchmark::State& state)
{
    QTreeView view;
    view.setUniformRowHeights(true);
    ProjectTreeModel model;
    view.setModel(&model);
    for (auto _ : state) {
        ShowProjectTree(&view, model, LoadProjectOutline(*Register().db));
        benchmark::DoNotOptimize(view.visualRect(model.indexOfNode(model.tree().nodeCount() - 1)));
    }
}
BENCHMARK(BM_FillTreeView)->Unit(benchmark::kMillisecond);

void BM_ParseDateText(benchmark::State& state)
{
    const QString texts[] = {QStringLiteral("2017年3月5日"), QStringLiteral("2017-3-5 10:30:15"),
                             QStringLiteral("20171005"), QStringLiteral("２０１７－２－３０")};
    for (auto _ : state) {
        for (const QString& text : texts)
            benchmark::DoNotOptimize(ParseDateText(text));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_ParseDateText);

void BM_FormatLongDateAndNumber(benchmark::State& state)
{
    const QDateTime day = WallTime(QDate(2017, 3, 5), QTime(10, 30));
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatLongDate(day));
        benchmark::DoNotOptimize(FormatNumber(1234.567f));
        benchmark::DoNotOptimize(ParseNumberText(QStringLiteral("２５．５")));
    }
}
BENCHMARK(BM_FormatLongDateAndNumber);

void BM_SettingsRead(benchmark::State& state)
{
    QTemporaryDir dir;
    const SettingsStore settings(dir.filePath(QStringLiteral("Temp.ini")));
    for (int i = 0; i < 20; ++i)
        settings.write(QStringLiteral("节%1").arg(i), QStringLiteral("键"), QString::number(i));
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.read(QStringLiteral("节19"), QStringLiteral("键")));
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace stolvar

int main(int argc, char** argv)
{
    return stolvar::RunWidgetBenchmarks(argc, argv);
}
