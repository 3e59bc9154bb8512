// A collection run with Open-Meteo against a local server answering like the service.
#include "support/LocalHttpServer.h"
#include "model/weather/WeatherCollector.h"
#include "support/OpenMeteoFixtures.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2026, 12, 8);
const QDate kFirst = kToday.addDays(-7);   // past_days=7: the answer starts a week back

class MeteoRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setPage("/", "ok");
        server.setPage("/v1/search", test::PlaceJson());
        server.setPage("/v1/forecast", test::ForecastJson(kFirst, test::SteadyDays()));
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }

    CollectionInput input() const
    {
        CollectionInput in;
        in.city = QStringLiteral("郑州");
        in.source = WeatherSource::OpenMeteo;
        in.addresses.probe = server.url(QStringLiteral("/"));
        in.addresses.meteoService = server.url();
        in.addresses.geocodingService = server.url();
        in.db = db;
        in.today = WallTime(kToday);
        in.timeoutMs = 5000;
        return in;
    }

    // The files of this version gain the source column when opened for writing.
    void addSourceColumn()
    {
        ASSERT_TRUE(EnsureSourceColumn(*db));
        withSource = true;
    }

    void insert(const QDate& day, double mean, const QVariant& source)
    {
        Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度, 来源) VALUES (?, ?, ?, ?, ?)"));
        st.bind(1, WallTime(day)).bind(2, mean).bind(3, mean).bind(4, mean).bind(5, source);
        ASSERT_TRUE(st.run());
    }

    // day → "mean/source" of every row, in day order.
    QStringList rows() const
    {
        QStringList all;
        Statement st(*db, QStringLiteral("SELECT 养护记录, 温度记录, ") + (withSource ? QStringLiteral("来源") : QStringLiteral("''"))
                              + QStringLiteral(" FROM skxx ORDER BY 养护记录"));
        while (st.next())
            all << QStringLiteral("%1 %2 %3").arg(st.dateTime(0).date().toString(Qt::ISODate), FormatNumber(st.real(1)), st.text(2));
        EXPECT_TRUE(st.ok()) << st.error().toStdString();
        return all;
    }

    test::LocalHttpServer server;
    test::TempHome home;
    std::shared_ptr<Database> db;
    bool withSource = false;
};

TEST_F(MeteoRunTest, SearchesThePlaceOnceShowsTheDaysAndStoresPastAndComingDays)
{
    const CollectionResult result = CollectWeather(input());
    const auto searches = server.requestsTo("/v1/search");
    ASSERT_EQ(searches.size(), 1);
    EXPECT_EQ(searches[0].target(), "/v1/search?name=%E9%83%91%E5%B7%9E&count=10&language=zh&countryCode=CN&format=json");
    const auto forecasts = server.requestsTo("/v1/forecast");
    ASSERT_EQ(forecasts.size(), 1);
    EXPECT_EQ(forecasts[0].target(),
              "/v1/forecast?latitude=34.7578&longitude=113.6486&hourly=temperature_2m"
              "&daily=temperature_2m_max,temperature_2m_min&timezone=Asia%2FShanghai&past_days=7&forecast_days=16");

    ASSERT_TRUE(result.placeFound);
    EXPECT_EQ(result.placeFound->city, QStringLiteral("郑州"));
    EXPECT_EQ(result.locationText, QStringLiteral("郑州，河南（北纬34.76°，东经113.65°）"));
    EXPECT_FALSE(result.locationRed);
    EXPECT_EQ(result.dayLabelsVisible, true);
    // Day 7 of the answer is today: hours at 13 and 21 ℃, mean 17.
    EXPECT_EQ(result.todayLabel, QStringLiteral("【今天温度】\r\n\r\n最高温度21℃\r\n\r\n最低温度13℃\r\n\r\n平均温度17℃"));
    EXPECT_EQ(result.futureLabels[0], QStringLiteral("【明天温度】\r\n\r\n最高温度22\r\n\r\n最低温度14\r\n\r\n平均温度18℃"));
    EXPECT_EQ(result.futureLabels[2], QStringLiteral("12月11日 星期五\r\n\r\n最高温度24\r\n\r\n最低温度16\r\n\r\n平均温度20℃"));
    EXPECT_EQ(result.storeMessage, QString());
    // Nothing was recorded: the seven past days and the five shown are stored.
    ASSERT_EQ(rows().size(), 12);
    EXPECT_EQ(rows().front(), QStringLiteral("2026-12-01 10 "));

    CollectionInput again = input();
    again.place = result.placeFound;
    const CollectionResult second = CollectWeather(again);
    EXPECT_EQ(server.requestsTo("/v1/search").size(), 1) << "the remembered place is not searched again";
    EXPECT_FALSE(second.placeFound);
    EXPECT_EQ(rows().size(), 12);
}

TEST_F(MeteoRunTest, ObservedWeatherReplacesOnlyPastForecastsAndNeverATypedOrLoggerDay)
{
    addSourceColumn();
    insert(kToday.addDays(-1), 1, QStringLiteral("预报"));   // yesterday's forecast: replaced
    insert(kToday.addDays(-2), 2, QStringLiteral("记录仪"));
    insert(kToday.addDays(-3), 3, QVariant());               // typed by an earlier version
    insert(kToday.addDays(-4), 4, QStringLiteral("手工"));
    insert(kToday.addDays(1), 5, QStringLiteral("预报"));    // a forecast ahead stays as it is
    const CollectionResult result = CollectWeather(input());
    EXPECT_EQ(result.storeMessage, QString());
    EXPECT_EQ(rows(), (QStringList{
        QStringLiteral("2026-12-01 10 实况"), QStringLiteral("2026-12-02 11 实况"), QStringLiteral("2026-12-03 12 实况"),
        QStringLiteral("2026-12-04 4 手工"), QStringLiteral("2026-12-05 3 "), QStringLiteral("2026-12-06 2 记录仪"),
        QStringLiteral("2026-12-07 16 实况"), QStringLiteral("2026-12-08 17 预报"), QStringLiteral("2026-12-09 5 预报"),
        QStringLiteral("2026-12-10 19 预报"), QStringLiteral("2026-12-11 20 预报"), QStringLiteral("2026-12-12 21 预报")}));
}

TEST_F(MeteoRunTest, BadAnswersStoreNothingAndSayWhy)
{
    struct Case {
        const char* name;
        QByteArray search;
        QByteArray forecast;   // empty: the service answers 404
        QString message;
        bool red;
    };
    const QByteArray good = test::ForecastJson(kFirst, test::SteadyDays());
    QByteArray unequal = good;
    unequal.replace("\"temperature_2m_max\":[14,", "\"temperature_2m_max\":[");
    const QString broken = QStringLiteral("天气服务的回答无法读取：");
    const Case cases[] = {
        {"unknown city", test::UnknownPlaceJson(), good, QStringLiteral("对不起，无法查询到您所输入的地名，请检查后重新输入。例如：郑州（输入郑州即可，不要输入郑州市）"), true},
        {"search broken", "{\"results\":", good, broken + QStringLiteral("不是有效的JSON"), false},
        {"forecast missing", test::PlaceJson(), {}, QStringLiteral("天气服务没有正常回答，请检查网络配置或稍后再试。"), false},
        {"forecast not json", test::PlaceJson(), "Service Unavailable", broken + QStringLiteral("不是有效的JSON"), false},
        {"arrays of different lengths", test::PlaceJson(), unequal, broken + QStringLiteral("daily的数组长度不一致"), false},
        {"absurd value", test::PlaceJson(),
         test::ForecastJson(kFirst, [](int d, int h) { return QJsonValue(d == 5 && h == 5 ? 85.0 : 5.0); }),
         broken + QStringLiteral("温度值无效"), false},
    };
    for (const Case& c : cases) {
        server.setPage("/v1/search", c.search);
        server.setPage("/v1/forecast", c.forecast);
        CollectionInput in = input();
        if (c.forecast.isEmpty())
            in.addresses.meteoService = server.url(QStringLiteral("/missing"));
        const CollectionResult result = CollectWeather(in);
        EXPECT_EQ(result.locationText, c.message) << c.name;
        EXPECT_EQ(result.locationRed, c.red) << c.name;
        EXPECT_TRUE(rows().isEmpty()) << c.name;
    }
}

} // namespace
} // namespace stolvar
