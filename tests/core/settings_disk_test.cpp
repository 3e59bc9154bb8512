#include "core/Gbk.h"
#include "core/SettingsStore.h"
#include "support/FileBytes.h"
#include "support/FullDisk.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>

// Temp.ini on a bad disk: a write that fails at any of its steps leaves the old file as it
// was and no temporary file behind; a file in two encodings and an oversized file are read
// without destroying them.
namespace stolvar {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const QByteArray kOriginal = "[数据库文件名]\n文件名=/home/材料员/一号楼.dat\n[查询几天内到期试块]\n数值=3\n";

enum class Step { Write, Flush, Sync, Close, Rename };

// The real file system, but one step of every replacement fails with `error` (after the
// real step ran, so that a close still closes).
class StepFailingIo : public SettingsFileIo
{
public:
    StepFailingIo(Step step, int error) : m_step(step), m_error(error) {}

protected:
    int writeBytes(std::FILE* f, const QByteArray& b) const override { return fail(Step::Write, SettingsFileIo::writeBytes(f, b)); }
    int flushFile(std::FILE* f) const override { return fail(Step::Flush, SettingsFileIo::flushFile(f)); }
    int syncFile(std::FILE* f) const override { return fail(Step::Sync, SettingsFileIo::syncFile(f)); }
    int closeFile(std::FILE* f) const override { return fail(Step::Close, SettingsFileIo::closeFile(f)); }
    int renameFile(const QString& from, const QString& to) const override
    {
        return m_step == Step::Rename ? m_error : SettingsFileIo::renameFile(from, to);
    }

private:
    int fail(Step step, int real) const { return step == m_step ? m_error : real; }
    Step m_step;
    int m_error;
};

class SettingsDiskTest : public ::testing::Test
{
protected:
    SettingsStore storeWith(std::shared_ptr<const SettingsFileIo> io)
    {
        SettingsStore store(home.file(QStringLiteral("Temp.ini")), std::move(io));
        store.setWriteFailureHandler([this](const QString&, const QString& reason) { reasons.append(reason); });
        return store;
    }
    QStringList folderEntries() const
    {
        QStringList entries = QDir(home.path()).entryList(QDir::Files | QDir::Hidden);
        entries.sort();
        return entries;
    }

    test::TempHome home;
    QStringList reasons;
};

TEST_F(SettingsDiskTest, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const struct {
        Step step;
        int error;
        const char* reason;
    } cases[] = {
        {Step::Write, EIO, "写入失败：磁盘读写错误"},   {Step::Flush, ENOSPC, "磁盘已满"},
        {Step::Flush, EIO, "写入失败：磁盘读写错误"},   {Step::Sync, EIO, "同步到磁盘失败：磁盘读写错误"},
        {Step::Sync, ENOSPC, "磁盘已满"},               {Step::Close, EDQUOT, "关闭文件失败：磁盘配额已用完"},
        {Step::Rename, EACCES, "替换文件失败：没有写入权限"},
    };
    for (const auto& c : cases) {
        WriteBytes(home.file("Temp.ini"), kOriginal);
        reasons.clear();
        const SettingsStore store = storeWith(std::make_shared<StepFailingIo>(c.step, c.error));
        EXPECT_FALSE(store.write(keys::kLeadDays, QStringLiteral("5"))) << c.reason;
        EXPECT_EQ(ReadBytes(store.path()), kOriginal) << c.reason;
        EXPECT_EQ(folderEntries(), QStringList{"Temp.ini"}) << c.reason;
        EXPECT_EQ(reasons, QStringList{QString::fromUtf8(c.reason)});
        EXPECT_EQ(store.read(keys::kLeadDays), "3");
    }
    // The same store on a sound disk writes, and leaves only the file itself.
    const SettingsStore sound = storeWith({});
    EXPECT_TRUE(sound.write(keys::kLeadDays, QStringLiteral("5")));
    EXPECT_EQ(sound.read(keys::kDatabaseFile), QStringLiteral("/home/材料员/一号楼.dat"));
    EXPECT_EQ(folderEntries(), QStringList{"Temp.ini"});
}

// A UTF-8 file in which an old editor saved one comment in GBK: every key reads, and a
// write gives back the whole file in UTF-8, the comment as its own characters.
TEST_F(SettingsDiskTest, AUtf8FileWithAGbkLineReadsAndIsWrittenBackAsUtf8)
{
    const QByteArray mixed = "; " + EncodeGbk(QStringLiteral("工地办公室的电脑")) + "\r\n"
                             + QStringLiteral("[数据库文件名]\r\n文件名=/home/材料员/一号楼.dat\r\n").toUtf8();
    WriteBytes(home.file("Temp.ini"), mixed);
    const SettingsStore store = storeWith({});
    EXPECT_EQ(store.read(keys::kDatabaseFile), QStringLiteral("/home/材料员/一号楼.dat"));
    ASSERT_TRUE(store.write(keys::kLeadDays, QStringLiteral("4")));
    const QByteArray written = ReadBytes(store.path());
    ASSERT_TRUE(IsValidUtf8(written));
    EXPECT_EQ(QString::fromUtf8(written), QStringLiteral("; 工地办公室的电脑\r\n[数据库文件名]\r\n文件名=/home/材料员/一号楼.dat\r\n"
                                                         "[查询几天内到期试块]\r\n数值=4\r\n"));
    // A file in GBK alone still reads as GBK, its plain ASCII lines included.
    WriteBytes(home.file("Temp.ini"), "[a]\nx=1\n" + EncodeGbk(QStringLiteral("[天气配置]\n地区=郑州\n")));
    EXPECT_EQ(store.read(keys::kWeatherCity), QStringLiteral("郑州"));
    EXPECT_EQ(store.read("a", "x"), "1");
}

TEST_F(SettingsDiskTest, AFileOverOneMegabyteIsNeitherReadNorWritten)
{
    QByteArray large = kOriginal;
    large.append(QByteArray(SettingsFileIo::kMaxFileBytes, ';'));
    WriteBytes(home.file("Temp.ini"), large);
    const SettingsStore store = storeWith({});
    EXPECT_TRUE(store.isTooLarge());
    EXPECT_EQ(store.read(keys::kLeadDays, QStringLiteral("默认")), QStringLiteral("默认"));
    EXPECT_FALSE(store.write(keys::kLeadDays, QStringLiteral("7")));
    EXPECT_EQ(ReadBytes(store.path()), large);
    EXPECT_EQ(reasons, QStringList{QStringLiteral("文件超过1 MB，未读取也未改写")});

    WriteBytes(home.file("Temp.ini"), kOriginal);
    EXPECT_FALSE(store.isTooLarge());
    EXPECT_EQ(store.read(keys::kLeadDays), "3");

    // A file of just the limit is read to its last byte.
    QByteArray full(SettingsFileIo::kMaxFileBytes - kOriginal.size() - 1, ';');
    full.append('\n').append(kOriginal);
    ASSERT_EQ(full.size(), SettingsFileIo::kMaxFileBytes);
    WriteBytes(home.file("Temp.ini"), full);
    EXPECT_FALSE(store.isTooLarge());
    EXPECT_EQ(store.read(keys::kLeadDays), "3");
}

TEST_F(SettingsDiskTest, ARealFullDiskKeepsTheFileAndSaysTheDiskIsFull)
{
    test::FullDisk disk(home.path());
    if (!disk.mounted())
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    WriteBytes(home.file("Temp.ini"), kOriginal);
    disk.fill();
    const SettingsStore store = storeWith({});
    EXPECT_FALSE(store.write(keys::kWeatherCity, QString(3000, u'郑')));
    EXPECT_EQ(ReadBytes(store.path()), kOriginal);
    EXPECT_EQ(folderEntries(), (QStringList{"Temp.ini", "filler"}));
    EXPECT_EQ(reasons, QStringList{QStringLiteral("磁盘已满")});
    QFile::remove(home.file("filler"));
    EXPECT_TRUE(store.write(keys::kWeatherCity, QStringLiteral("郑州")));
}

} // namespace
} // namespace stolvar
