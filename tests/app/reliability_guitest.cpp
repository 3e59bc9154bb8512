#include "support/CountingSmtpServer.h"
#include "core/AutoStart.h"
#include "curing/WeatherController.h"
#include "model/mail/MailSettings.h"
#include "remind/ReminderController.h"
#include "support/FailingSettingsIo.h"
#include "support/LocalHttpServer.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::MainWindowFixture;

// Points every outside address at `web`.
void UseWebServer(const SettingsStore& settings, const test::LocalHttpServer& web)
{
    settings.write(keys::kWeatherService, web.url().toString());
    settings.write(keys::kProbeAddress, web.url(QStringLiteral("/")).toString());
    settings.write(keys::kVersionPage, web.url(QStringLiteral("/version.html")).toString());
}

// The start-at-log-on entries go to a folder of the test's own.
class ConfigHome
{
public:
    ConfigHome() : m_previous(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", folder.path().toUtf8()); }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", m_previous); }
    test::TempHome folder;

private:
    QByteArray m_previous;
};

TEST(SettingsWriteFailure, ShownOnceWithThePathAndTheProgramGoesOn)
{
    MainWindowFixture f;
    f.settingsIo = std::make_shared<test::FailingSettingsIo>();
    f.start();   // the lead time is written at start-up
    QLabel* part = f.ui().frame.statusParts[kVersionPart];
    EXPECT_EQ(part->text(), SettingsWriteFailedText(f.home.file("Temp.ini"), test::FailingSettingsIo::kReason));
    part->clear();
    f.ui().optionsUi.leadDaysBox->setText("5");
    f.window->close();   // stores the options: fails again
    EXPECT_EQ(part->text(), "") << "shown once per run";
    EXPECT_FALSE(QFile::exists(f.home.file("Temp.ini")));
}

// A Temp.ini of megabytes (a log pasted into it) is left alone: the clerk is told, the
// program runs on its defaults, and closing writes nothing into it.
TEST(SettingsTooLarge, RefusedWithAMessageAndLeftAsItIs)
{
    MainWindowFixture f;
    QByteArray large = "[查询几天内到期试块]\n数值=9\n";
    large.append(QByteArray(SettingsFileIo::kMaxFileBytes, '#'));
    {
        QFile file(f.home.file("Temp.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(large);
    }
    f.start();
    EXPECT_TRUE(f.messages->texts().contains(SettingsTooLargeText(f.home.file("Temp.ini"))));
    EXPECT_EQ(f.ui().optionsUi.leadDaysBox->text(), "") << "the default, not the 9 the file holds";
    EXPECT_EQ(f.ui().frame.statusParts[kVersionPart]->text(),
              SettingsWriteFailedText(f.home.file("Temp.ini"), "文件超过1 MB，未读取也未改写"));
    f.window->close();
    QFile file(f.home.file("Temp.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), large);
}

// The window shows while the last database opens on a worker; closing it in that gap
// stores nothing of the options it has not restored yet.
TEST(EarlyClose, OptionsNotYetRestoredAreNotStored)
{
    ConfigHome config;
    MainWindowFixture f;
    f.prepareDatabase();
    for (const keys::Key& key : {keys::kAutoCollect, keys::kAutoMail, keys::kAutoStart})
        f.settings().write(key, "真");
    f.settings().write(keys::kProbeAddress, "http://127.0.0.1:1/");
    const QString entry = AutoStartEntryPath(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(RegisterAutoStart(QCoreApplication::applicationFilePath()));

    MainWindow& w = f.construct();
    ASSERT_FALSE(w.isStartedUp());
    w.close();
    for (const keys::Key& key : {keys::kAutoCollect, keys::kAutoMail, keys::kAutoStart})
        EXPECT_EQ(f.settings().read(key), "真") << key.keyText().toStdString();

    f.window.reset();
    f.start();
    EXPECT_TRUE(f.ui().optionsUi.autoStartBox->isChecked());
    EXPECT_TRUE(f.ui().optionsUi.autoMailBox->isChecked());
    EXPECT_TRUE(QFile::exists(entry));
    f.ui().optionsUi.autoStartBox->click();   // leaves no entry behind
    EXPECT_FALSE(QFile::exists(entry));
}

// A weather service that accepts and never answers: requests for more runs coalesce into
// one pending run, and closing takes well under 2 s, starts nothing and stores the options.
TEST(DeadNetwork, RunsCoalesceAndShutdownIsQuick)
{
    test::LocalHttpServer web(true);
    MainWindowFixture f;
    UseWebServer(f.settings(), web);
    MainWindow& w = f.start();
    for (int addition = 0; addition < 6; ++addition)
        w.weather().collect();
    ASSERT_TRUE(test::WaitUntil([&] { return web.requests().size() == 1; }));
    QTest::qWait(200);
    EXPECT_EQ(web.requests().size(), 1);
    // Start-up work (the first due scan) may still hold a worker on a slow machine; once it
    // ends, only the one hanging run may remain.
    EXPECT_TRUE(test::WaitUntil([&] { return f.ctx().tasks.pool().activeThreadCount() == 1; }))
        << "waiting runs hold the workers: " << f.ctx().tasks.pool().activeThreadCount();
    EXPECT_TRUE(w.weather().isRunning());

    f.ui().optionsUi.autoCollectBox->setChecked(true);
    QElapsedTimer clock;
    clock.start();
    w.close();
    ::testing::Test::RecordProperty("close_ms", int(clock.elapsed()));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(w.allWorkFinished()) << "the request in flight was aborted";
    QTest::qWait(300);
    EXPECT_EQ(web.requests().size(), 1) << "a run or a version check started after the close";
    EXPECT_EQ(f.settings().read(keys::kAutoCollect), "真");
}

// The same with Open-Meteo: a place search that never answers does not hold the close.
TEST(DeadNetwork, ASlowOpenMeteoAnswerDoesNotHoldTheClose)
{
    test::LocalHttpServer web;
    web.setPage("/", "ok");
    web.setHanging("/v1/search");
    MainWindowFixture f;
    UseWebServer(f.settings(), web);
    f.settings().write(keys::kWeatherSource, "Open-Meteo");
    f.settings().write(keys::kMeteoService, web.url().toString());
    f.settings().write(keys::kGeocodingService, web.url().toString());
    f.settings().write(keys::kClimateService, web.url(QStringLiteral("/v1/archive")).toString());
    f.settings().write(keys::kWeatherCity, "郑州");
    MainWindow& w = f.start();
    w.weather().collect();
    ASSERT_TRUE(test::WaitUntil([&] { return web.requestsTo("/v1/search").size() == 1; }));
    QElapsedTimer clock;
    clock.start();
    w.close();
    ::testing::Test::RecordProperty("close_ms", int(clock.elapsed()));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(w.allWorkFinished()) << "the request in flight was aborted";
}

// A due scan that ends after the window was closed starts no mail.
TEST(ShutdownStartsNothing, AScanEndingAfterTheCloseSendsNoMail)
{
    test::CountingSmtpServer smtp;
    MainWindowFixture f;
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", smtp.port(), "materials", "pa55"));
    ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));
    MainWindow& w = f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return smtp.connections() == 1 && !w.reminders().isSending(); }));
    f.clock->advanceDays(1);   // tomorrow's scan would mail again
    w.reminders().scanDueSpecimens();
    w.close();
    QTest::qWait(500);
    EXPECT_EQ(smtp.connections(), 1);
}

} // namespace
} // namespace stolvar
