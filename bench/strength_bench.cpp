// The strength rules on a register of 100,000 groups: evaluating every group's results of one
// grade (representative values, the lot's mean, deviation and minimum, the verdict) should
// take under 20 ms, so that a change of the page's choices answers at once; one group's
// representative value under 1 µs.
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthRules.h"

#include <benchmark/benchmark.h>

namespace stolvar {
namespace {

constexpr int kGroups = 100000;

// Cubes around 38 MPa, some groups with an outlier, some of 100 mm.
std::array<double, 3> Cubes(int i)
{
    const double base = 34.0 + (i * 7919 % 80) / 10.0;
    if (i % 50 == 0)
        return {base * 0.8, base, base * 1.02};
    return {base, base + (i % 7) / 10.0, base - (i % 5) / 10.0};
}

const StrengthRegister& Register()
{
    static const StrengthRegister reg = [] {
        StrengthRegister r;
        r.groups.reserve(kGroups);
        for (int i = 0; i < kGroups; ++i) {
            StrengthGroup g;
            g.group.project = QStringLiteral("工程%1").arg(i % 40);
            g.group.position = QStringLiteral("第%1层梁板").arg(i % 300);
            g.group.grade = QStringLiteral("C30");
            g.group.castingDate = QDateTime(QDate(2005, 1, 1).addDays(i % 7300), QTime(0, 0));
            g.cast = g.group.castingDate.date();
            g.group.standardCount = QStringLiteral("1");
            g.results.append({DueKind::Standard, 1, {}, {}, i % 10 == 0 ? 100 : 150, Cubes(i)});
            g.standardDue = g.group.castingDate.date().addDays(28);
            r.groups.append(std::move(g));
        }
        return r;
    }();
    return reg;
}

void BM_RepresentativeValue(benchmark::State& state)
{
    std::vector<std::array<double, 3>> cubes;
    for (int i = 0; i < 1024; ++i)
        cubes.push_back(Cubes(i));
    size_t i = 0;
    for (auto _ : state) {
        const GroupValue v = RepresentativeValue(cubes[i & 1023], (i & 7) == 0 ? 100 : 150, 30);
        ++i;
        benchmark::DoNotOptimize(v.value);
    }
}
BENCHMARK(BM_RepresentativeValue)->Unit(benchmark::kNanosecond);

void BM_EvaluateHundredThousandGroups(benchmark::State& state)
{
    const StrengthRegister& reg = Register();
    const EvaluationScope scope{std::nullopt, QStringLiteral("C30"), DueKind::Standard, LotMethod::Automatic, {}, {}};
    for (auto _ : state) {
        const ScopeEvaluation result = EvaluateScope(reg, scope, 1.10, QDate(2025, 1, 1));
        benchmark::DoNotOptimize(result.lot->mean);
        if (result.rows.size() != kGroups)
            state.SkipWithError("not every group was evaluated");
    }
}
BENCHMARK(BM_EvaluateHundredThousandGroups)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace stolvar

BENCHMARK_MAIN();
