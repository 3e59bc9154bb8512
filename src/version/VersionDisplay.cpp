#include "version/VersionDisplay.h"

#include "core/Messages.h"

#include <QDesktopServices>
#include <QLabel>

namespace stolvar {

void ApplyVersionOutcome(const VersionOutcome& outcome, QLabel* statusPart, Messages& messages, QWidget* parent)
{
    if (outcome.silent())
        return;
    // The announced version is text from a web page: never read as markup.
    statusPart->setTextFormat(Qt::PlainText);
    statusPart->setText(outcome.statusText);
    if (outcome.showBox)
        messages.show(parent, outcome.boxText);
}

bool OpenVersionPage(const QUrl& versionPage)
{
    return QDesktopServices::openUrl(versionPage);
}

QString NoBrowserText(const QUrl& versionPage)
{
    return QStringLiteral("未能打开浏览器，请复制以下地址到浏览器中打开：\n") + versionPage.toString();
}

} // namespace stolvar
