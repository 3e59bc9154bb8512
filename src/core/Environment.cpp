#include "core/Environment.h"

#include <QCoreApplication>
#include <QDir>

namespace stolvar {

QString Environment::file(const QString& name) const
{
    return QDir(home).filePath(name);
}

QString DefaultProgramFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("STOLVAR_HOME");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    return QCoreApplication::applicationDirPath();
}

} // namespace stolvar
