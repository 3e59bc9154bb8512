#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <unistd.h>

#include <utility>

namespace stolvar {

namespace {

const QByteArray kShowRequest = "show\n";

// The canonical path, so that a folder reached through a link or with a trailing slash
// is the same folder.
QString CanonicalFolder(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir(folder).absolutePath() : canonical;
}

bool IsServing(const QString& serverName)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    return socket.waitForConnected(500);
}

void ShowAndRaise(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, Listening listening, QObject* parent)
    : QObject(parent), m_serverName(ServerName(programFolder)),
      m_lock(QDir(programFolder).filePath(LockFileName()))
{
    // A running program may hold its lock for weeks: only a dead owner makes it stale.
    m_lock.setStaleLockTime(0);
    m_primary = m_lock.tryLock(0);
    if (listening == Listening::Now)
        startListening();
}

void SingleInstance::startListening()
{
    if (std::exchange(m_started, true))
        return;
    if (!m_primary && m_lock.error() != QLockFile::LockFailedError)
        m_primary = !IsServing(m_serverName);   // a folder that takes no lock file: the socket alone tells
    if (m_primary)
        listen();
}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::ServerName(const QString& programFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalFolder(programFolder).toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("stolvar-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(24)));
}

void SingleInstance::listen()
{
    // No running program owns the name: a socket left by a killed one is ours to replace.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(m_serverName);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

void SingleInstance::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kShowRequest))
                emit showRequested();
        });
    }
}

bool SingleInstance::askRunningToShow(int timeoutMs) const
{
    // The running program may be so young that it does not listen yet: try again briefly.
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kShowRequest);
            const bool sent = socket.waitForBytesWritten(int(deadline.remainingTime()));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::raiseOnRequest(QWidget* window)
{
    connect(this, &SingleInstance::showRequested, window, [window] { ShowAndRaise(window); });
}

void SingleInstance::release()
{
    if (m_server)
        m_server->close();
    if (m_lock.isLocked())
        m_lock.unlock();
}

} // namespace stolvar
