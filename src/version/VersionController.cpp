#include "version/VersionController.h"

#include "net/Network.h"
#include "ui/AppContext.h"
#include "version/VersionDisplay.h"

#include <QWidget>

namespace stolvar {

VersionController::VersionController(AppContext& context, QLabel* statusPart, QObject* parent)
    : QObject(parent), m_ctx(context), m_statusPart(statusPart)
{
}

void VersionController::check()
{
    const QUrl page = ReadNetworkAddresses(m_ctx.settings).versionPage;
    const QString title = m_ctx.window->windowTitle();
    m_ctx.tasks.run(
        this,
        [page, title, stop = m_ctx.tasks.stopFlag()] {
            return CheckLatestVersion(page, title, kVersionPageTimeoutMs, stop);
        },
        [this](const VersionOutcome& outcome) {
            ApplyVersionOutcome(outcome, m_statusPart, m_ctx.messages(), m_ctx.window);
        });
}

void VersionController::openPage()
{
    const QUrl page = ReadNetworkAddresses(m_ctx.settings).versionPage;
    const bool opened = m_openUrl ? m_openUrl(page) : OpenVersionPage(page);
    if (!opened)
        m_ctx.messages().show(m_ctx.window, NoBrowserText(page), Messages::DefaultTitle(), Messages::Icon::Information);
}

} // namespace stolvar
