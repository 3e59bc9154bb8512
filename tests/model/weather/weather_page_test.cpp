#include "support/WeatherFixtures.h"
#include "model/weather/WeatherPage.h"

#include "core/Gbk.h"

#include <QFile>

#include <cmath>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

WeatherView ReadFixture(const char* name, const WeatherDays& previous = {})
{
    return ApplyWeatherReading(ReadWeatherPage(test::WeatherFixture(name)), previous);
}

// Values an earlier run left behind.
WeatherDays EarlierRun()
{
    WeatherDays days;
    for (DayValues& day : days)
        day = {QStringLiteral("30"), QStringLiteral("15"), 7.5f, true};
    return days;
}

TEST(WeatherPageTest, FullPageFillsEveryLabel)
{
    const WeatherReading reading = ReadWeatherPage(test::WeatherFixture("full.html"));
    ASSERT_EQ(reading.futures.size(), 4);
    EXPECT_EQ(reading.futures[2].heading, QStringLiteral("5月13日 星期一"));
    const WeatherView view = ApplyWeatherReading(reading, {});
    EXPECT_TRUE(view.cityFound);
    EXPECT_EQ(view.locationText, QStringLiteral("郑州2024年5月10日星期五"));
    EXPECT_EQ(view.todayLabel,
              QStringLiteral("【今天温度】\r\n\r\n最高温度10℃\r\n\r\n最低温度-3℃\r\n\r\n平均温度3.5℃"));
    EXPECT_EQ(view.futureLabels[0],
              QStringLiteral("【明天温度】\r\n\r\n最高温度28\r\n\r\n最低温度16\r\n\r\n平均温度22℃"));
    EXPECT_EQ(view.futureLabels[1],
              QStringLiteral("【后天温度】\r\n\r\n最高温度0\r\n\r\n最低温度0\r\n\r\n平均温度0℃"));
    EXPECT_EQ(view.futureLabels[3],
              QStringLiteral("5月14日 星期二\r\n\r\n最高温度26\r\n\r\n最低温度14\r\n\r\n平均温度20℃"));
    EXPECT_FLOAT_EQ(view.days[0].mean, 3.5f);
    for (const DayValues& day : view.days)
        EXPECT_TRUE(day.readThisRun);
}

// Five or more day blocks: the first four count, nothing is written past the four days.
TEST(WeatherPageTest, TakesAtMostFourForecastDays)
{
    WeatherReading reading = ReadWeatherPage(test::WeatherFixture("six_days.html"));
    ASSERT_EQ(reading.futures.size(), 4);
    EXPECT_EQ(reading.futures[3].heading, QStringLiteral("5月14日 星期二"));
    const WeatherView fromPage = ApplyWeatherReading(reading, {});
    EXPECT_EQ(fromPage.days[4].high, QStringLiteral("26"));

    // A reading that somehow holds six days (the page reader changed) still fills four.
    reading.futures.append({QStringLiteral("5月15日"), QStringLiteral("31"), QStringLiteral("21"), true});
    reading.futures.append({QStringLiteral("5月16日"), QStringLiteral("33"), QStringLiteral("23"), true});
    const WeatherView view = ApplyWeatherReading(reading, {});
    EXPECT_EQ(view.days[4].high, QStringLiteral("26"));
    EXPECT_FLOAT_EQ(view.days[4].mean, 20.0f);
    EXPECT_TRUE(view.futureLabels[3].has_value());
}

TEST(WeatherPageTest, PageWithoutForecastMeansUnknownCity)
{
    const WeatherView view = ReadFixture("unknown_city.html", EarlierRun());
    EXPECT_FALSE(view.cityFound);
    EXPECT_EQ(view.locationText, UnknownCityText());
    for (const auto& label : view.futureLabels)
        EXPECT_FALSE(label.has_value());
    EXPECT_FALSE(view.days[1].readThisRun);
    EXPECT_FLOAT_EQ(view.days[1].mean, 7.5f);

    EXPECT_FALSE(ApplyWeatherReading(ReadWeatherPage({}), EarlierRun()).cityFound);   // failed fetch
}

TEST(WeatherPageTest, FewerBlocksFillOnlyTheNearestDays)
{
    const WeatherView view = ReadFixture("two_days.html", EarlierRun());
    EXPECT_TRUE(view.futureLabels[0].has_value());
    EXPECT_TRUE(view.futureLabels[1].has_value());
    EXPECT_FALSE(view.futureLabels[2].has_value());
    EXPECT_FALSE(view.futureLabels[3].has_value());
    EXPECT_TRUE(view.days[2].readThisRun);
    EXPECT_FALSE(view.days[3].readThisRun);
    EXPECT_EQ(view.days[3].high, QStringLiteral("30"));   // kept from the earlier run
    EXPECT_FLOAT_EQ(view.days[0].mean, 8.0f);
}

TEST(WeatherPageTest, ForecastWithoutSubscriptionMarkReadsNoDay)
{
    const WeatherView view = ReadFixture("no_subscribe.html", EarlierRun());
    EXPECT_TRUE(view.cityFound);
    EXPECT_EQ(view.locationText, QStringLiteral("郑州2024年5月10日星期五"));
    EXPECT_TRUE(view.todayLabel.contains(QStringLiteral("最高温度11℃")));
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_FALSE(view.futureLabels[k].has_value());
        EXPECT_FALSE(view.days[k + 1].readThisRun);
    }
}

TEST(WeatherPageTest, MissingMinimumShowsNotAvailableAndKeepsTheMean)
{
    const WeatherView view = ReadFixture("min_missing.html", EarlierRun());
    EXPECT_EQ(view.todayLabel,
              QStringLiteral("【今天温度】\r\n\r\n最高温度12℃\r\n\r\n最低温度暂无℃\r\n\r\n平均温度7.5℃"));
    EXPECT_EQ(view.days[0].low, NotAvailableText());
    EXPECT_EQ(view.futureLabels[0],
              QStringLiteral("【明天温度】\r\n\r\n最高温度20\r\n\r\n最低温度暂无\r\n\r\n平均温度7.5℃"));
    EXPECT_FLOAT_EQ(view.days[3].mean, 20.0f);
}

} // namespace
} // namespace stolvar

namespace stolvar {
namespace {

// A temperature beyond the single-precision range (10^39) must not become an infinite
// mean that the collector would store and add into every degree-day sum.
TEST(WeatherPageTest, ADigitFloodCountsAsAMissingMinimum)
{
    QString text = DecodeGbk(test::WeatherFixture("full.html"));
    text.replace(QStringLiteral(">-3℃"), QStringLiteral(">") + QString(39, u'9') + QStringLiteral("℃"));
    const WeatherView view = ApplyWeatherReading(ReadWeatherPage(EncodeGbk(text)), {});
    EXPECT_EQ(view.days[0].low, QStringLiteral("暂无"));
    EXPECT_TRUE(std::isfinite(view.days[0].mean));
}

} // namespace
} // namespace stolvar
