#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <mutex>

namespace stolvar::test {

// A small HTTP/1.0 server on 127.0.0.1 running in a thread of its own, so that code
// under test may block the test thread while it fetches. Serves fixed bodies by path
// (404 for any other) and records every request; a silent server never answers.
class LocalHttpServer
{
public:
    struct Request {
        QByteArray line;                       // "GET /path?query HTTP/1.1"
        QMap<QByteArray, QByteArray> headers;  // names in lower case
        QByteArray target() const { return line.split(' ').value(1); }
    };

    explicit LocalHttpServer(bool silent = false) : m_silent(silent)
    {
        m_thread.start();
        m_anchor.moveToThread(&m_thread);
        QMetaObject::invokeMethod(&m_anchor, [this] { listen(); }, Qt::BlockingQueuedConnection);
    }
    ~LocalHttpServer()
    {
        QMetaObject::invokeMethod(&m_anchor, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    void setPage(const QByteArray& path, const QByteArray& body, const QByteArray& status = "200 OK")
    {
        const std::lock_guard guard(m_mutex);
        m_pages[path] = body;
        m_statuses[path] = status;
    }
    // Requests to `path` get no answer at all (a service that hangs).
    void setHanging(const QByteArray& path)
    {
        const std::lock_guard guard(m_mutex);
        m_hanging.insert(path);
    }
    // Without Content-Length the client learns the length only as the body arrives.
    void setSendLength(bool send)
    {
        const std::lock_guard guard(m_mutex);
        m_sendLength = send;
    }
    QUrl url(const QString& path = {}) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }
    QList<Request> requests() const
    {
        const std::lock_guard guard(m_mutex);
        return m_requests;
    }
    QList<Request> requestsTo(const QByteArray& path) const
    {
        QList<Request> found;
        for (const Request& r : requests())
            if (r.target().split('?').value(0) == path)
                found.append(r);
        return found;
    }

private:
    void listen()
    {
        m_server = new QTcpServer;
        m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
        QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
            while (QTcpSocket* socket = m_server->nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
        });
    }

    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const Request request = Parse(buffer.left(end));
        buffer.clear();
        record(request);
        if (!m_silent && !hangs(request))
            answer(socket, request);
    }

    static Request Parse(const QByteArray& head)
    {
        const QList<QByteArray> lines = head.split('\n');
        Request request{lines.value(0).trimmed(), {}};
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
        }
        return request;
    }

    bool hangs(const Request& request) const
    {
        const std::lock_guard guard(m_mutex);
        return m_hanging.contains(request.target().split('?').value(0));
    }

    void record(const Request& request)
    {
        const std::lock_guard guard(m_mutex);
        m_requests.append(request);
    }

    void answer(QTcpSocket* socket, const Request& request)
    {
        const QByteArray path = request.target().split('?').value(0);
        QByteArray status = "200 OK";
        QByteArray body;
        bool sendLength = true;
        {
            const std::lock_guard guard(m_mutex);
            if (m_pages.contains(path)) {
                body = m_pages[path];
                status = m_statuses.value(path, status);
            } else
                status = "404 Not Found";
            sendLength = m_sendLength;
        }
        const QByteArray length = sendLength ? "Content-Length: " + QByteArray::number(body.size()) + "\r\n" : QByteArray();
        socket->write("HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n" + length + "Connection: close\r\n\r\n"
                      + body);
        socket->disconnectFromHost();
    }

    bool m_silent;
    QThread m_thread;
    QObject m_anchor;
    QTcpServer* m_server = nullptr;          // lives in m_thread
    QHash<QTcpSocket*, QByteArray> m_buffers;  // m_thread only
    quint16 m_port = 0;
    mutable std::mutex m_mutex;
    QMap<QByteArray, QByteArray> m_pages;
    QMap<QByteArray, QByteArray> m_statuses;
    QSet<QByteArray> m_hanging;
    bool m_sendLength = true;
    QList<Request> m_requests;
};

} // namespace stolvar::test
