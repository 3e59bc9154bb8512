#pragma once

#include "model/mail/DueNotice.h"

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusPendingCallWatcher;

namespace stolvar {

// Shows a notification through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Without a bus or a service the
// notification is dropped silently: it only repeats what the reminder boxes show.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);

    // The session bus by default; another bus (a private one) when given.
    void useBus(const QDBusConnection& bus);
    // False when there is no bus to send it over.
    bool notify(const DueNotice& notice);

signals:
    // The notification's default action was invoked (the user clicked it).
    void activated();

private slots:
    void onActionInvoked(uint id, const QString& actionKey);

private:
    QDBusConnection bus();
    void listenForActions();
    void onNotifyReply(QDBusPendingCallWatcher* watcher);

    std::optional<QDBusConnection> m_bus;
    bool m_listening = false;
    uint m_lastId = 0;
};

} // namespace stolvar
