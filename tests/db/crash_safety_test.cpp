#include "model/temperatures/TemperatureStore.h"
#include "db/Database.h"
#include "model/register/GroupStore.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

// A writer killed at any moment must leave a database that opens, passes the integrity
// check and holds every write it reported as done. The test runs this executable a
// second time as the writer: the variable below names the database it writes to.

namespace stolvar {
namespace {

const char kWriterVariable[] = "STOLVAR_CRASH_WRITER_DATABASE";
constexpr int kAcknowledgementsBeforeKill = 200;
constexpr qint64 kDeadlineMs = 15000;

const QDate kFirstDay(2000, 1, 1);

QString ProjectOf(int step)
{
    return QStringLiteral("工程%1").arg(step % 7);
}

QString PositionOf(int step)
{
    return QStringLiteral("部位%1").arg(step);
}

// Write `step` of the stream: a day, a new group, or a new grade for the group added by
// the step before (so every group changes at most once). Returns the acknowledgement
// line, empty when the write failed.
QString WriteStep(Database& db, int step)
{
    const int day = step / 3;
    switch (step % 3) {
    case 0:
        return InsertDayIfMissing(db, kFirstDay.addDays(day), day % 40 - 10 + 0.5, day % 40 - 5, day % 40 - 14)
                       == InsertOutcome::Inserted
                   ? QStringLiteral("T %1").arg(kFirstDay.addDays(day).toString(Qt::ISODate))
                   : QString();
    case 1: {
        SpecimenGroup g;
        g.project = ProjectOf(step);
        g.position = PositionOf(step);
        g.grade = QStringLiteral("C30");
        g.castingDate = WallTime(kFirstDay.addDays(day));
        g.standardCount = QStringLiteral("2");
        return AddGroup(db, g) == WriteResult::Done ? QStringLiteral("G %1 %2").arg(g.project, g.position) : QString();
    }
    default: {
        const QString grade = QStringLiteral("C%1").arg(step);
        return ChangeGrade(db, ProjectOf(step - 1), PositionOf(step - 1), grade) == WriteResult::Done
                   ? QStringLiteral("C %1 %2 %3").arg(ProjectOf(step - 1), PositionOf(step - 1), grade)
                   : QString();
    }
    }
}

[[noreturn]] void RunWriter(const QString& path)
{
    auto db = Database::Open(path);
    if (!db) {
        std::fprintf(stderr, "writer: cannot open %s\n", path.toUtf8().constData());
        std::_Exit(3);
    }
    for (int step = 0;; ++step) {
        const QString ack = WriteStep(*db, step);
        if (ack.isEmpty()) {
            std::fprintf(stderr, "writer: step %d failed: %s\n", step, db->lastError().toUtf8().constData());
            std::_Exit(4);
        }
        std::printf("ack %s\n", ack.toUtf8().constData());
        std::fflush(stdout);
    }
}

// In the writer process the environment's set-up turns into the writer and never returns.
class WriterEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const QByteArray path = qgetenv(kWriterVariable);
        if (!path.isEmpty())
            RunWriter(QString::fromUtf8(path));
    }
};

[[maybe_unused]] ::testing::Environment* const kWriterEnvironment =
    ::testing::AddGlobalTestEnvironment(new WriterEnvironment);

// Whether the database holds what an acknowledgement line reports.
bool Holds(const Database& db, const QString& ack)
{
    const QStringList f = ack.split(u' ');
    if (f.size() == 2 && f[0] == u'T') {
        Statement st(db, QStringLiteral("SELECT count(*) FROM skxx WHERE 养护记录 = ?"));
        st.bindAll(WallTime(QDate::fromString(f[1], Qt::ISODate)));
        return st.next() && st.integer(0) == 1;
    }
    if ((f.size() == 3 && f[0] == u'G') || (f.size() == 4 && f[0] == u'C')) {
        Statement st(db, QStringLiteral("SELECT 强度等级 FROM gcxx WHERE 工程名称 = ? AND 工程部位 = ?"));
        st.bindAll(f[1], f[2]);
        // After its line the new group may have had its grade changed by the next step.
        return st.next() && (f[0] == u'G' || st.text(0) == f[3]);
    }
    return false;
}

// The acknowledgements among the writer's lines (the test framework prints its own).
QStringList Acknowledgements(QProcess& child)
{
    QStringList acks;
    while (child.canReadLine()) {
        const QString line = QString::fromUtf8(child.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("ack ")))
            acks << line.mid(4);
    }
    return acks;
}

TEST(CrashSafety, EveryAcknowledgedWriteSurvivesAKill)
{
    test::TempHome home;
    const QString path = home.file(QStringLiteral("crash.dat"));
    ASSERT_TRUE(test::MakeProjectDatabase(path));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kWriterVariable), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=CrashSafety.EveryAcknowledgedWriteSurvivesAKill")});
    ASSERT_TRUE(child.waitForStarted(5000));

    QStringList acks;
    QElapsedTimer clock;
    clock.start();
    while (acks.size() < kAcknowledgementsBeforeKill && clock.elapsed() < kDeadlineMs
           && child.state() == QProcess::Running) {
        child.waitForReadyRead(100);
        acks += Acknowledgements(child);
    }
    child.kill();   // SIGKILL: no clean-up of any kind in the writer
    ASSERT_TRUE(child.waitForFinished(5000));
    acks += Acknowledgements(child);   // lines written before the kill count as acknowledged
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
    ASSERT_GE(acks.size(), kAcknowledgementsBeforeKill) << child.readAllStandardError().toStdString();

    const auto db = Database::Open(path);
    ASSERT_TRUE(db);
    Statement check(*db, QStringLiteral("PRAGMA integrity_check"));
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.text(0), QStringLiteral("ok"));
    for (const QString& ack : acks)
        EXPECT_TRUE(Holds(*db, ack)) << ack.toStdString();
}

} // namespace
} // namespace stolvar
