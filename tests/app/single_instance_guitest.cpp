#include "support/CountingSmtpServer.h"
#include "app/SingleInstance.h"
#include "model/mail/MailSettings.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedSmtpServer.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace stolvar {
namespace {

TEST(SingleInstance, OneProgramPerFolderAndALaterStartRaisesIt)
{
    test::TempHome home, other;
    SingleInstance first(home.path());
    ASSERT_TRUE(first.isPrimary());
    QWidget window;
    first.raiseOnRequest(&window);
    QSignalSpy asked(&first, &SingleInstance::showRequested);

    SingleInstance second(home.path() + "/");
    EXPECT_FALSE(second.isPrimary());
    EXPECT_TRUE(second.askRunningToShow());
    ASSERT_TRUE(test::WaitUntil([&] { return asked.size() == 1; }));
    EXPECT_TRUE(window.isVisible());

    SingleInstance elsewhere(other.path());
    EXPECT_TRUE(elsewhere.isPrimary());
    EXPECT_NE(SingleInstance::ServerName(home.path()), SingleInstance::ServerName(other.path()));
    first.release();
    EXPECT_FALSE(QFile::exists(home.file(SingleInstance::LockFileName())));
}

// The program takes the lock before Qt starts and listens only once it runs: from the
// lock on, a later start already knows it is not the first.
TEST(SingleInstance, TheLockAloneTurnsALaterStartAwayBeforeTheFirstListens)
{
    test::TempHome home;
    SingleInstance first(home.path(), SingleInstance::Listening::Later);
    ASSERT_TRUE(first.holdsLock());
    ASSERT_TRUE(first.isPrimary());
    QSignalSpy asked(&first, &SingleInstance::showRequested);

    SingleInstance second(home.path());
    EXPECT_FALSE(second.isPrimary());
    EXPECT_FALSE(second.holdsLock());
    first.startListening();
    EXPECT_TRUE(second.askRunningToShow());
    EXPECT_TRUE(test::WaitUntil([&] { return asked.size() == 1; }));
}

// The program itself, started as a process on a prepared folder.
class ProgramRun
{
public:
    explicit ProgramRun(const QString& home, const QString& config)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("STOLVAR_HOME", home);
        env.insert("XDG_CONFIG_HOME", config);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
    }
    ~ProgramRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    void start() { process.start(QStringLiteral(STOLVAR_EXECUTABLE), {}); }
    bool running() const { return process.state() == QProcess::Running; }
    bool ended() const { return process.state() == QProcess::NotRunning; }
    bool endedWithZero() const { return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0; }
    // SIGTERM, as the session manager sends it; the milliseconds until the process ended.
    qint64 terminate()
    {
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(process.processId()), SIGTERM);
        process.waitForFinished(20000);
        return clock.elapsed();
    }

    QProcess process;
};

// A program folder whose register has a group coming due in three days (the lead time),
// so each start mails.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        auto db = test::MakeProjectDatabase(home.file("工程.dat"));
        test::InsertGroup(*db, "城北花园", "二层梁板", WallTime(QDate::currentDate().addDays(-25)));
        const SettingsStore settings = home.settings();
        settings.write(keys::kDatabaseFile, home.file("工程.dat"));
        settings.write(keys::kLeadDays, "3");
        settings.write(keys::kProbeAddress, "http://127.0.0.1:1/");
    }
    void mailTo(quint16 port)
    {
        ASSERT_TRUE(SaveMailServer(home.file("help"), "127.0.0.1", port, "materials", "pa55"));
        ASSERT_TRUE(SaveMailRecipients(home.file("help"), "clerk@example.com"));
    }

    test::TempHome home;
    test::TempHome config;
};

TEST(SingleInstanceProcess, TwoStartsAtOnceMailOnceAndLeaveOneProgram)
{
    test::CountingSmtpServer smtp;
    ProgramFolder folder;
    folder.mailTo(smtp.port());
    ProgramRun a(folder.home.path(), folder.config.path()), b(folder.home.path(), folder.config.path());
    a.start();
    b.start();
    ASSERT_TRUE(test::WaitUntil([&] { return a.ended() || b.ended(); }, 20000));
    ProgramRun& left = a.ended() ? b : a;
    ProgramRun& gone = a.ended() ? a : b;
    EXPECT_TRUE(gone.endedWithZero());
    ASSERT_TRUE(test::WaitUntil([&] { return smtp.messages() == 1; }, 20000));
    QTest::qWait(1000);
    EXPECT_EQ(smtp.messages(), 1);
    EXPECT_EQ(smtp.connections(), 1);
    EXPECT_TRUE(left.running());
    left.terminate();
    EXPECT_TRUE(left.endedWithZero());
    EXPECT_FALSE(QFile::exists(folder.home.file(SingleInstance::LockFileName())));
}

TEST(SingleInstanceProcess, AStartAfterKillRunsAndAnotherFolderIsAnotherProgram)
{
    ProgramFolder folder, otherFolder;
    ProgramRun killed(folder.home.path(), folder.config.path());
    killed.start();
    // Running: it answers a later start, which ends at once with code 0.
    ASSERT_TRUE(test::WaitUntil([&] { return QFile::exists(folder.home.file(SingleInstance::LockFileName())); }, 20000));
    ProgramRun probe(folder.home.path(), folder.config.path());
    probe.start();
    ASSERT_TRUE(probe.process.waitForFinished(20000));
    EXPECT_TRUE(probe.endedWithZero());
    EXPECT_TRUE(killed.running());

    killed.process.kill();   // SIGKILL: the lock file stays behind
    ASSERT_TRUE(killed.process.waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(folder.home.file(SingleInstance::LockFileName())));

    ProgramRun next(folder.home.path(), folder.config.path());
    next.start();
    // It runs (a stale lock is taken over), and so does a program on another folder;
    // only a program that ran its start-up stores the options when it closes.
    ASSERT_TRUE(test::WaitUntil([&] { return next.running(); }, 20000));
    ProgramRun elsewhere(otherFolder.home.path(), otherFolder.config.path());
    elsewhere.start();
    QTest::qWait(3500);   // a later start on a taken folder has ended by now
    EXPECT_TRUE(next.running());
    EXPECT_TRUE(elsewhere.running());
    next.terminate();
    elsewhere.terminate();
    EXPECT_TRUE(next.endedWithZero());
    EXPECT_TRUE(elsewhere.endedWithZero());
    EXPECT_EQ(folder.home.settings().read(keys::kAutoCollect), "假");
    EXPECT_EQ(otherFolder.home.settings().read(keys::kAutoCollect), "假");
}

// A weather service and a mail server that accept and never answer, and runs queued:
// SIGTERM ends the program within 2 seconds, with the options stored.
TEST(DeadNetworkProcess, SigtermEndsTheProgramWithinTwoSeconds)
{
    test::LocalHttpServer web(true);
    test::ScriptedSmtpServer silentSmtp({}, QByteArray());
    ProgramFolder folder;
    folder.mailTo(silentSmtp.port());
    const SettingsStore settings = folder.home.settings();
    settings.write(keys::kWeatherService, web.url().toString());
    settings.write(keys::kProbeAddress, web.url("/").toString());
    settings.write(keys::kAutoCollect, "真");
    ProgramRun run(folder.home.path(), folder.config.path());
    run.start();
    ASSERT_TRUE(test::WaitUntil([&] { return web.requests().size() == 1 && silentSmtp.accepted(); }, 20000));
    const qint64 ms = run.terminate();
    ::testing::Test::RecordProperty("shutdown_ms", int(ms));
    EXPECT_LT(ms, 2000);
    EXPECT_TRUE(run.endedWithZero());
    EXPECT_EQ(settings.read(keys::kAutoCollect), "真");
}

} // namespace
} // namespace stolvar
