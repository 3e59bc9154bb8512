// The weather source choice, the logger import and the Excel export in the running window.
#include "support/LocalHttpServer.h"
#include "support/LoggerFixtures.h"
#include "support/MainWindowFixture.h"
#include "support/OpenMeteoFixtures.h"
#include "support/Wait.h"
#include "support/WorkbookReader.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;
using test::MainWindowFixture;

const QDate kToday(2026, 12, 8);

void Trigger(MainWindow& window, const char* action)
{
    QAction* found = window.findChild<QAction*>(QString::fromUtf8(action));
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
}

TEST(WeatherSourceInWindow, OpenMeteoRunFillsTheBoxStoresTheDaysAndRemembersThePlace)
{
    test::LocalHttpServer server;
    server.setPage("/", "ok");
    server.setPage("/v1/search", test::PlaceJson());
    server.setPage("/v1/forecast", test::ForecastJson(kToday.addDays(-7), test::SteadyDays()));
    server.setPage("/v1/archive", test::ClimateJson(1996, 2025, [](const QDate& d) { return QJsonValue(d.month()); }));
    MainWindowFixture f(Day(2026, 12, 8, 10, 0));
    const SettingsStore settings = f.settings();
    settings.write(keys::kWeatherCity, QStringLiteral("郑州"));
    settings.write(keys::kWeatherSource, QStringLiteral("Open-Meteo"));
    settings.write(keys::kMeteoService, server.url().toString());
    settings.write(keys::kGeocodingService, server.url().toString());
    settings.write(keys::kClimateService, server.url(QStringLiteral("/v1/archive")).toString());
    settings.write(keys::kProbeAddress, server.url(QStringLiteral("/")).toString());
    settings.write(keys::kVersionPage, server.url(QStringLiteral("/version.html")).toString());
    auto db = f.prepareDatabase();
    MainWindow& w = f.start();
    QComboBox* box = w.findChild<QComboBox*>(QStringLiteral("天气来源框"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("Open-Meteo"));

    f.ui().weatherUi.cityBox->setText(QStringLiteral("郑州"));
    f.ui().weatherUi.updateCityButton->click();
    const QString place = QStringLiteral("郑州，河南（北纬34.76°，东经113.65°）");
    ASSERT_TRUE(test::WaitUntil([&] { return f.ui().weatherUi.locationLabel->text() == place; }))
        << f.ui().weatherUi.locationLabel->text().toStdString();
    EXPECT_TRUE(f.ui().weatherUi.todayLabel->text().startsWith(QStringLiteral("【今天温度】\r\n\r\n最高温度21℃")));
    EXPECT_EQ(settings.read(keys::kPlaceCity), QStringLiteral("郑州"));
    EXPECT_EQ(settings.read(keys::kPlaceTimezone), QStringLiteral("Asia/Shanghai"));
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("skxx")), 12);
    Statement observed(*db, QStringLiteral("SELECT count(*) FROM skxx WHERE 来源 = ?"));
    observed.bind(1, QStringLiteral("实况"));
    ASSERT_TRUE(observed.next());
    EXPECT_EQ(observed.integer(0), 7) << "the opened file gained the source column; the past week is observed";
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("qhsj")), 10958) << "the place's 30 years are stored";
    EXPECT_EQ(settings.read(keys::kClimateCity), QStringLiteral("郑州"));

    emit box->textActivated(QStringLiteral("预报页面"));
    EXPECT_EQ(settings.read(keys::kWeatherSource), QStringLiteral("预报页面"));
    f.ctx().tasks.waitForDone();
}

// Two places answer to one name: the clerk picks one from a list naming province and
// county; it is remembered and its forecast fetched.
TEST(WeatherSourceInWindow, SeveralPlacesOfOneNameAreChosenFromAList)
{
    test::LocalHttpServer server;
    server.setPage("/", "ok");
    const QByteArray two = R"({"results":[)"
        R"({"name":"新华","latitude":34.7,"longitude":113.6,"admin1":"河南","admin2":"郑州市","admin3":"中原区","timezone":"Asia/Shanghai"},)"
        R"({"name":"新华","latitude":38.05,"longitude":114.45,"admin1":"河北","admin2":"石家庄市","timezone":"Asia/Shanghai"}]})";
    server.setPage("/v1/search", two);
    server.setPage("/v1/forecast", test::ForecastJson(kToday.addDays(-7), test::SteadyDays()));
    MainWindowFixture f(Day(2026, 12, 8, 10, 0));
    const SettingsStore settings = f.settings();
    settings.write(keys::kWeatherSource, QStringLiteral("Open-Meteo"));
    settings.write(keys::kMeteoService, server.url().toString());
    settings.write(keys::kGeocodingService, server.url().toString());
    settings.write(keys::kClimateService, server.url(QStringLiteral("/v1/archive")).toString());
    settings.write(keys::kProbeAddress, server.url(QStringLiteral("/")).toString());
    settings.write(keys::kVersionPage, server.url(QStringLiteral("/version.html")).toString());
    f.start();

    QStringList shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("选择地点"))
            return;
        auto* list = modal->findChild<QTableWidget*>(QStringLiteral("地点列表"));
        for (int r = 0; r < list->rowCount(); ++r)
            shown << list->item(r, 0)->text() + u' ' + list->item(r, 1)->text() + u' ' + list->item(r, 2)->text();
        list->selectRow(1);
        modal->findChild<QPushButton*>(QStringLiteral("确定"))->click();
    });
    answer.start(20);
    f.ui().weatherUi.cityBox->setText(QStringLiteral("新华"));
    f.ui().weatherUi.updateCityButton->click();
    const QString place = QStringLiteral("新华，河北（北纬38.05°，东经114.45°）");
    ASSERT_TRUE(test::WaitUntil([&] { return f.ui().weatherUi.locationLabel->text() == place; }))
        << f.ui().weatherUi.locationLabel->text().toStdString();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("新华 河南 中原区"), QStringLiteral("新华 河北 石家庄市")}));
    EXPECT_EQ(settings.read(keys::kPlaceCity), QStringLiteral("新华"));
    EXPECT_EQ(settings.read(keys::kPlaceProvince), QStringLiteral("河北"));
    EXPECT_EQ(server.requestsTo("/v1/search").size(), 1) << "the chosen place is not searched again";
    const auto forecasts = server.requestsTo("/v1/forecast");
    ASSERT_EQ(forecasts.size(), 1);
    EXPECT_TRUE(forecasts[0].target().contains("latitude=38.0500")) << forecasts[0].target().constData();
    f.ctx().tasks.waitForDone();
}

TEST(WeatherSourceInWindow, WithoutTheSettingTheBoxShowsTheForecastPage)
{
    MainWindowFixture f;
    MainWindow& w = f.start();
    QComboBox* box = w.findChild<QComboBox*>(QStringLiteral("天气来源框"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("预报页面"));
    EXPECT_EQ(f.settings().read(keys::kWeatherSource, QStringLiteral("unset")), QStringLiteral("unset"));
}

TEST(TransfersInWindow, ExportAndImportThroughTheFileMenu)
{
    MainWindowFixture f(Day(2026, 12, 8, 10, 0));
    auto db = f.prepareDatabase();
    ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("三层梁"), Day(2026, 11, 20)));
    MainWindow& w = f.start();

    const QString workbook = f.home.file(QStringLiteral("register.xlsx"));
    f.messages->fileNames << workbook;
    Trigger(w, "导出Excel…");
    EXPECT_EQ(f.messages->lastText(), QStringLiteral("已导出到：") + workbook);
    const test::ReadBack book = test::ReadWorkbook(workbook);
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    EXPECT_EQ(book.sheets.size(), 5);
    EXPECT_EQ(book.cell(QStringLiteral("全部试块"), QStringLiteral("B2")).toString(), QStringLiteral("三层梁"));

    QFile file(f.home.file(QStringLiteral("logger.tsv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(test::LoggerLines(Day(2026, 12, 1), 48 * 2, 1800, QStringLiteral("%2\t%3"),
                                 QStringLiteral("MM/dd/yyyy HH:mm")).toUtf8());
    file.close();
    f.messages->fileNames << file.fileName();
    // The preview is modal: answer it as soon as it shows.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("导入温度记录"))
            return;
        // 12/01/2026 reads month first or day first: the preview asks, the clerk answers.
        auto* order = modal->findChild<QComboBox*>(QStringLiteral("日期顺序框"));
        ASSERT_NE(order, nullptr);
        order->setCurrentIndex(order->findText(QStringLiteral("月/日/年")));
        modal->findChild<QPushButton*>(QStringLiteral("导入"))->click();
    });
    answer.start(20);
    Trigger(w, "导入温度记录…");
    ASSERT_TRUE(test::WaitUntil([&] { return f.messages->lastText() == QStringLiteral("已导入2天温度记录。"); }))
        << f.messages->lastText().toStdString();
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("skxx")), 2);
}

} // namespace
} // namespace stolvar
