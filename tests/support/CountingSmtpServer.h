#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace stolvar::test {

// An SMTP server on 127.0.0.1 that takes any number of connections, one after another,
// accepts every message and counts them; for tests that run the program as a process.
// `dotReplyDelayMs` holds back the reply to the final "." as a provider scanning for spam
// does; kNeverReply keeps it back for good (the message is counted all the same).
class CountingSmtpServer
{
public:
    static constexpr int kNeverReply = -1;

    explicit CountingSmtpServer(int dotReplyDelayMs = 0) : m_dotReplyDelayMs(dotReplyDelayMs)
    {
        std::promise<quint16> port;
        auto ready = port.get_future();
        m_thread = std::thread([this, &port] { serve(port); });
        m_port = ready.get();
    }
    ~CountingSmtpServer()
    {
        m_stop = true;
        m_thread.join();
    }

    quint16 port() const { return m_port; }
    int messages() const { return m_messages; }
    int connections() const { return m_connections; }

private:
    void serve(std::promise<quint16>& port)
    {
        QTcpServer server;
        std::vector<std::unique_ptr<QTcpSocket>> held;
        server.listen(QHostAddress::LocalHost, 0);
        port.set_value(server.serverPort());
        while (!m_stop) {
            if (!server.waitForNewConnection(50))
                continue;
            std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
            ++m_connections;
            if (!converse(*socket))
                held.push_back(std::move(socket));   // open and silent, as a stalled server
        }
    }

    // False when the connection is to stay open without another word.
    bool converse(QTcpSocket& socket)
    {
        reply(socket, "220 test.local ESMTP");
        QByteArray buffer;
        bool inData = false;
        while (!m_stop && socket.state() == QAbstractSocket::ConnectedState) {
            if (!socket.waitForReadyRead(50))
                continue;
            buffer += socket.readAll();
            for (qsizetype end; (end = buffer.indexOf("\r\n")) >= 0;) {
                const QByteArray line = buffer.left(end);
                buffer.remove(0, end + 2);
                if (inData) {
                    if (line == ".") {
                        inData = false;
                        ++m_messages;
                        if (!holdBack())
                            return false;
                        reply(socket, "250 queued");
                    }
                    continue;
                }
                if (line.startsWith("DATA")) {
                    inData = true;
                    reply(socket, "354 go ahead");
                } else if (line.startsWith("QUIT")) {
                    reply(socket, "221 bye");
                    return true;
                } else {
                    reply(socket, line.startsWith("EHLO") ? "250-test.local\r\n250 OK" : "250 OK");
                }
            }
        }
        return true;
    }

    // False when the reply is never to come.
    bool holdBack()
    {
        if (m_dotReplyDelayMs == kNeverReply)
            return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_dotReplyDelayMs);
        while (!m_stop && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    }

    static void reply(QTcpSocket& socket, const QByteArray& text)
    {
        socket.write(text + "\r\n");
        socket.waitForBytesWritten(1000);
    }

    const int m_dotReplyDelayMs;
    std::thread m_thread;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_messages{0};
    std::atomic<int> m_connections{0};
};

} // namespace stolvar::test
