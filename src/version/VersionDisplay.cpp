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

void OpenVersionPage(const QUrl& versionPage)
{
    QDesktopServices::openUrl(versionPage);
}

} // namespace stolvar
