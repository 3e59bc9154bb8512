#pragma once

#include <QObject>
#include <QUrl>

#include <functional>

class QLabel;

namespace stolvar {

struct AppContext;

// The update check of the main window: fetches the announcement page in the background
// and shows the outcome in its status bar part and, for a newer release, a message box.
class VersionController : public QObject
{
    Q_OBJECT
public:
    VersionController(AppContext& context, QLabel* statusPart, QObject* parent = nullptr);

    // Runs after every weather run that reached the network.
    void check();
    // "下载新版本": the page in the browser; without one, its address to copy.
    void openPage();
    // What opens a web address (the desktop's browser); tests replace it.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

private:
    AppContext& m_ctx;
    QLabel* m_statusPart;
    std::function<bool(const QUrl&)> m_openUrl;
};

} // namespace stolvar
