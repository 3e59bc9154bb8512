#include "core/Environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace stolvar {

QString Environment::file(const QString& name) const
{
    return QDir(home).filePath(name);
}

QString ChooseProgramFolder(const ProgramFolderChoice& choice)
{
    if (!choice.namedFolder.isEmpty())
        return QDir(choice.namedFolder).absolutePath();
    if (choice.executableFolderWritable || choice.userDataFolder.isEmpty())
        return choice.executableFolder;
    return choice.userDataFolder;
}

bool MakePrivateFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    return QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString DefaultProgramFolder(const QString& homeOption)
{
    ProgramFolderChoice choice;
    choice.namedFolder = homeOption.isEmpty() ? qEnvironmentVariable("STOLVAR_HOME") : homeOption;
    choice.executableFolder = QCoreApplication::applicationDirPath();
    choice.executableFolderWritable = QFileInfo(choice.executableFolder).isWritable();
    choice.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString folder = ChooseProgramFolder(choice);
    if (folder == choice.userDataFolder)
        MakePrivateFolder(folder);
    return folder;
}

} // namespace stolvar
