// The place's 30 years of climate: fetched by an Open-Meteo run from a local server answering
// like the archive service, stored in the register, and fetched again only when due.
#include "support/LocalHttpServer.h"
#include "model/temperatures/ClimateStore.h"
#include "model/temperatures/TemperatureStore.h"
#include "model/weather/OpenMeteo.h"
#include "model/weather/WeatherCollector.h"
#include "support/OpenMeteoFixtures.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2026, 12, 8);

// Each day's mean: its month, so that any day read back tells where it came from.
QJsonValue MonthMean(const QDate& d)
{
    return QJsonValue(double(d.month()));
}

class ClimateRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setPage("/", "ok");
        server.setPage("/v1/search", test::PlaceJson());
        server.setPage("/v1/forecast", test::ForecastJson(kToday.addDays(-7), test::SteadyDays()));
        server.setPage("/v1/archive", test::ClimateJson(1996, 2025, MonthMean));
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }

    CollectionInput input(const QString& climateCity = {}) const
    {
        CollectionInput in;
        in.city = QStringLiteral("郑州");
        in.source = WeatherSource::OpenMeteo;
        in.addresses.probe = server.url(QStringLiteral("/"));
        in.addresses.meteoService = server.url();
        in.addresses.geocodingService = server.url();
        in.addresses.climateService = server.url(QStringLiteral("/v1/archive"));
        in.climateCity = climateCity;
        in.db = db;
        in.today = WallTime(kToday);
        in.timeoutMs = 5000;
        return in;
    }

    test::LocalHttpServer server;
    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(ClimateRunTest, StoresThirtyFullYearsOncePerCity)
{
    const CollectionResult first = CollectWeather(input());
    EXPECT_EQ(first.storeMessage, QString());
    ASSERT_EQ(first.climateStoredFor, QStringLiteral("郑州"));
    const auto asked = server.requestsTo("/v1/archive");
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].target(), "/v1/archive?latitude=34.7578&longitude=113.6486&start_date=1996-01-01"
                                 "&end_date=2025-12-31&daily=temperature_2m_mean&timezone=Asia%2FShanghai");
    const Climate climate = ReadClimate(*db);
    EXPECT_EQ(climate.first, QDate(1996, 1, 1));
    EXPECT_EQ(climate.last(), QDate(2025, 12, 31));
    EXPECT_EQ(climate.means.size(), 10958);
    EXPECT_EQ(climate.meanOn(QDate(2024, 2, 29)), 2.0f);
    EXPECT_EQ(NewestClimateYear(*db), 2025);
    // The forecast's 16 days are stored as before the climate.
    EXPECT_EQ(TemperatureRowsOn(*db, kToday.addDays(4)), 1);

    CollectWeather(input(QStringLiteral("郑州")));
    EXPECT_EQ(server.requestsTo("/v1/archive").size(), 1) << "the same city's years are not fetched again";
    const CollectionResult moved = CollectWeather(input(QStringLiteral("洛阳")));
    EXPECT_EQ(server.requestsTo("/v1/archive").size(), 2) << "a new city brings its own years";
    EXPECT_EQ(moved.climateStoredFor, QStringLiteral("郑州"));
}

TEST_F(ClimateRunTest, ABrokenAnswerOrARefusalKeepsTheStoredYearsAndSaysWhy)
{
    ASSERT_EQ(StoreClimate(*db, {{QDate(2020, 5, 1), 18.5}}), QString());
    struct Case {
        const char* name;
        QByteArray body;
        QByteArray status;
        QString message;
    };
    QByteArray unequal = test::ClimateJson(2024, 2025, MonthMean);
    unequal.replace("\"temperature_2m_mean\":[1,", "\"temperature_2m_mean\":[");
    const QString broken = QStringLiteral("天气服务的回答无法读取：");
    const Case cases[] = {
        {"not json", "<html>busy</html>", "200 OK", broken + QStringLiteral("不是有效的JSON")},
        {"no daily", "{\"latitude\":34.75}", "200 OK", broken + QStringLiteral("缺少daily")},
        {"unequal arrays", unequal, "200 OK", broken + QStringLiteral("daily的数组长度不一致")},
        {"absurd mean", test::ClimateJson(2024, 2025, [](const QDate& d) { return QJsonValue(d.day() == 9 ? 99.0 : 5.0); }),
         "200 OK", broken + QStringLiteral("每日数据无效")},
        {"refused", R"({"error":true,"reason":"Parameter 'start_date' is out of allowed range"})", "400 Bad Request",
         QStringLiteral("天气服务拒绝了请求：Parameter 'start_date' is out of allowed range")},
    };
    for (const Case& c : cases) {
        server.setPage("/v1/archive", c.body, c.status);
        const CollectionResult result = CollectWeather(input());
        EXPECT_EQ(result.storeMessage, c.message) << c.name;
        EXPECT_FALSE(result.climateStoredFor) << c.name;
        const Climate kept = ReadClimate(*db);
        EXPECT_EQ(kept.means.size(), 1) << c.name;
        EXPECT_EQ(kept.meanOn(QDate(2020, 5, 1)), 18.5f) << c.name;
    }
}

TEST(ClimateAnswer, LeavesNullDaysOutAndRefusesDaysOutOfOrder)
{
    const ClimateAnswer answer = ReadClimateAnswer(
        R"({"daily":{"time":["2025-12-30","2025-12-31"],"temperature_2m_mean":[1.5,null]}})");
    EXPECT_EQ(answer.error, QString());
    ASSERT_EQ(answer.days.size(), 1);
    EXPECT_EQ(answer.days[0].day, QDate(2025, 12, 30));
    EXPECT_FALSE(ReadClimateAnswer(R"({"daily":{"time":["2025-12-31","2025-12-30"],"temperature_2m_mean":[1,2]}})")
                     .error.isEmpty());
}

TEST(ClimateUrl, SendsTheKeyOnlyToCustomerHosts)
{
    const MeteoPlace place{QStringLiteral("郑州"), QStringLiteral("河南"), 34.75, 113.62, QStringLiteral("Asia/Shanghai")};
    const QUrl free = ClimateUrl(QUrl(QStringLiteral("https://archive-api.open-meteo.com/v1/archive")), place, 1996, 2025,
                                 QStringLiteral("k&1"));
    EXPECT_EQ(free.path(), QStringLiteral("/v1/archive"));
    EXPECT_FALSE(QUrlQuery(free).hasQueryItem(QStringLiteral("apikey")));
    const QUrl paid = ClimateUrl(QUrl(QStringLiteral("https://customer-archive-api.open-meteo.com/v1/archive")), place,
                                 1996, 2025, QStringLiteral("k&1"));
    EXPECT_EQ(QUrlQuery(paid).queryItemValue(QStringLiteral("apikey"), QUrl::FullyDecoded), QStringLiteral("k&1"));
}

TEST(ClimateStore, ReplacesTheYearsAndTheSharedCopyFollows)
{
    test::TempHome home;
    const auto db = test::MakeProjectDatabase(home.file(QStringLiteral("c.dat")));
    ASSERT_TRUE(db);
    EXPECT_TRUE(CachedClimate(*db)->isEmpty()) << "a register without the table has no climate";
    EXPECT_EQ(NewestClimateYear(*db), std::nullopt);
    ASSERT_EQ(StoreClimate(*db, {{QDate(2024, 1, 1), 1}, {QDate(2024, 1, 3), 3}}), QString());
    const auto first = CachedClimate(*db);
    EXPECT_EQ(first.get(), CachedClimate(*db).get()) << "read once";
    EXPECT_EQ(first->means.size(), 3);
    EXPECT_EQ(first->meanOn(QDate(2024, 1, 2)), std::nullopt) << "a gap stays a gap";
    ASSERT_EQ(StoreClimate(*db, {{QDate(2025, 6, 1), 20}}), QString());
    const auto second = CachedClimate(*db);
    EXPECT_EQ(second->first, QDate(2025, 6, 1));
    EXPECT_EQ(second->means.size(), 1);
    EXPECT_EQ(NewestClimateYear(*db), 2025);
}

TEST(ClimateNeedsFetch, OncePerCityAndYear)
{
    EXPECT_TRUE(ClimateNeedsFetch(std::nullopt, true, kToday));
    EXPECT_FALSE(ClimateNeedsFetch(2025, true, kToday));
    EXPECT_TRUE(ClimateNeedsFetch(2025, false, kToday));
    EXPECT_FALSE(ClimateNeedsFetch(2025, true, QDate(2026, 1, 1)));
    EXPECT_TRUE(ClimateNeedsFetch(2025, true, QDate(2027, 1, 2)));
    EXPECT_EQ(ClimateYearsFor(QDate(2027, 1, 2)).first, 1997);
    EXPECT_EQ(ClimateYearsFor(QDate(2027, 1, 2)).last, 2026);
}

} // namespace
} // namespace stolvar
