#include "support/WeatherFixtures.h"
#include "model/weather/WeatherCollector.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/LocalHttpServer.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2024, 5, 10);

class WeatherCollectorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setPage("/", "ok");
        server.setPage("/search.php", test::WeatherFixture());
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
        Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录,温度记录,最高温度,最低温度) VALUES (?,1,1,1)"));
        ASSERT_TRUE(st.bindAll(ToStorageText(WallTime(kToday.addDays(-1)))).run());
    }

    CollectionInput input(const QString& city) const
    {
        CollectionInput in;
        in.city = city;
        in.addresses.weatherService = server.url();
        in.addresses.probe = server.url(QStringLiteral("/"));
        in.addresses.versionPage = server.url(QStringLiteral("/version.html"));
        in.db = db;
        in.today = WallTime(kToday);
        in.timeoutMs = 5000;
        return in;
    }

    int rowCount() const
    {
        Statement st(*db, QStringLiteral("SELECT count(*) FROM skxx"));
        return st.next() ? int(st.integer(0)) : -1;
    }

    test::LocalHttpServer server;
    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(WeatherCollectorTest, FetchesTheCityPageAndStoresTheForecast)
{
    const CollectionResult result = CollectWeather(input(QStringLiteral("郑州 &#%")));

    const auto probes = server.requestsTo("/");
    ASSERT_EQ(probes.size(), 1);
    EXPECT_EQ(probes[0].headers.value("user-agent"), "test");
    const auto searches = server.requestsTo("/search.php");
    ASSERT_EQ(searches.size(), 1);
    // 郑州 in GBK is D6 A3 D6 DD; the space, "&", "#" and "%" cannot end the city value.
    EXPECT_EQ(searches[0].target(), "/search.php?f=1&c=1&city=%D6%A3%D6%DD%20%26%23%25&dpc=1");
    EXPECT_TRUE(searches[0].line.startsWith("GET "));
    EXPECT_EQ(searches[0].headers.value("user-agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(searches[0].headers.value("accept"), "*/*");
    EXPECT_EQ(searches[0].headers.value("cache-control"), "no-cache");
    EXPECT_EQ(searches[0].headers.value("pragma"), "no-cache");

    EXPECT_TRUE(result.online);
    EXPECT_TRUE(result.startVersionCheck);
    EXPECT_EQ(result.storeMessage, QString());
    EXPECT_EQ(result.locationText, QStringLiteral("郑州2024年5月10日星期五"));
    EXPECT_EQ(result.dayLabelsVisible, true);
    EXPECT_TRUE(result.futureLabels[3].has_value());
    EXPECT_EQ(rowCount(), 1 + 4);   // yesterday, then every day but the one with mean 0

    EXPECT_EQ(CollectWeather(input(QStringLiteral("郑州"))).storeMessage, QString());
    EXPECT_EQ(rowCount(), 1 + 4);
}

TEST_F(WeatherCollectorTest, UnreachableProbeEndsTheRunOffline)
{
    CollectionInput in = input(QStringLiteral("郑州"));
    in.addresses.probe = server.url(QStringLiteral("/missing"));
    const CollectionResult result = CollectWeather(in);
    EXPECT_FALSE(result.online);
    EXPECT_FALSE(result.startVersionCheck);
    EXPECT_EQ(result.locationText, NoNetworkText());
    EXPECT_FALSE(result.todayLabel.has_value());
    EXPECT_FALSE(result.dayLabelsVisible.has_value());
    EXPECT_TRUE(server.requestsTo("/search.php").isEmpty());

    in.system = QNetworkInformation::Reachability::Disconnected;
    in.addresses.probe = server.url(QStringLiteral("/"));
    EXPECT_FALSE(CollectWeather(in).online);
}

TEST_F(WeatherCollectorTest, CityOutsideGbkIsRefusedBeforeAnyRequest)
{
    const CollectionResult result = CollectWeather(input(QStringLiteral("郑州\U0001F600")));
    EXPECT_TRUE(result.online);
    EXPECT_EQ(result.locationText, CityNotEncodableText());
    EXPECT_TRUE(result.locationRed);
    EXPECT_TRUE(server.requestsTo("/search.php").isEmpty());
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(WeatherCollectorTest, UnknownCityStoresNothing)
{
    server.setPage("/search.php", "<html>no such place</html>");
    const CollectionResult result = CollectWeather(input(QStringLiteral("郑州市")));
    EXPECT_EQ(result.locationText, UnknownCityText());
    EXPECT_TRUE(result.locationRed);
    EXPECT_EQ(result.dayLabelsVisible, false);
    EXPECT_TRUE(result.startVersionCheck);
    EXPECT_EQ(rowCount(), 1);
}

TEST(WeatherFetchTest, SilentServerTimesOut)
{
    test::LocalHttpServer silent(true);
    FetchOptions options;
    options.timeoutMs = 300;
    QElapsedTimer clock;
    clock.start();
    QByteArray body = "stale";
    EXPECT_FALSE(TryFetchPage(silent.url(QStringLiteral("/")), options, &body));
    EXPECT_TRUE(body.isEmpty());
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(silent.requests().size(), 1);
}

} // namespace
} // namespace stolvar
