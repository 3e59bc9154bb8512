// Open-Meteo as the service works: keys for the customer hosts only, several places for
// one name, hours in the answer's own offset, the reason of a refused request.
#include "model/weather/OpenMeteo.h"
#include "model/weather/WeatherCollector.h"
#include "support/LocalHttpServer.h"
#include "support/OpenMeteoFixtures.h"

#include "core/Conversions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <ctime>

namespace stolvar {
namespace {

TEST(OpenMeteoService, TheKeyGoesOnlyToTheCustomerHosts)
{
    const MeteoPlace place{QStringLiteral("郑州"), QStringLiteral("河南"), 34.75, 113.65, QStringLiteral("Asia/Shanghai")};
    const QString key = QStringLiteral("k1");
    const auto hasKey = [](const QUrl& url) { return QUrlQuery(url).hasQueryItem(QStringLiteral("apikey")); };
    EXPECT_FALSE(hasKey(PlaceSearchUrl(QUrl(QStringLiteral("https://geocoding-api.open-meteo.com")), QStringLiteral("郑州"), key)));
    EXPECT_FALSE(hasKey(ForecastUrl(QUrl(QStringLiteral("https://api.open-meteo.com")), place, key)));
    EXPECT_TRUE(hasKey(ForecastUrl(QUrl(QStringLiteral("https://customer-api.open-meteo.com")), place, key)));
    EXPECT_TRUE(hasKey(PlaceSearchUrl(QUrl(QStringLiteral("https://customer-geocoding-api.open-meteo.com")),
                                      QStringLiteral("郑州"), key)));
    const QUrlQuery search(PlaceSearchUrl(QUrl(QStringLiteral("https://geocoding-api.open-meteo.com")), QStringLiteral("郑州"), {}));
    EXPECT_EQ(search.queryItemValue(QStringLiteral("countryCode")), QStringLiteral("CN"));
    EXPECT_EQ(search.queryItemValue(QStringLiteral("language")), QStringLiteral("zh"));
}

QByteArray SeveralPlaces()
{
    const auto place = [](const char* name, const char* admin1, const char* admin2, const char* admin3, double lat) {
        QJsonObject p{{QStringLiteral("name"), QString::fromUtf8(name)}, {QStringLiteral("latitude"), lat},
                      {QStringLiteral("longitude"), 113.6}, {QStringLiteral("admin1"), QString::fromUtf8(admin1)},
                      {QStringLiteral("admin2"), QString::fromUtf8(admin2)}, {QStringLiteral("timezone"), QStringLiteral("Asia/Shanghai")}};
        if (*admin3)
            p.insert(QStringLiteral("admin3"), QString::fromUtf8(admin3));
        return p;
    };
    const QJsonArray results{place("新华", "河南", "郑州市", "中原区", 34.7), place("新华", "河北", "石家庄市", "", 38.0),
                             QJsonObject{{QStringLiteral("name"), QStringLiteral("新华")}, {QStringLiteral("latitude"), 999}}};
    return QJsonDocument(QJsonObject{{QStringLiteral("results"), results}}).toJson(QJsonDocument::Compact);
}

TEST(OpenMeteoService, SeveralPlacesOfOneNameAreAllOffered)
{
    const PlaceAnswer answer = ReadPlaceAnswer(SeveralPlaces());
    ASSERT_EQ(answer.error, QString());
    ASSERT_EQ(answer.places.size(), 2) << "a result without coordinates is left out";
    EXPECT_EQ(answer.places[0].county, QStringLiteral("中原区"));
    EXPECT_EQ(answer.places[1].county, QStringLiteral("石家庄市")) << "no admin3: the admin2";
    EXPECT_EQ(answer.places[1].place.province, QStringLiteral("河北"));
}

// A computer set to Europe/Berlin: 2027-03-28 02:00 does not exist on its clock, but it is
// an hour of the place whose answer this is.
TEST(OpenMeteoService, HoursAreReadInTheAnswersOwnOffset)
{
    const QByteArray zoneBefore = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QByteArray json = test::ForecastJson(QDate(2027, 3, 25), test::SteadyDays(), 5);
    json.replace("{\"daily\"", "{\"utc_offset_seconds\":28800,\"daily\"");
    const ForecastAnswer answer = ReadForecastAnswer(json);
    if (zoneBefore.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zoneBefore);
    tzset();
    ASSERT_EQ(answer.error, QString());
    ASSERT_EQ(answer.days.size(), 5);
    EXPECT_EQ(answer.days[3].day, QDate(2027, 3, 28));
    EXPECT_DOUBLE_EQ(answer.days[3].mean, 13.0);
}

class MeteoServiceRun : public ::testing::Test
{
protected:
    CollectionInput input() const
    {
        CollectionInput in;
        in.city = QStringLiteral("新华");
        in.source = WeatherSource::OpenMeteo;
        in.addresses.probe = server.url(QStringLiteral("/"));
        in.addresses.meteoService = server.url();
        in.addresses.geocodingService = server.url();
        in.today = WallTime(QDate(2026, 12, 8));
        in.timeoutMs = 5000;
        return in;
    }
    test::LocalHttpServer server;
};

TEST_F(MeteoServiceRun, SeveralPlacesEndTheRunWithAChoiceAndARefusalSaysWhy)
{
    server.setPage("/", "ok");
    server.setPage("/v1/search", SeveralPlaces());
    CollectionResult result = CollectWeather(input());
    ASSERT_EQ(result.placeChoices.size(), 2);
    EXPECT_FALSE(result.placeFound);
    EXPECT_EQ(result.locationText, QStringLiteral("找到多个名为“新华”的地点，请选择"));
    EXPECT_TRUE(server.requestsTo("/v1/forecast").isEmpty());

    server.setPage("/v1/search", test::PlaceJson());
    server.setPage("/v1/forecast", R"({"error":true,"reason":"Parameter 'timezone' is invalid"})", "400 Bad Request");
    result = CollectWeather(input());
    EXPECT_EQ(result.locationText, QStringLiteral("天气服务拒绝了请求：Parameter 'timezone' is invalid"));
    EXPECT_EQ(result.storeMessage, result.locationText);

    server.setPage("/v1/forecast", "Internal error", "500 Internal Server Error");
    result = CollectWeather(input());
    EXPECT_EQ(result.locationText, ServiceUnreachableText()) << "an answer without a reason";
}

} // namespace
} // namespace stolvar
