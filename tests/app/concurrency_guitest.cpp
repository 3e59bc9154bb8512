#include "support/WeatherFixtures.h"
#include "model/mail/MailSettings.h"
#include "register/RegisterController.h"
#include "remind/ReminderController.h"
#include "support/LocalHttpServer.h"
#include "support/MainWindowFixture.h"
#include "support/ScriptedSmtpServer.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// Background work (weather run against a local server, table-1 refreshes, due scans and
// the reminder mail against a local SMTP server) runs while the clerk keeps editing.
// Run under ThreadSanitizer this shows that no task touches what the UI thread owns.
TEST(Concurrency, BackgroundTasksRunWhileTheClerkEdits)
{
    test::LocalHttpServer web;
    web.setPage("/", "ok");
    web.setPage("/search.php", test::WeatherFixture());
    web.setPage("/version.html", "<p>最新版本号：Stolvar2.5</p>");
    test::ScriptedSmtpServer smtp(test::ScriptedSmtpServer::LoginRules("materials", "pa55"));

    test::MainWindowFixture f(Day(2017, 5, 10, 10, 0));
    {
        auto db = f.prepareDatabase();
        for (int i = 0; i < 12; ++i)
            test::InsertGroup(*db, "城北花园", QString("部位%1").arg(i), Day(2017, 4, 3 + i), kNotSent, kNotSent, "C30",
                              "1", "1", "1");
        for (int d = 0; d < 37; ++d)
            test::InsertTemperature(*db, Day(2017, 4, 3).addDays(d), 18.0, 24.0, 12.0);
    }
    const SettingsStore settings = f.settings();
    settings.write(keys::kWeatherCity, "郑州");
    settings.write(keys::kWeatherService, web.url().toString());
    settings.write(keys::kProbeAddress, web.url("/").toString());
    settings.write(keys::kVersionPage, web.url("/version.html").toString());
    settings.write(keys::kAutoCollect, "真");
    settings.write(keys::kLeadDays, "3");
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", smtp.port(), "materials", "pa55"));
    ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));

    MainWindow& w = f.start();
    WindowWidgets& ui = f.ui();
    ui.frame.tabs->setCurrentIndex(kTable1Page);
    for (int i = 0; i < 10; ++i) {
        ui.curingUi.temperatureDateBox->setText(QString("2017-5-%1").arg(20 + i));
        ui.curingUi.highBox->setText("20");
        ui.curingUi.lowBox->setText(QString::number(i));
        ui.curingUi.addTemperatureButton->click();          // table refresh and a weather run
        ui.registerUi.tree->setCurrentIndex(ui.registerUi.tree->model()->index(i % 12, 0, ui.registerUi.tree->model()->index(0, 0)));
        ui.registerUi.gradeBox->setText(QString("C%1").arg(30 + i));
        ui.registerUi.changeGradeButton->click();
        ui.optionsUi.leadDaysBox->setText(QString::number(2 + i % 3));   // a due scan and its mail gate
        QTest::qWait(5);
    }
    ASSERT_TRUE(test::WaitUntil([&] {
        f.ctx().tasks.waitForDone();
        QCoreApplication::processEvents();
        // The mail starts from the due scan's result, which may still be queued when the
        // workers fall idle on a slow machine: wait for the mail to have been recorded too.
        return !w.reminders().isSending() && f.ctx().tasks.pool().activeThreadCount() == 0
               && !settings.read(keys::kMailDay).isEmpty();
    }, 30000));
    QTest::qWait(50);

    Statement duplicates(*f.ctx().db, "SELECT 养护记录 FROM skxx GROUP BY 养护记录 HAVING count(*) > 1");
    EXPECT_FALSE(duplicates.next()) << "a day was stored twice";
    Statement forecast(*f.ctx().db, "SELECT count(*) FROM skxx WHERE 养护记录 >= '2017-05-10' AND 养护记录 < '2017-05-15'");
    ASSERT_TRUE(forecast.next());
    // Today and the four forecast days, each once, except the day whose mean is 0 ℃.
    EXPECT_EQ(forecast.integer(0), 4);
    EXPECT_EQ(settings.read(keys::kMailDay), "2017年5月10日");
    EXPECT_FALSE(web.requestsTo("/search.php").isEmpty());
    EXPECT_EQ(ui.frame.statusParts[kVersionPart]->text(), "您当前使用的是最新版！Stolvar2.5");
}

} // namespace
} // namespace stolvar
