#include "core/AutoStart.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace stolvar {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool IsSameFolder(const QString& a, const QString& b)
{
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

} // namespace

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

// Inside the quotes ", `, $ and \ take a backslash; the Exec value is then a string
// value of its own, whose escaping doubles every backslash; % starts a field code and
// is written %%.
QString DesktopExecQuote(const QString& argument)
{
    QString quoted;
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    QString value;
    for (QChar c : u'"' + quoted + u'"') {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

QString AutoStartCommand(const QString& executablePath, const QString& programFolder)
{
    const QString program = DesktopExecQuote(QFileInfo(executablePath).absoluteFilePath());
    if (programFolder.isEmpty() || IsSameFolder(programFolder, QFileInfo(executablePath).absolutePath()))
        return program;
    const QString folder = QDir(programFolder).absolutePath();
    return QStringLiteral("env ") + DesktopExecQuote(QStringLiteral("STOLVAR_HOME=") + folder) + u' ' + program;
}

bool RegisterAutoStart(const QString& executablePath, const QString& programFolder, QString* error)
{
    const QFileInfo target(executablePath);
    if (!target.isFile() || target.fileName().isEmpty()) {
        SetError(error, QStringLiteral("找不到程序文件：") + QDir::toNativeSeparators(executablePath));
        return false;
    }
    if (!QDir().mkpath(AutoStartFolder())) {
        SetError(error, QStringLiteral("无法创建文件夹：") + QDir::toNativeSeparators(AutoStartFolder()));
        return false;
    }
    const QString path = AutoStartEntryPath(executablePath);
    QSaveFile file(path);
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(target.fileName(), AutoStartCommand(executablePath, programFolder));
    const QByteArray bytes = entry.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        SetError(error, QStringLiteral("无法写入启动项：") + QDir::toNativeSeparators(path) + QStringLiteral("（")
                            + file.errorString() + QStringLiteral("）"));
        return false;
    }
    return true;
}

bool RemoveAutoStart(const QString& executablePath)
{
    return QFile::remove(AutoStartEntryPath(executablePath));
}

} // namespace stolvar
