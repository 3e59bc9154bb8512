#include "core/Environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

TEST(ProgramFolder, NamedFolderThenWritableExecutableFolderThenUserData)
{
    const struct {
        const char* named;
        bool writable;
        const char* expected;
    } cases[] = {
        {"/srv/site", false, "/srv/site"},   // --home or STOLVAR_HOME wins over both
        {"/srv/site", true, "/srv/site"},
        {"", true, "/opt/stolvar"},          // a copied, portable program keeps its files beside it
        {"", false, "/home/clerk/.local/share/stolvar"},   // installed in a folder not ours
    };
    for (const auto& c : cases) {
        ProgramFolderChoice choice;
        choice.namedFolder = QString::fromUtf8(c.named);
        choice.executableFolder = QStringLiteral("/opt/stolvar");
        choice.executableFolderWritable = c.writable;
        choice.userDataFolder = QStringLiteral("/home/clerk/.local/share/stolvar");
        EXPECT_EQ(ChooseProgramFolder(choice), QString::fromUtf8(c.expected)) << c.named << c.writable;
    }
}

TEST(ProgramFolder, RelativeNamedFolderBecomesAbsolute)
{
    ProgramFolderChoice choice;
    choice.namedFolder = QStringLiteral("site");
    EXPECT_EQ(ChooseProgramFolder(choice), QDir::current().absoluteFilePath(QStringLiteral("site")));
}

TEST(ProgramFolder, UserDataFolderIsCreatedForItsOwnerOnly)
{
    QTemporaryDir base;
    const QString folder = base.filePath(QStringLiteral("share/stolvar"));
    ASSERT_TRUE(MakePrivateFolder(folder));
    const QFileInfo info(folder);
    ASSERT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_TRUE(info.permissions() & QFile::WriteOwner);
    EXPECT_TRUE(MakePrivateFolder(folder));   // an existing folder is fine
}

// The folder is found before Qt starts; it must be the one Qt names once it runs.
TEST(ProgramFolder, ExecutableFolderFoundBeforeQtIsTheOneQtNames)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(RunningExecutableFolder(), QCoreApplication::applicationDirPath());
    EXPECT_TRUE(QFileInfo(RunningExecutableFolder()).isDir());
}

} // namespace
} // namespace stolvar
