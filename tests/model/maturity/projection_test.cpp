#include "model/maturity/Projection.h"
#include "support/MaturityFixtures.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::kCasting;
using Outcome = SameConditionProjection::Outcome;

const QDate kCastDay = kCasting.date();   // 2017-03-01

// Daily records from the casting day: `stored` typed days at `mean`, then `forecast`
// forecast days at `forecastMean`.
QVector<TemperatureRecord> Days(int stored, float mean, int forecast = 0, float forecastMean = 0)
{
    QVector<TemperatureRecord> records = test::Window(std::vector<float>(size_t(stored), mean));
    for (int i = 0; i < forecast; ++i) {
        TemperatureRecord r;
        r.day = AddDays(kCasting, stored + i);
        r.mean = forecastMean;
        r.source = TemperatureSource::Forecast;
        records.append(r);
    }
    return records;
}

ProjectionInput Input(int todayOffset, MaturityRule rule = MaturityRule::Classic, bool fromNextDay = false)
{
    return {kCasting, fromNextDay, rule, kCastDay.addDays(todayOffset), {}};
}

TEST(ProjectSameConditionDate, FindsTheFirstDayTheRuleIsMet)
{
    const struct {
        const char* name;
        QVector<TemperatureRecord> records;
        ProjectionInput input;
        Outcome outcome;
        int dayOffset;    // the date, days after casting
        int forecastDays;
        int projectedDays;
        const char* text;
    } cases[] = {
        {"reached on stored days", Days(40, 20), Input(35), Outcome::Reached, 29, 0, 0, "已于2017年3月30日达到600℃·d"},
        {"forecast days carry it", Days(20, 20, 5, 40), Input(20), Outcome::Expected, 24, 5, 0,
         "预计2017年3月25日达到600℃·d（含预报5天）"},
        // 10 days of 20 (200), then the mean of the last 7 (20) repeated: 600 on day 30.
        {"the recent mean projects", Days(10, 20), Input(10), Outcome::Expected, 29, 0, 20,
         "预计2017年3月30日达到600℃·d（含预报0天）"},
        {"counting from the next day", Days(10, 20), Input(10, MaturityRule::Classic, true), Outcome::Expected, 30, 0, 21,
         "预计2017年3月31日达到600℃·d（含预报0天）"},
        {"too cold: the 60th counted day", Days(10, -2), Input(10), Outcome::TooCold, 59, 0, 50,
         "近期气温过低，预计第60天（2017年4月29日）送检"},
        {"too cold under the standard: day 60 of the window", Days(10, -2), Input(10, MaturityRule::Standard2015),
         Outcome::TooCold, 60, 0, 0, "近期气温过低，预计第60天（2017年4月30日）送检"},
        {"60 stored days below 600", Days(61, 5), Input(70), Outcome::CapPassed, 59, 0, 0, "已于2017年4月29日满60天"},
        {"hot summer under the standard waits for day 14", Days(20, 60), Input(20, MaturityRule::Standard2015),
         Outcome::Reached, 13, 0, 0, "已于2017年3月14日达到600℃·d"},
    };
    for (const auto& c : cases) {
        const SameConditionProjection p = ProjectSameConditionDate(c.records, c.input);
        EXPECT_EQ(p.outcome, c.outcome) << c.name;
        EXPECT_EQ(p.date, kCastDay.addDays(c.dayOffset)) << c.name;
        EXPECT_EQ(p.forecastDays, c.forecastDays) << c.name;
        EXPECT_EQ(p.projectedDays, c.projectedDays) << c.name;
        EXPECT_EQ(ProjectionText(p), QString::fromUtf8(c.text)) << c.name;
    }
}

TEST(ProjectSameConditionDate, GapsAddNothingAndEmptyWindowsUseTheDaysBeforeCasting)
{
    // Records every other day: the gaps add nothing, so 600 comes on the 30th record.
    QVector<TemperatureRecord> sparse;
    for (int i = 0; i < 80; i += 2)
        sparse.append(test::Window({20.0f}, i).front());
    const SameConditionProjection p = ProjectSameConditionDate(sparse, Input(90));
    EXPECT_EQ(p.outcome, Outcome::Reached);
    EXPECT_EQ(p.date, kCastDay.addDays(58));

    // Cast today: only the week before exists; its mean (25) is projected from casting on.
    QVector<TemperatureRecord> before = test::Window(std::vector<float>(7, 25.0f), -7);
    const SameConditionProjection fresh = ProjectSameConditionDate(before, Input(0));
    EXPECT_EQ(fresh.outcome, Outcome::Expected);
    EXPECT_EQ(fresh.date, kCastDay.addDays(23));

    EXPECT_EQ(ProjectSameConditionDate({}, Input(0)).outcome, Outcome::None);
    EXPECT_TRUE(ProjectionText(ProjectSameConditionDate({}, Input(0))).isEmpty());
    EXPECT_EQ(ProjectSameConditionDate(Days(5, 20), {QDateTime(), false, MaturityRule::Classic, kCastDay, {}}).outcome,
              Outcome::None);
}

// Only days that can still change the due day: before today (today's record may still come)
// and up to the same-condition due day.
TEST(MissingDays, ListsTheDaysWithoutARecordBeforeTodayUpToTheDueDay)
{
    QVector<TemperatureRecord> records = Days(30, 10);
    records.remove(11, 2);   // 12 and 13 March
    const QVector<QDate> missing = MissingDays(records, kCasting, kCastDay.addDays(31));
    EXPECT_EQ(missing, (QVector<QDate>{QDate(2017, 3, 12), QDate(2017, 3, 13), QDate(2017, 3, 31)}));
    EXPECT_EQ(MissingDaysText(missing), QStringLiteral("缺少3天温度记录：3月12日、3月13日、3月31日"));
    EXPECT_EQ(MissingDays(records, kCasting, kCastDay.addDays(31), QDate(2017, 3, 12)),
              (QVector<QDate>{QDate(2017, 3, 12)}))
        << "nothing after the due day matters";

    // Long after casting, the window ends on day 60; an empty window misses all 61 days.
    const QVector<QDate> all = MissingDays({}, kCasting, kCastDay.addDays(400));
    EXPECT_EQ(all.size(), 61);
    EXPECT_EQ(MissingDaysText(all),
              QStringLiteral("缺少61天温度记录：3月1日、3月2日、3月3日、3月4日、3月5日、3月6日、3月7日、3月8日、3月9日、3月10日等"));
    EXPECT_TRUE(MissingDays(Days(61, 10), kCasting, kCastDay.addDays(100)).isEmpty());
    EXPECT_TRUE(MissingDaysText({}).isEmpty());
}

TEST(BuildMaturityCurve, JoinsStoredForecastAndProjectedRunsAndMarksTheDays)
{
    const MaturityCurve curve = BuildMaturityCurve(Days(5, 20, 3, 30), Input(5, MaturityRule::Standard2015));
    ASSERT_EQ(curve.runs.size(), 3);
    EXPECT_EQ(curve.runs[0].kind, CurveKind::Stored);
    EXPECT_EQ(curve.runs[1].kind, CurveKind::Forecast);
    EXPECT_EQ(curve.runs[2].kind, CurveKind::Projected);
    EXPECT_EQ(curve.runs[0].points.front(), QPointF(0, 0));
    EXPECT_EQ(curve.runs[0].points.back(), QPointF(4, 100));
    EXPECT_EQ(curve.runs[1].points.front(), QPointF(4, 100));   // joined
    EXPECT_EQ(curve.runs[1].points.back(), QPointF(7, 190));
    EXPECT_EQ(curve.runs[2].points.front(), QPointF(7, 190));
    // Projected at the mean of the last 7 stored days (20 × 4 + 30 × 3) / 7 from day 8 on.
    EXPECT_EQ(curve.minimumDay, 13);
    EXPECT_EQ(curve.dueDay, int(curve.runs[2].points.back().x()));
    EXPECT_GE(curve.runs[2].points.back().y(), 600.0);
    EXPECT_LT(curve.runs[2].points[curve.runs[2].points.size() - 2].y(), 600.0);
    EXPECT_EQ(BuildMaturityCurve(Days(5, 20), Input(5)).minimumDay, -1);   // classic: no 14-day line
}

} // namespace
} // namespace stolvar
