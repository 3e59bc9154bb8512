// Answers of the weather services that are too large, that never come or come as an HTTP
// error: each says what happened, stores nothing and holds no more than its limit.
#include "model/weather/WeatherCollector.h"
#include "support/LocalHttpServer.h"
#include "support/OpenMeteoFixtures.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"
#include "support/WeatherFixtures.h"

#include "core/Conversions.h"
#include "db/Database.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace stolvar {
namespace {

const QDate kToday(2024, 5, 10);

TEST(BoundedFetch, AnAnswerBeyondItsLimitIsRefusedWithOrWithoutItsLength)
{
    test::LocalHttpServer server;
    server.setPage("/exact", QByteArray(1000, 'a'));
    server.setPage("/over", QByteArray(1001, 'a'));
    server.setPage("/page", QByteArray(FetchOptions::kPageLimit + 1, 'a'));
    FetchOptions options;
    options.maxBytes = 1000;
    for (const bool announced : {true, false}) {
        server.setSendLength(announced);
        QByteArray body;
        EXPECT_EQ(Fetch(server.url("/exact"), options, &body), FetchStatus::Ok) << announced;
        EXPECT_EQ(body.size(), 1000);
        EXPECT_EQ(Fetch(server.url("/over"), options, &body), FetchStatus::TooLarge) << announced;
        EXPECT_TRUE(body.isEmpty());
        EXPECT_EQ(Fetch(server.url("/page"), FetchOptions{}, &body), FetchStatus::TooLarge) << announced;
        EXPECT_TRUE(FetchPage(server.url("/page")).isEmpty()) << "the version check reads nothing";
        EXPECT_EQ(Fetch(server.url("/missing"), options, &body), FetchStatus::Failed) << announced;
    }
}

class ForecastPageFailures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setPage("/", "ok");
        db = test::MakeProjectDatabase(home.file("p.dat"));
        ASSERT_TRUE(db);
        ASSERT_TRUE(test::InsertTemperature(*db, WallTime(kToday.addDays(-1)), 1.0, 1.0, 1.0));
    }
    CollectionInput input(WeatherSource source = WeatherSource::ForecastPage) const
    {
        CollectionInput in;
        in.city = QStringLiteral("郑州");
        in.source = source;
        in.addresses.weatherService = in.addresses.meteoService = in.addresses.geocodingService = server.url();
        in.addresses.probe = server.url("/");
        in.db = db;
        in.today = WallTime(kToday);
        in.timeoutMs = 400;
        return in;
    }

    test::LocalHttpServer server;
    test::TempHome home;
    std::shared_ptr<Database> db;
};

// Only a page that arrived and names no city is an unknown city.
TEST_F(ForecastPageFailures, NoAnswerIsNoUnknownCity)
{
    const CollectionResult error = CollectWeather(input());   // 404: /search.php has no page
    EXPECT_EQ(error.locationText, "天气服务没有正常回答，请检查网络配置或稍后再试。");
    EXPECT_FALSE(error.locationRed);
    EXPECT_FALSE(error.dayLabelsVisible.has_value());
    server.setHanging("/search.php");
    const CollectionResult timeout = CollectWeather(input());
    EXPECT_EQ(timeout.locationText, ServiceUnreachableText());
    EXPECT_FALSE(timeout.locationRed);
    EXPECT_EQ(test::CountRows(*db, "skxx"), 1);
}

TEST_F(ForecastPageFailures, AnAnswerTooLargeStoresNothing)
{
    QByteArray page = test::WeatherFixture();
    page.append(QByteArray(FetchOptions::kPageLimit, ' '));
    server.setPage("/search.php", page);
    const CollectionResult result = CollectWeather(input());
    EXPECT_EQ(result.locationText, "天气服务的回答过大");
    EXPECT_EQ(result.storeMessage, "天气服务的回答过大");
    EXPECT_EQ(test::CountRows(*db, "skxx"), 1);

    server.setPage("/v1/search", test::PlaceJson());
    QByteArray forecast = test::ForecastJson(kToday.addDays(-7), test::SteadyDays());
    forecast.append(QByteArray(16 * 1024 * 1024, ' '));
    server.setPage("/v1/forecast", forecast);
    const CollectionResult meteo = CollectWeather(input(WeatherSource::OpenMeteo));
    EXPECT_EQ(meteo.locationText, AnswerTooLargeText());
    EXPECT_EQ(test::CountRows(*db, "skxx"), 1);
}

// A slow Open-Meteo answer: the run ends as soon as the program closes.
TEST_F(ForecastPageFailures, AnOpenMeteoRequestEndsAtOnceWhenTheProgramCloses)
{
    server.setHanging("/v1/search");
    auto stop = std::make_shared<std::atomic<bool>>(false);
    CollectionInput in = input(WeatherSource::OpenMeteo);
    in.timeoutMs = 10000;
    in.stop = stop;
    auto run = std::async(std::launch::async, [in] { return CollectWeather(in); });
    for (int i = 0; i < 500 && server.requestsTo("/v1/search").isEmpty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(server.requestsTo("/v1/search").size(), 1);
    QElapsedTimer clock;
    clock.start();
    *stop = true;
    run.get();
    ::testing::Test::RecordProperty("stop_ms", int(clock.elapsed()));
    EXPECT_LT(clock.elapsed(), 500);
}

} // namespace
} // namespace stolvar
