#include "version/VersionCheck.h"

#include "core/Gbk.h"
#include "ui/MainWidgets.h"
#include "core/Messages.h"
#include "net/Network.h"
#include "core/PatternMatcher.h"

#include <QDesktopServices>
#include <QLabel>

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

void ApplyVersionOutcome(const VersionOutcome& outcome, MainWidgets& ui, Messages& messages,
                         QWidget* parent)
{
    if (outcome.silent())
        return;
    // The announced version is text from a web page: never read as markup.
    if (QLabel* part = ui.statusParts[kVersionPart]) {
        part->setTextFormat(Qt::PlainText);
        part->setText(outcome.statusText);
    }
    if (outcome.showBox)
        messages.show(parent, outcome.boxText);
}

void OpenVersionPage(const QUrl& versionPage)
{
    QDesktopServices::openUrl(versionPage);
}

} // namespace stolvar
