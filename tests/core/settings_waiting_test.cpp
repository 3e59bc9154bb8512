#include "core/SettingsStore.h"
#include "support/FailingSettingsIo.h"
#include "support/FileBytes.h"
#include "support/TempHome.h"

#include <QFile>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace stolvar {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// The real file system, counting replacements; `duringReplace` runs once, in the middle of
// the next replacement (after the file's text was made, before it is renamed into place).
class WatchedIo : public SettingsFileIo
{
public:
    bool replace(const QString& path, const QByteArray& bytes, QString* reason) const override
    {
        ++replacements;
        if (auto during = std::exchange(duringReplace, {}))
            during();
        return SettingsFileIo::replace(path, bytes, reason);
    }
    mutable int replacements = 0;
    mutable std::function<void()> duringReplace;
};

// Background writes whose jobs the test runs when it wants them run.
class SettingsWaitingTest : public ::testing::Test
{
protected:
    SettingsStore storeWith(std::shared_ptr<const SettingsFileIo> io)
    {
        SettingsStore store(home.file(QStringLiteral("Temp.ini")), std::move(io));
        store.setBackgroundWrites([this](std::function<void()> job) { jobs.push_back(std::move(job)); });
        store.setWriteFailureHandler([this](const QString&, const QString& reason) { failures << reason; });
        return store;
    }
    void runJobs()
    {
        for (auto queued = std::exchange(jobs, {}); auto& job : queued)
            job();
    }
    QString onDisk() const { return QString::fromUtf8(ReadBytes(home.file(QStringLiteral("Temp.ini")))); }

    test::TempHome home;
    std::vector<std::function<void()>> jobs;
    QStringList failures;
};

// Clicks in a row: every read gives the last value at once, from this store or any other
// of the file; the file gets it in one replacement on the background thread, keeping its
// other lines, and from then on the file is read again (a hand edit shows).
TEST_F(SettingsWaitingTest, AWaitingValueIsReadAtOnceAndReachesTheFileInOneReplacement)
{
    WriteBytes(home.file(QStringLiteral("Temp.ini")), "[树形框]\n选中位置=2\n[Temp]\nkey=1\n");
    auto io = std::make_shared<WatchedIo>();
    const SettingsStore store = storeWith(io);
    const SettingsStore other(store.path());
    store.writeSoon(keys::kTreeSelection, QStringLiteral("5"));
    store.writeSoon(keys::kLeadDays, QStringLiteral("3"));
    store.writeSoon(keys::kTreeSelection, QStringLiteral(" 7\n"));
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("7"));
    EXPECT_EQ(other.read(keys::kTreeSelection), QStringLiteral("7"));
    EXPECT_EQ(other.read(keys::kLeadDays), QStringLiteral("3"));
    EXPECT_EQ(onDisk(), QStringLiteral("[树形框]\n选中位置=2\n[Temp]\nkey=1\n")) << "written on the UI thread";
    ASSERT_EQ(jobs.size(), 1u) << "one background write for the three values";

    runJobs();
    EXPECT_EQ(io->replacements, 1);
    EXPECT_EQ(onDisk(), QStringLiteral("[树形框]\n选中位置=7\n[Temp]\nkey=1\n[查询几天内到期试块]\n数值=3\n"));
    EXPECT_TRUE(failures.isEmpty());

    WriteBytes(store.path(), "[树形框]\n选中位置=9\n");
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("9"));
    EXPECT_TRUE(store.writeWaiting()) << "nothing waits";
    EXPECT_EQ(io->replacements, 1);
}

// Whatever the order the threads meet in, the file ends with the newest value: a write made
// at once wins over an older waiting one, and a value set again during a background write
// is neither forgotten nor overwritten by it.
TEST_F(SettingsWaitingTest, AnOlderValueNeverReplacesANewerOne)
{
    auto io = std::make_shared<WatchedIo>();
    const SettingsStore store = storeWith(io);
    store.writeSoon(keys::kTreeSelection, QStringLiteral("1"));
    ASSERT_TRUE(store.write(keys::kTreeSelection, QStringLiteral("2")));
    runJobs();
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("2"));
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=2"))) << onDisk().toStdString();

    store.writeSoon(keys::kTreeSelection, QStringLiteral("3"));
    io->duringReplace = [&] { store.writeSoon(keys::kTreeSelection, QStringLiteral("4")); };
    runJobs();
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=3")));
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("4")) << "the value set meanwhile was lost";
    ASSERT_EQ(jobs.size(), 1u) << "the value set meanwhile queued no write of its own";
    runJobs();
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=4")));

    // The same on real threads: many values set while a pool writes them.
    const SettingsStore pooled(store.path());
    QThreadPool pool;
    SettingsStore threaded = pooled;
    threaded.setBackgroundWrites([&pool](std::function<void()> job) { pool.start(std::move(job)); });
    for (int i = 0; i < 200; ++i)
        threaded.writeSoon(keys::kTreeSelection, QString::number(i));
    pool.waitForDone();
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=199\n"))) << onDisk().toStdString();
    EXPECT_EQ(pooled.read(keys::kTreeSelection), QStringLiteral("199"));
}

// A disk that refuses the background write: the clerk is told as for any other write, the
// file keeps every setting it had, and reads give the file's value again. writeWaiting (the
// close) says so as well; without a background thread a waiting write is made at once.
TEST_F(SettingsWaitingTest, AFailedBackgroundWriteIsToldAndTheFileKeepsItsSettings)
{
    const QByteArray original = "[树形框]\n选中位置=2\n[Temp]\nkey=1\n";
    WriteBytes(home.file(QStringLiteral("Temp.ini")), original);
    const SettingsStore store = storeWith(std::make_shared<test::FailingSettingsIo>(1));
    store.writeSoon(keys::kTreeSelection, QStringLiteral("5"));
    runJobs();
    EXPECT_EQ(failures, QStringList{test::FailingSettingsIo::kReason});
    EXPECT_EQ(ReadBytes(store.path()), original);
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("2"));

    store.writeSoon(keys::kTreeSelection, QStringLiteral("6"));
    EXPECT_FALSE(store.writeWaiting());
    EXPECT_EQ(failures.size(), 2);
    EXPECT_EQ(ReadBytes(store.path()), original);

    const SettingsStore direct(store.path());
    direct.writeSoon(keys::kTreeSelection, QStringLiteral("8"));
    EXPECT_TRUE(onDisk().contains(QStringLiteral("选中位置=8")));
}

} // namespace
} // namespace stolvar
