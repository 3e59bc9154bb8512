#include "sample/SampleResults.h"

#include "core/Conversions.h"
#include "model/maturity/DueRules.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthRules.h"
#include "model/temperatures/TemperatureStore.h"
#include "sample/SampleRandom.h"

#include <cmath>
#include <functional>

namespace stolvar {

namespace {

constexpr int kReportDelay = 2;   // days from testing to the report on the clerk's desk
constexpr double kReported = 0.9;
constexpr double kInvalidChance = 0.04;
constexpr double kFailingChance = 0.05;

double Tenth(double value)
{
    return std::round(value * 10.0) / 10.0;
}

// Three cubes around the value the group's representative value should come to.
std::array<double, 3> Cubes(double target, int edge, SampleRandom& rng)
{
    const double atEdge = target / SizeFactor(edge).value_or(1.0);
    std::array<double, 3> cubes{};
    for (double& cube : cubes)
        cube = Tenth(atEdge * (1.0 + 0.035 * rng.gauss()));
    if (rng.chance(kInvalidChance)) {
        cubes[0] = Tenth(atEdge * 1.25);
        cubes[2] = Tenth(atEdge * 0.75);
    }
    return cubes;
}

// Standard cubes mostly beat their grade by 15–40 %; a few fall short.
double StandardTarget(int fcuk, SampleRandom& rng)
{
    if (rng.chance(kFailingChance))
        return fcuk * (0.85 + 0.1 * rng.uniform());
    return fcuk * (1.15 + 0.25 * rng.uniform());
}

TestResult MakeResult(DueKind kind, int number, const QDate& tested, double target, SampleRandom& rng, int* serial)
{
    TestResult r;
    r.kind = kind;
    r.number = number;
    r.testDate = WallTime(tested);
    r.report = QStringLiteral("BG%1-%2").arg(tested.year()).arg(++*serial, 4, 10, QLatin1Char('0'));
    r.edgeMm = rng.chance(0.1) ? 100 : 150;
    r.strengths = Cubes(target, r.edgeMm, rng);
    return r;
}

QVector<TemperatureRecord> Records(const QVector<SampleDay>& days)
{
    QVector<TemperatureRecord> records;
    records.reserve(days.size());
    for (const SampleDay& d : days)
        records.append({0, WallTime(d.day), float(DailyMean(d.high, d.low)), float(d.high), float(d.low)});
    return records;
}

std::optional<int> RequirementOf(const SpecimenGroup& g)
{
    if (g.formCount.isEmpty())
        return std::nullopt;
    return g.position.startsWith(QStringLiteral("屋面")) ? 100 : 75;
}

} // namespace

QVector<SampleGroupResults> PlanSampleResults(const SamplePlan& plan, quint32 seed, const QDate& today)
{
    SampleRandom rng(seed ^ 0x51A7E5u);
    const QVector<TemperatureRecord> records = Records(plan.days);
    QVector<SampleGroupResults> all;
    int serial = 0;
    for (int i = 0; i < plan.groups.size(); ++i) {
        const SpecimenGroup& g = plan.groups[i];
        const int fcuk = DesignStrength(g.grade).value_or(30);
        const QDate cast = g.castingDate.date();
        SampleGroupResults out{i, {}, RequirementOf(g)};
        const auto add = [&](DueKind kind, const QDate& tested, const std::function<double()>& target) {
            if (!tested.isValid() || tested.addDays(kReportDelay) > today || !rng.chance(kReported))
                return;
            for (int n = 1; n <= GroupCountOf(g, kind); ++n)
                out.results.append(MakeResult(kind, n, tested, target(), rng, &serial));
        };
        add(DueKind::Standard, cast.addDays(kStandardCuringDays), [&] { return StandardTarget(fcuk, rng); });
        if (g.sameState == kSent) {
            const GroupDueDays due = ComputeDueDays(g.castingDate, RecordsBetween(records, DueWindow(g.castingDate, MaturityRule::Classic)),
                                                    CountingRule{});
            // Cured beside the structure they read lower; the conversion factor brings them up.
            add(DueKind::SameCondition, due.sameCondition.value_or(QDate()),
                [&] { return StandardTarget(fcuk, rng) / strength::kDefaultConversion; });
        }
        add(DueKind::FormRemoval, cast.addDays(kFormRemovalDays), [&] { return fcuk * (0.62 + 0.33 * rng.uniform()); });
        if (!out.results.isEmpty() || out.formRequirement)
            all.append(out);
    }
    return all;
}

} // namespace stolvar
