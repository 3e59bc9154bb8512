#include "core/Environment.h"

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

// The program folder is chosen before Qt starts (the last database starts opening right
// away), when QCoreApplication cannot tell yet: the kernel names the executable.
QString RunningExecutableFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString DefaultProgramFolder(const QString& homeOption)
{
    ProgramFolderChoice choice;
    choice.namedFolder = homeOption.isEmpty() ? qEnvironmentVariable("STOLVAR_HOME") : homeOption;
    choice.executableFolder = RunningExecutableFolder();
    choice.executableFolderWritable = QFileInfo(choice.executableFolder).isWritable();
    choice.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString folder = ChooseProgramFolder(choice);
    if (folder == choice.userDataFolder)
        MakePrivateFolder(folder);
    return folder;
}

} // namespace stolvar
