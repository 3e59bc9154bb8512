#include "model/weather/OpenMeteo.h"
#include "support/OpenMeteoFixtures.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kFirst(2026, 12, 1);

TEST(OpenMeteoPlace, ReadsTheFirstResult)
{
    const PlaceAnswer answer = ReadPlaceAnswer(test::PlaceJson());
    ASSERT_TRUE(answer.error.isEmpty());
    ASSERT_TRUE(answer.place);
    EXPECT_EQ(answer.place->name, QStringLiteral("郑州"));
    EXPECT_EQ(answer.place->province, QStringLiteral("河南"));
    EXPECT_DOUBLE_EQ(answer.place->latitude, 34.75778);
    EXPECT_EQ(answer.place->timezone, QStringLiteral("Asia/Shanghai"));
    EXPECT_EQ(PlaceText(*answer.place), QStringLiteral("郑州，河南（北纬34.76°，东经113.65°）"));
}

TEST(OpenMeteoPlace, TellsAnUnknownCityFromABrokenAnswer)
{
    struct Case {
        const char* name;
        QByteArray json;
        bool broken;
    };
    const Case cases[] = {
        {"no results", test::UnknownPlaceJson(), false},
        {"empty results", R"({"results":[]})", false},
        {"not json", "<html>502 Bad Gateway</html>", true},
        {"results not a list", R"({"results":{"name":"x"}})", true},
        {"latitude missing", R"({"results":[{"name":"x","longitude":1}]})", true},
        {"latitude a text", R"({"results":[{"name":"x","latitude":"34","longitude":1}]})", true},
        {"latitude beyond the pole", R"({"results":[{"name":"x","latitude":91,"longitude":1}]})", true},
    };
    for (const Case& c : cases) {
        const PlaceAnswer answer = ReadPlaceAnswer(c.json);
        EXPECT_FALSE(answer.place) << c.name;
        EXPECT_EQ(!answer.error.isEmpty(), c.broken) << c.name;
    }
}

TEST(OpenMeteoForecast, DayMeanIsTheMeanOfItsHoursNotOfItsExtremes)
{
    // 20 hours at 0 ℃ and 4 hours at 12 ℃: hourly mean 2, (max + min) / 2 would be 6.
    const auto hourly = [](int, int hour) { return QJsonValue(hour >= 12 && hour < 16 ? 12.0 : 0.0); };
    const ForecastAnswer answer = ReadForecastAnswer(test::ForecastJson(kFirst, hourly, 2));
    ASSERT_TRUE(answer.error.isEmpty()) << answer.error.toStdString();
    ASSERT_EQ(answer.days.size(), 2);
    EXPECT_EQ(answer.days[0].day, kFirst);
    EXPECT_DOUBLE_EQ(answer.days[0].mean, 2.0);
    EXPECT_DOUBLE_EQ(answer.days[0].high, 12.0);
    EXPECT_DOUBLE_EQ(answer.days[0].low, 0.0);
}

TEST(OpenMeteoForecast, ADayWithAMissingHourIsLeftOutAndTheOthersKept)
{
    const auto hourly = [](int day, int hour) {
        return day == 3 && hour == 7 ? QJsonValue() : QJsonValue(5.0 + day);
    };
    const ForecastAnswer answer = ReadForecastAnswer(test::ForecastJson(kFirst, hourly));
    ASSERT_TRUE(answer.error.isEmpty());
    ASSERT_EQ(answer.days.size(), 11);
    for (const MeteoDay& day : answer.days)
        EXPECT_NE(day.day, kFirst.addDays(3));
    EXPECT_DOUBLE_EQ(answer.days[3].mean, 9.0);   // day 4
}

QByteArray Replace(QByteArray json, const QByteArray& from, const QByteArray& to)
{
    return json.replace(from, to);
}

TEST(OpenMeteoForecast, RefusesEveryBrokenAnswerWhole)
{
    const QByteArray good = test::ForecastJson(kFirst, test::SteadyDays(), 2);
    ASSERT_TRUE(ReadForecastAnswer(good).error.isEmpty());
    const auto absurd = [](int day, int hour) { return QJsonValue(day == 1 && hour == 3 ? 61.0 : 5.0); };
    const auto frozen = [](int day, int hour) { return QJsonValue(day == 0 && hour == 0 ? -60.5 : 5.0); };
    struct Case {
        const char* name;
        QByteArray json;
    };
    const Case cases[] = {
        {"empty", ""},
        {"html error page", "<html><body>429 Too Many Requests</body></html>"},
        {"truncated", good.left(good.size() / 2)},
        {"an error object", R"({"error":true,"reason":"Parameter 'latitude' is out of range"})"},
        {"no hourly", Replace(good, "\"hourly\"", "\"hours\"")},
        {"no daily minimum", Replace(good, "temperature_2m_min", "temperature_2m_lo")},
        {"temperatures a text", Replace(good, "\"temperature_2m\":[", "\"temperature_2m\":\"\",\"x\":[")},
        {"one hour short", Replace(good, "\"temperature_2m\":[6,", "\"temperature_2m\":[")},
        {"one day too many", Replace(good, "\"temperature_2m_max\":[14,", "\"temperature_2m_max\":[14,14,")},
        {"a number as text", Replace(good, "\"temperature_2m\":[6,", "\"temperature_2m\":[\"6\",")},
        {"hour no time", Replace(good, "2026-12-01T00:00", "yesterday")},
        {"above +60", test::ForecastJson(kFirst, absurd, 2)},
        {"below -60", test::ForecastJson(kFirst, frozen, 2)},
        {"minimum above maximum", Replace(good, "\"temperature_2m_min\":[6,", "\"temperature_2m_min\":[30,")},
    };
    for (const Case& c : cases) {
        const ForecastAnswer answer = ReadForecastAnswer(c.json);
        EXPECT_FALSE(answer.error.isEmpty()) << c.name;
        EXPECT_TRUE(answer.days.isEmpty()) << c.name;
    }
}

TEST(OpenMeteoUrls, CarryTheParametersOfTheServiceAndTheKeyOnlyWhenGiven)
{
    const QUrl search = PlaceSearchUrl(QUrl(QStringLiteral("https://geocoding-api.open-meteo.com")),
                                       QStringLiteral("郑州&x=1"), {});
    EXPECT_EQ(search.path(), QStringLiteral("/v1/search"));
    const QUrlQuery query(search);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded), QStringLiteral("郑州&x=1"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("count")), QStringLiteral("10"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("language")), QStringLiteral("zh"));
    EXPECT_FALSE(query.hasQueryItem(QStringLiteral("x")));
    EXPECT_FALSE(query.hasQueryItem(QStringLiteral("apikey")));

    const MeteoPlace place{QStringLiteral("郑州"), QStringLiteral("河南"), 34.75778, 113.64861, QStringLiteral("Asia/Shanghai")};
    const QUrl forecast = ForecastUrl(QUrl(QStringLiteral("https://customer-api.open-meteo.com")), place, QStringLiteral("k#1"));
    const QUrlQuery items(forecast);
    EXPECT_EQ(forecast.host(), QStringLiteral("customer-api.open-meteo.com"));
    EXPECT_EQ(forecast.path(), QStringLiteral("/v1/forecast"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("latitude")), QStringLiteral("34.7578"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("hourly")), QStringLiteral("temperature_2m"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("daily")), QStringLiteral("temperature_2m_max,temperature_2m_min"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("timezone"), QUrl::FullyDecoded), QStringLiteral("Asia/Shanghai"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("past_days")), QStringLiteral("7"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("forecast_days")), QStringLiteral("16"));
    EXPECT_EQ(items.queryItemValue(QStringLiteral("apikey"), QUrl::FullyDecoded), QStringLiteral("k#1"));
}

} // namespace
} // namespace stolvar
