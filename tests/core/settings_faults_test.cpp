#include "core/SettingsStore.h"
#include "core/TaskRunner.h"
#include "support/FailingSettingsIo.h"
#include "support/FileBytes.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace stolvar {
namespace {

using test::ReadBytes;

// Section and key names compare without regard to case, in reading and in assigning.
TEST(SettingsNames, SectionAndKeyMatchWhateverTheirCase)
{
    const QString text = QStringLiteral("[mail]\nfontsize=12\nother=1\n");
    QString value;
    ASSERT_TRUE(ini::Lookup(text, QStringLiteral("Mail"), QStringLiteral("FontSize"), &value));
    EXPECT_EQ(value, QStringLiteral("12"));
    EXPECT_FALSE(ini::Lookup(text, QStringLiteral("Mailx"), QStringLiteral("FontSize"), &value));
    EXPECT_EQ(ini::Assign(text, QStringLiteral("MAIL"), QStringLiteral("FONTSIZE"), QStringLiteral("14")),
              QStringLiteral("[mail]\nFONTSIZE=14\nother=1\n"));
    EXPECT_EQ(ini::Assign(text, QStringLiteral("Mail"), QStringLiteral("Colour"), QStringLiteral("red")),
              QStringLiteral("[mail]\nfontsize=12\nother=1\nColour=red\n"));
}

class SettingsFaultTest : public ::testing::Test
{
protected:
    SettingsStore storeWith(std::shared_ptr<const SettingsFileIo> io)
    {
        SettingsStore store(home.file(QStringLiteral("Temp.ini")), std::move(io));
        store.setWriteFailureHandler([this](const QString& path, const QString& reason) {
            failures.append(path);
            reasons.append(reason);
        });
        return store;
    }

    test::TempHome home;
    QStringList failures;
    QStringList reasons;
};

TEST_F(SettingsFaultTest, AFileThatCannotBeReadIsNeverReplaced)
{
    const QByteArray original = "[Temp]\nkey=1\n[邮件配置]\n发信域名=site.example\n";
    QFile file(home.file(QStringLiteral("Temp.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    auto io = std::make_shared<test::FailingSettingsIo>(0, true);
    const SettingsStore store = storeWith(io);
    EXPECT_FALSE(store.write(keys::kLeadDays, QStringLiteral("3")));
    EXPECT_EQ(io->writes(), 0) << "the file was replaced";
    EXPECT_EQ(ReadBytes(store.path()), original);
    EXPECT_EQ(failures, QStringList{store.path()});
}

// Every write of a sequence fails in turn (and every one after it): each failure is
// reported with the path, and the file keeps every write acknowledged before it.
TEST_F(SettingsFaultTest, AFailureAtEveryWriteInTurnLosesNothingAcknowledged)
{
    const std::vector<std::pair<keys::Key, QString>> writes = {
        {keys::kAutoCollect, QStringLiteral("真")}, {keys::kLeadDays, QStringLiteral("3")},
        {keys::kMailDay, QStringLiteral("2017年5月10日")}, {keys::kWeatherCity, QStringLiteral("北京")},
        {keys::kAutoMail, QStringLiteral("假")}};
    const QString absent = QStringLiteral("(absent)");
    for (size_t failing = 1; failing <= writes.size(); ++failing) {
        QFile::remove(home.file(QStringLiteral("Temp.ini")));
        failures.clear();
        const SettingsStore store = storeWith(std::make_shared<test::FailingSettingsIo>(int(failing)));
        for (size_t i = 0; i < writes.size(); ++i) {
            const bool acknowledged = i + 1 < failing;
            EXPECT_EQ(store.write(writes[i].first, writes[i].second), acknowledged)
                << "write " << i + 1 << ", failing from " << failing;
            for (size_t j = 0; j <= i; ++j)
                EXPECT_EQ(store.read(writes[j].first, absent), j + 1 < failing ? writes[j].second : absent)
                    << "key " << j + 1 << " after write " << i + 1 << ", failing from " << failing;
        }
        EXPECT_EQ(failures.size(), qsizetype(writes.size() - failing + 1));
        for (const QString& path : failures)
            EXPECT_EQ(path, store.path());
    }
}

// The owner, group and other bits (Qt also reports the running user's own as "user").
QFileDevice::Permissions Mode(const QString& path)
{
    return QFile::permissions(path) & QFileDevice::Permissions(0x7077);
}

TEST_F(SettingsFaultTest, ANewFileIsForItsOwnerOnlyAndAnOldOneKeepsItsMode)
{
    const SettingsStore store = storeWith({});
    ASSERT_TRUE(store.write(keys::kLeadDays, QStringLiteral("3")));
    EXPECT_EQ(Mode(store.path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(store.path(), shared));
    ASSERT_TRUE(store.write(keys::kLeadDays, QStringLiteral("4")));
    EXPECT_EQ(Mode(store.path()), shared);
    EXPECT_EQ(store.read(keys::kLeadDays), QStringLiteral("4"));
    EXPECT_TRUE(failures.isEmpty());
}

// A value the file holds already is not written again: the file keeps its bytes (here
// GBK, as an older program wrote it), and a disk that takes no writes reports no failure.
TEST_F(SettingsFaultTest, AValueTheFileHoldsIsNotWrittenAgain)
{
    QFile file(home.file(QStringLiteral("Temp.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray gbk = "[\xca\xf7\xd0\xce\xbf\xf2]\n\xd1\xa1\xd6\xd0\xce\xbb\xd6\xc3=12\n";   // [树形框] 选中位置=12
    file.write(gbk);
    file.close();
    auto io = std::make_shared<test::FailingSettingsIo>(0);
    const SettingsStore store = storeWith(io);
    ASSERT_EQ(store.read(keys::kTreeSelection), QStringLiteral("12"));
    EXPECT_TRUE(store.write(keys::kTreeSelection, QStringLiteral("12")));
    EXPECT_EQ(io->writes(), 0);
    EXPECT_EQ(ReadBytes(store.path()), gbk);
    EXPECT_TRUE(store.write(keys::kTreeSelection, QStringLiteral("13")));
    EXPECT_EQ(io->writes(), 1);
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("13"));

    const SettingsStore readOnlyDisk = storeWith(std::make_shared<test::FailingSettingsIo>(1));
    EXPECT_TRUE(readOnlyDisk.write(keys::kTreeSelection, QStringLiteral("13")));
    EXPECT_FALSE(readOnlyDisk.write(keys::kTreeSelection, QStringLiteral("14")));
    EXPECT_EQ(failures, QStringList{store.path()});
}

TEST(TaskRunnerStop, NoWorkStartsAndNoResultIsAppliedAfterStop)
{
    TaskRunner tasks;
    QObject context;
    int applied = 0;
    tasks.run(&context, [] { return 1; }, [&](int) { ++applied; });
    tasks.waitForDone();   // its result waits for the event loop
    tasks.stop();
    bool ran = false;
    tasks.run(&context, [&] { ran = true; return 2; }, [&](int) { ++applied; });
    tasks.waitForDone();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_EQ(applied, 0);
    EXPECT_TRUE(tasks.stopFlag()->load());
}

} // namespace
} // namespace stolvar
