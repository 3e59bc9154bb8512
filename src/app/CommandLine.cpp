#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace stolvar {

namespace {

const char* const kVersion = STOLVAR_VERSION;

QString VersionText()
{
    return QStringLiteral("stolvar ") + QString::fromLatin1(kVersion) + u'\n';
}

CommandLine Print(const QString& text, int exitCode)
{
    CommandLine result;
    result.action = CommandLine::Action::Print;
    result.text = text;
    result.exitCode = exitCode;
    return result;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("混凝土试块管理：试块登记、温度记录与到期提醒。"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示本帮助并退出。"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("显示版本号并退出。"));
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("程序文件夹（Temp.ini、工程数据库、邮箱设置），同环境变量 STOLVAR_HOME。"),
                                  QStringLiteral("FOLDER"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(home);
    if (!parser.parse(arguments))
        return Print(parser.errorText() + u'\n', 2);
    if (parser.isSet(help))
        return Print(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("stolvar")), 0);
    if (parser.isSet(version))
        return Print(VersionText(), 0);
    if (!parser.positionalArguments().isEmpty())
        return Print(QStringLiteral("未知参数：") + parser.positionalArguments().join(u' ') + u'\n', 2);
    CommandLine result;
    result.home = parser.value(home);
    return result;
}

QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace stolvar
