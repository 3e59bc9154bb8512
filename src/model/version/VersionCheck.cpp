#include "model/version/VersionCheck.h"

#include "core/Gbk.h"
#include "core/PatternMatcher.h"
#include "net/Network.h"

namespace stolvar {

QString ReadAnnouncedVersion(const QByteArray& utf8Page)
{
    if (!IsValidUtf8(utf8Page))
        return {};
    PatternMatcher matcher;
    if (!matcher.Search(QStringLiteral("(最新版本号\\：(.*?))</p>"), QString::fromUtf8(utf8Page)))
        return {};
    return matcher.SubMatchText(1, 2);
}

VersionOutcome CompareVersion(const QString& title, const QString& announced)
{
    if (announced.isEmpty())
        return {};
    if (announced == title)
        return {QStringLiteral("您当前使用的是最新版！") + title, false, {}};
    return {QStringLiteral("软件有新版本，请更新到最新版！") + announced, true,
            QStringLiteral("软件有新版本:") + announced + QStringLiteral("请更注意更新！")};
}

VersionOutcome CheckLatestVersion(const QUrl& versionPage, const QString& title, int timeoutMs,
                                  const StopFlag& stop)
{
    FetchOptions options;
    options.timeoutMs = timeoutMs;
    options.stop = stop;
    return CompareVersion(title, ReadAnnouncedVersion(FetchPage(versionPage, options)));
}

} // namespace stolvar
