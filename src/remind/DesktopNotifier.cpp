#include "remind/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace stolvar {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// The installed icon and desktop entry.
const QString kIconName = QStringLiteral("stolvar");
const QString kDesktopEntry = QStringLiteral("com.example.stolvar");

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

void DesktopNotifier::useBus(const QDBusConnection& bus)
{
    m_bus = bus;
    m_listening = false;
}

// The session bus is looked up only when there is something to show.
QDBusConnection DesktopNotifier::bus()
{
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    return *m_bus;
}

void DesktopNotifier::listenForActions()
{
    if (m_listening)
        return;
    m_listening = bus().connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                SLOT(onActionInvoked(uint, QString)));
}

bool DesktopNotifier::notify(const DueNotice& notice)
{
    if (!bus().isConnected())
        return false;
    listenForActions();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
    call << QStringLiteral("混凝土试块管理") << uint(0) << kIconName << notice.summary << notice.body
         << QStringList{kDefaultAction, QStringLiteral("打开")} << hints << int(-1);
    // Never wait for the service: without one the call simply fails later, unseen.
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::onNotifyReply);
    return true;
}

void DesktopNotifier::onNotifyReply(QDBusPendingCallWatcher* watcher)
{
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isValid())
        m_lastId = reply.value();
    watcher->deleteLater();
}

void DesktopNotifier::onActionInvoked(uint id, const QString& actionKey)
{
    if (id == m_lastId && m_lastId != 0 && actionKey == kDefaultAction)
        emit activated();
}

} // namespace stolvar
