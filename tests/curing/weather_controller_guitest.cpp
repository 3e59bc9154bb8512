#include "support/WeatherFixtures.h"
#include "curing/WeatherController.h"

#include "core/Conversions.h"
#include "core/ProgramInfo.h"
#include "curing/CuringWidgets.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/ControllerFixture.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "version/VersionController.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2024, 5, 10);

class WeatherControllerGuiTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    WeatherControllerGuiTest()
        : ControllerFixture(WallTime(kToday, QTime(10, 0))), controller(context, ui.weatherUi),
          version(context, ui.frame.statusParts[kVersionPart])
    {
        QObject::connect(&controller, &WeatherController::networkReached, &version, &VersionController::check);
    }

    void SetUp() override
    {
        server.setPage("/", "ok");
        server.setPage("/search.php", test::WeatherFixture());
        server.setPage("/version.html", "<p>最新版本号：Stolvar2.6</p>");
        const SettingsStore settings = home.settings();
        settings.write(keys::kWeatherCity, QStringLiteral("郑州"));
        settings.write(keys::kWeatherService, server.url().toString());
        settings.write(keys::kProbeAddress, server.url(QStringLiteral("/")).toString());
        settings.write(keys::kVersionPage, server.url(QStringLiteral("/version.html")).toString());
        openDatabase();
        Statement st(*context.db, QStringLiteral("INSERT INTO skxx(养护记录,温度记录,最高温度,最低温度) VALUES (?,1,1,1)"));
        ASSERT_TRUE(st.bindAll(ToStorageText(WallTime(kToday.addDays(-1)))).run());
    }

    void TearDown() override { context.tasks.waitForDone(); }

    // Every run that reaches the network ends with the version check's message box.
    bool waitForMessages(qsizetype count)
    {
        return QTest::qWaitFor([&] { return messages->shown.size() >= count; }, 10000);
    }

    test::LocalHttpServer server;
    WeatherController controller;
    VersionController version;
};

TEST_F(WeatherControllerGuiTest, RunShowsTheForecastThenTheVersion)
{
    controller.collect();
    ASSERT_TRUE(waitForMessages(1));
    const WeatherWidgets& weather = ui.weatherUi;
    EXPECT_EQ(weather.cityBox->text(), QStringLiteral("郑州"));
    EXPECT_EQ(weather.locationLabel->text(), QStringLiteral("郑州2024年5月10日星期五"));
    EXPECT_TRUE(weather.todayLabel->text().endsWith(QStringLiteral("平均温度3.5℃")));
    EXPECT_TRUE(weather.futureLabels[3]->text().startsWith(QStringLiteral("5月14日 星期二")));
    EXPECT_FALSE(weather.todayLabel->isHidden());
    EXPECT_EQ(ui.frame.statusParts[kVersionPart]->text(), QStringLiteral("软件有新版本，请更新到最新版！Stolvar2.6"));
    EXPECT_EQ(messages->lastText(), QStringLiteral("软件有新版本:Stolvar2.6请更注意更新！"));
    EXPECT_EQ(messages->shown.back().title, Messages::DefaultTitle());
    EXPECT_FLOAT_EQ(controller.days()[1].mean, 22.0f);
}

TEST_F(WeatherControllerGuiTest, UnknownCityHidesTheDaysInRed)
{
    server.setPage("/search.php", "<html>no such place</html>");
    ui.weatherUi.cityBox->setText(QStringLiteral("郑州市"));
    controller.updateLocation();
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(home.settings().read(keys::kWeatherCity), QStringLiteral("郑州市"));
    EXPECT_EQ(ui.weatherUi.locationLabel->text(), UnknownCityText());
    EXPECT_EQ(ui.weatherUi.locationLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(ui.weatherUi.todayLabel->isHidden());
    EXPECT_TRUE(ui.weatherUi.futureLabels[0]->isHidden());
}

// While a run is out, the label says so and the button cannot start a second one; calls
// meanwhile fold into one more run after it; the result then replaces the waiting text.
TEST_F(WeatherControllerGuiTest, OneRunAtATimeWithAWaitingText)
{
    const WeatherWidgets& weather = ui.weatherUi;
    controller.collect();
    EXPECT_EQ(weather.locationLabel->text(), QStringLiteral("正在获取天气…"));
    EXPECT_FALSE(weather.updateCityButton->isEnabled());
    EXPECT_TRUE(controller.isRunning());
    controller.collect();
    controller.updateLocation();
    ASSERT_TRUE(waitForMessages(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.isRunning(); }, 10000));
    EXPECT_EQ(server.requestsTo("/search.php").size(), 2);
    EXPECT_TRUE(weather.updateCityButton->isEnabled());
    EXPECT_EQ(weather.locationLabel->text(), QStringLiteral("郑州2024年5月10日星期五"));
    controller.collect();
    ASSERT_TRUE(waitForMessages(3));
    EXPECT_EQ(server.requestsTo("/search.php").size(), 3);
}

} // namespace
} // namespace stolvar
