// The projection of a group not due yet from made-up climates.
#include "model/maturity/ClimateEnsemble.h"
#include "model/maturity/Projection.h"

#include "core/Conversions.h"

#include <gtest/gtest.h>

#include <functional>

namespace stolvar {
namespace {

using Outcome = SameConditionProjection::Outcome;

// The climate of 1996–2025 (or the 30 years ending in `lastYear`), one mean a day.
std::shared_ptr<const Climate> MakeClimate(const std::function<float(const QDate&)>& meanOn, int lastYear = 2025)
{
    auto climate = std::make_shared<Climate>();
    climate->first = QDate(lastYear - kClimateYears + 1, 1, 1);
    for (QDate d = climate->first; d <= QDate(lastYear, 12, 31); d = d.addDays(1))
        climate->means.append(meanOn(d));
    return climate;
}

// `days` typed records at `mean` from the casting day on.
QVector<TemperatureRecord> Stored(const QDate& casting, int days, float mean)
{
    QVector<TemperatureRecord> records;
    for (int i = 0; i < days; ++i)
        records.append({qint64(i + 1), WallTime(casting.addDays(i)), mean, mean + 4, mean - 4});
    return records;
}

ProjectionInput Input(const QDate& casting, const QDate& today, std::shared_ptr<const Climate> climate)
{
    return {WallTime(casting), false, MaturityRule::Classic, today, std::move(climate)};
}

TEST(ClimateEnsemble, ASteadyClimateGivesOneDayAndTheTextNamesItsRange)
{
    const QDate casting(2026, 11, 1);
    const auto climate = MakeClimate([](const QDate&) { return 20.0f; });
    const QVector<TemperatureRecord> records = Stored(casting, 5, 20);
    const SameConditionProjection p = ProjectSameConditionDate(records, Input(casting, casting.addDays(5), climate));
    // 30 records of 20 ℃ make 600 ℃·d on the 30th, stored or not.
    EXPECT_EQ(p.outcome, Outcome::Expected);
    EXPECT_EQ(p.date, casting.addDays(29));
    EXPECT_EQ(p.rangeFrom, p.date);
    EXPECT_EQ(p.rangeTo, p.date);
    EXPECT_EQ(p.climateYears, 30);
    EXPECT_EQ(ProjectionText(p), QStringLiteral("预计2026年11月30日达到600℃·d（11月30日～11月30日，按30年气候，含预报0天）"));
}

TEST(ClimateEnsemble, ACoolingAutumnComesLaterThanTheRecentMeanAndSpreads)
{
    const QDate casting(2026, 10, 1);
    // From 20 ℃ on 8 October, half a degree cooler every second day; each year a little
    // warmer or cooler than the next.
    const auto climate = MakeClimate([](const QDate& d) {
        const int sinceStart = int(QDate(d.year(), 10, 7).daysTo(d));
        return 20.0f - 0.25f * float(std::max(sinceStart, 0)) + 0.5f * float(d.year() % 5 - 2);
    });
    QVector<TemperatureRecord> records = Stored(casting, 7, 20);
    records[5].source = TemperatureSource::Forecast;
    records[6].source = TemperatureSource::Forecast;
    const SameConditionProjection recent = ProjectSameConditionDate(records, Input(casting, casting.addDays(5), nullptr));
    const SameConditionProjection p = ProjectSameConditionDate(records, Input(casting, casting.addDays(5), climate));
    EXPECT_EQ(recent.date, casting.addDays(29));
    EXPECT_EQ(recent.climateYears, 0);
    EXPECT_EQ(p.outcome, Outcome::Expected);
    EXPECT_GT(p.date, recent.date.addDays(2));
    EXPECT_LT(p.rangeFrom, p.rangeTo);
    EXPECT_LE(p.rangeFrom, p.date);
    EXPECT_GE(p.rangeTo, p.date);
    EXPECT_EQ(p.forecastDays, 2);
}

TEST(ClimateEnsemble, AYearThatCannotReach600CountsAsItsSixtiethDay)
{
    const QDate casting(2026, 11, 1);
    // Five frozen years among 25 of 20 ℃: they lie at the late end of the range.
    const auto climate = MakeClimate([](const QDate& d) { return d.year() % 6 == 0 ? -5.0f : 20.0f; });
    const ClimateEnsemble e = ProjectWithClimate(WallTime(casting), {}, CountingRule{MaturityRule::Classic, false},
                                                 *climate);
    ASSERT_EQ(e.years, 30);
    EXPECT_EQ(e.median, casting.addDays(29));
    EXPECT_EQ(e.low, casting.addDays(29));
    EXPECT_EQ(e.high, casting.addDays(59));   // the 60th counted day
    EXPECT_FALSE(e.medianByCap);

    // Every year frozen: the 60th day is the projected day, by the cap.
    const auto frozen = MakeClimate([](const QDate&) { return -5.0f; });
    const SameConditionProjection p = ProjectSameConditionDate({}, Input(casting, casting, frozen));
    EXPECT_EQ(p.outcome, Outcome::TooCold);
    EXPECT_EQ(p.date, casting.addDays(59));
}

TEST(ClimateEnsemble, LeapDayStartsACommonYearOnTheFirstOfMarch)
{
    // Stored up to 28 February 2028: the years go on from 29 February, a common year from 1 March.
    const QDate casting(2028, 2, 20);
    const auto climate = MakeClimate([](const QDate& d) { return d.month() < 3 ? 0.0f : 30.0f; }, 2027);
    const ClimateEnsemble e = ProjectWithClimate(WallTime(casting), Stored(casting, 9, 0),
                                                 CountingRule{MaturityRule::Classic, false}, *climate);
    ASSERT_EQ(e.years, 30);
    EXPECT_EQ(e.median, QDate(2028, 3, 19));   // 9 cold days, then 20 of 30 ℃
    EXPECT_EQ(e.high, QDate(2028, 3, 20));     // the seven leap years start with a cold 29 February
}

TEST(ClimateEnsemble, WithoutEnoughYearsOrWhenDueTheClimateIsLeftAside)
{
    const QDate casting(2026, 12, 1);
    // A window running into 2027 lacks the year after the newest: 29 years take part.
    const auto climate = MakeClimate([](const QDate&) { return 10.0f; });
    const ClimateEnsemble e = ProjectWithClimate(WallTime(casting), {}, CountingRule{}, *climate);
    EXPECT_EQ(e.years, 29);

    // A group due on its stored days keeps today's outcome.
    const QVector<TemperatureRecord> records = Stored(casting, 30, 25);
    const SameConditionProjection p = ProjectSameConditionDate(records, Input(casting, casting.addDays(40), climate));
    EXPECT_EQ(p.outcome, Outcome::Reached);
    EXPECT_EQ(p.climateYears, 0);

    Climate short10;
    short10.first = QDate(2016, 1, 1);
    short10.means.fill(10.0f, short10.first.daysTo(QDate(2025, 12, 31)) + 1);
    EXPECT_EQ(ProjectWithClimate(WallTime(QDate(2026, 3, 1)), {}, CountingRule{}, short10).years, 0);
}

TEST(ClimateEnsemble, TheCurveBandsLieAroundTheMedianUpToTheLateDay)
{
    const QDate casting(2026, 11, 1);
    const auto climate = MakeClimate([](const QDate& d) { return 15.0f + float(d.year() % 7); });
    const MaturityCurve curve = BuildMaturityCurve(Stored(casting, 5, 15), Input(casting, casting.addDays(5), climate));
    ASSERT_FALSE(curve.bandLow.isEmpty());
    ASSERT_EQ(curve.bandLow.size(), curve.bandHigh.size());
    EXPECT_EQ(curve.bandLow.front(), QPointF(4, 75));   // the band starts on the last stored day
    for (qsizetype i = 0; i < curve.bandLow.size(); ++i)
        EXPECT_LE(curve.bandLow[i].y(), curve.bandHigh[i].y());
    const CurveRun& median = curve.runs.constLast();
    EXPECT_EQ(median.kind, CurveKind::Projected);
    EXPECT_EQ(int(median.points.constLast().x()), curve.dueDay);
    EXPECT_GE(median.points.constLast().y(), 600 - 1e-3);
    EXPECT_GE(curve.bandHigh.constLast().x(), curve.dueDay);
}

TEST(Percentile, InterpolatesBetweenTheNearestValues)
{
    EXPECT_EQ(Percentile({}, 0.5), 0);
    EXPECT_EQ(Percentile({3}, 0.9), 3);
    EXPECT_DOUBLE_EQ(Percentile({1, 2, 3, 4}, 0.5), 2.5);
    EXPECT_DOUBLE_EQ(Percentile({0, 10}, 0.1), 1);
}

} // namespace
} // namespace stolvar
