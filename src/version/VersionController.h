#pragma once

#include <QObject>

namespace stolvar {

struct AppContext;

// The update check of the main window: fetches the announcement page in the background
// and shows the outcome in status part 5 and, for a newer release, a message box.
class VersionController : public QObject
{
    Q_OBJECT
public:
    explicit VersionController(AppContext& context, QObject* parent = nullptr);

    // Runs after every weather run that reached the network.
    void check();
    // "下载新版本".
    void openPage();

private:
    AppContext& m_ctx;
};

} // namespace stolvar
