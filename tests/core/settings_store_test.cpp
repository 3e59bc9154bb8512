#include "core/Gbk.h"
#include "core/SettingsStore.h"
#include "support/FileBytes.h"
#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class SettingsStoreTest : public ::testing::Test
{
protected:
    test::TempHome home;
    SettingsStore store = home.settings();
};

TEST_F(SettingsStoreTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt)
{
    EXPECT_EQ(store.read(keys::kDatabaseFile, QStringLiteral("文件名")), QStringLiteral("文件名"));
    EXPECT_FALSE(store.readBool(keys::kAutoCollect));
    ASSERT_TRUE(store.write(keys::kLeadDays, QString()));
    EXPECT_EQ(store.read(keys::kLeadDays, QStringLiteral("默认")), QString());   // present but empty
    EXPECT_EQ(QString::fromUtf8(ReadBytes(store.path())), QStringLiteral("[查询几天内到期试块]\n数值=\n"));
}

TEST_F(SettingsStoreTest, ReadsGbkFilesWithCrlfAndKeepsEveryOtherLineOnWrite)
{
    const QString original = QStringLiteral("; 注释\r\n[数据库文件名]\r\n文件名=D:\\工程\\一号楼.dat\r\n\r\n"
                                            "[树形框]\r\n选中位置=6\r\ngarbage line\r\n选中位置=9\r\n");
    WriteBytes(store.path(), EncodeGbk(original));
    EXPECT_EQ(store.read(keys::kDatabaseFile), QStringLiteral("D:\\工程\\一号楼.dat"));
    EXPECT_EQ(store.read(keys::kTreeSelection), QStringLiteral("6"));   // the first of duplicate keys

    ASSERT_TRUE(store.write(keys::kTreeSelection, QStringLiteral("3")));
    ASSERT_TRUE(store.write(keys::kDatabaseFolder, QStringLiteral("/home/材料员")));
    const QString written = QString::fromUtf8(ReadBytes(store.path()));
    EXPECT_EQ(written, QStringLiteral("; 注释\r\n[数据库文件名]\r\n文件名=D:\\工程\\一号楼.dat\r\n\r\n"
                                      "[树形框]\r\n选中位置=3\r\ngarbage line\r\n选中位置=9\r\n"
                                      "[数据库]\r\n路径=/home/材料员\r\n"));
}

TEST_F(SettingsStoreTest, Utf8WithBomAndNewKeyInExistingSection)
{
    WriteBytes(store.path(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("[字号配置]\n标题字号 = 18 \n\n[颜色配置]\n颜色1=255\n").toUtf8());
    EXPECT_EQ(store.read(keys::kTitleFontSize), QStringLiteral("18"));
    ASSERT_TRUE(store.write(keys::kTableFontSize, QStringLiteral("10")));
    EXPECT_EQ(QString::fromUtf8(ReadBytes(store.path())),
              QStringLiteral("[字号配置]\n标题字号 = 18 \n表格字号=10\n\n[颜色配置]\n颜色1=255\n"));
}

// A hand-edited file may mix CRLF and LF: a written key must still be the one read.
TEST_F(SettingsStoreTest, MixedLineEndsKeepEveryLineAndTheWrittenValueReads)
{
    WriteBytes(store.path(), "[a]\r\nx=1\n[树形框]\n选中位置=6\r\ny=2\r\n");
    ASSERT_TRUE(store.write(keys::kTreeSelection, "9"));
    EXPECT_EQ(store.read(keys::kTreeSelection), "9");
    EXPECT_EQ(store.read("a", "x"), "1");
    EXPECT_EQ(store.read(keys::kTreeSelection.sectionText(), "y"), "2");
    EXPECT_EQ(QString::fromUtf8(ReadBytes(store.path())).count("[树形框]"), 1);
}

TEST_F(SettingsStoreTest, ValuesCannotBreakTheFileAndBooleansAreExact)
{
    ASSERT_TRUE(store.write(keys::kWeatherCity, QStringLiteral("郑州\n[选择框1配置]\n1状态=真")));
    EXPECT_FALSE(store.readBool(keys::kAutoCollect));
    store.write(keys::kAutoCollect, SettingsStore::BoolText(true));
    store.write(keys::kAutoMail, QStringLiteral("true"));
    EXPECT_TRUE(store.readBool(keys::kAutoCollect));
    EXPECT_FALSE(store.readBool(keys::kAutoMail));
}

TEST_F(SettingsStoreTest, BinaryGarbageReadsWithoutCrashing)
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) & 0xFF));
    WriteBytes(store.path(), junk);
    EXPECT_EQ(store.read(keys::kLeadDays, QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(store.write(keys::kLeadDays, QStringLiteral("7")));
    EXPECT_EQ(store.read(keys::kLeadDays), QStringLiteral("7"));
}

TEST(Gbk, RoundTripAndIncompleteEncoding)
{
    bool complete = false;
    const QByteArray bytes = EncodeGbk(QStringLiteral("郑州 abc"), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(bytes, QByteArray("\xD6\xA3\xD6\xDD abc"));
    EXPECT_EQ(DecodeGbk(bytes), QStringLiteral("郑州 abc"));
    EncodeGbk(QStringLiteral("a😀b"), &complete);
    EXPECT_FALSE(complete);
}

} // namespace
} // namespace stolvar
