#pragma once

#include <QObject>

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
    // "下载新版本".
    void openPage();

private:
    AppContext& m_ctx;
    QLabel* m_statusPart;
};

} // namespace stolvar
