// The reminder scans on a large project: 100,000 specimen groups and 20 years of daily
// temperatures. Each scan should stay well under 100 ms, since the timer runs it every
// five minutes and a lead-time change runs it at once.
#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/register/ReminderQueries.h"
#include "model/register/WorklistQuery.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace stolvar {
namespace {

constexpr int kGroups = 100000;
constexpr int kDays = 20 * 365;
const QString kFirstDay = QStringLiteral("2005-01-01");
const QDateTime kNow = WallTime(QDate(2024, 12, 1), QTime(10, 0));
constexpr int kDaysAhead = 3;

// Rows made inside SQLite from a counter, so that setting up takes a second, not minutes.
const QString kFillGroups = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?1) "
    "INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, 标养组数, 同养组数, 拆模组数) "
    "SELECT '工程' || (i % 40), '第' || (i % 300) || '层梁板', 'C30', "
    "date(?2, '+' || (i % ?3) || ' days') || ' 00:00:00', CASE WHEN i % 3 = 0 THEN '已委托' ELSE '未委托' END, "
    "'未委托', '2', '1', CASE WHEN i % 2 = 0 THEN '1' ELSE '' END FROM n");
const QString kFillTemperatures = QStringLiteral(
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?1) "
    "INSERT INTO skxx (养护记录, 温度记录, 最高温度, 最低温度) "
    "SELECT date(?2, '+' || i || ' days') || ' 00:00:00', 5 + i % 25, 10 + i % 25, i % 25 FROM n");

struct Project {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;
};

bool Fill(const Database& db, const QString& sql, int rows)
{
    Statement st(db, sql);
    st.bind(1, rows).bind(2, kFirstDay);
    if (sql.contains(QStringLiteral("?3")))
        st.bind(3, kDays);
    if (!st.run())
        std::fprintf(stderr, "fill failed: %s\n", qPrintable(st.error()));
    return st.ok();
}

Project& BigProject()
{
    static Project project = [] {
        Project p;
        p.db = Database::Create(p.dir.filePath(QStringLiteral("big.dat")));
        if (!p.db || !CreateSchema(*p.db) || !Fill(*p.db, kFillGroups, kGroups) || !Fill(*p.db, kFillTemperatures, kDays))
            std::abort();
        return p;
    }();
    return project;
}

// A scan of the day: the first one records the reminders in the log, the later ones of the
// same day find them there; each reads the groups that can be due and their records.
void BM_ScanReminders(benchmark::State& state)
{
    Database& db = *BigProject().db;
    const ReminderScanInput input{kNow, kDaysAhead, CountingRule{}, QDateTime()};
    for (auto _ : state) {
        const ReminderScan scan = ScanReminders(db, input);
        benchmark::DoNotOptimize(scan);
    }
    const ReminderScan scan = ScanReminders(db, input);
    state.counters["box_chars"] = double(scan.boxes.standardText.size() + scan.boxes.sameConditionText.size()
                                         + scan.boxes.formRemovalText.size());
}
BENCHMARK(BM_ScanReminders)->Unit(benchmark::kMillisecond);

// The page "送检待办" on the same register, computed on a worker.
void BM_ComputeWorklist(benchmark::State& state)
{
    const Database& db = *BigProject().db;
    for (auto _ : state) {
        const WorklistResult list = ComputeWorklist(db, kNow.date(), kDaysAhead, CountingRule{});
        benchmark::DoNotOptimize(list);
    }
    state.counters["rows"] = double(ComputeWorklist(db, kNow.date(), kDaysAhead, CountingRule{}).items.size());
}
BENCHMARK(BM_ComputeWorklist)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

BENCHMARK_MAIN();
