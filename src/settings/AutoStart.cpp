#include "settings/AutoStart.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace stolvar {

QString AutoStartFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("autostart"));
}

QString AutoStartEntryPath(const QString& executablePath)
{
    // Only the file name of the executable is used, so the entry cannot leave the folder.
    const QString name = QFileInfo(executablePath).fileName();
    return QDir(AutoStartFolder()).filePath(name + QStringLiteral(".desktop"));
}

QString DesktopExecQuote(const QString& path)
{
    QString quoted;
    for (QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return u'"' + quoted + u'"';
}

bool RegisterAutoStart(const QString& executablePath)
{
    const QFileInfo target(executablePath);
    if (!target.isFile() || target.fileName().isEmpty())
        return false;
    if (!QDir().mkpath(AutoStartFolder()))
        return false;
    QSaveFile file(AutoStartEntryPath(executablePath));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(target.fileName(), DesktopExecQuote(target.absoluteFilePath()));
    file.write(entry.toUtf8());
    return file.commit();
}

bool RemoveAutoStart(const QString& executablePath)
{
    return QFile::remove(AutoStartEntryPath(executablePath));
}

} // namespace stolvar
