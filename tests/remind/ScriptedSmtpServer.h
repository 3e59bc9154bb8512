#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

namespace stolvar::test {

// A one-connection SMTP server on 127.0.0.1, on a thread of its own so that the blocking
// client under test can run on the test's thread. Each command line is answered by the
// first rule whose prefix it starts with; after a 354 reply the message is collected up
// to the closing dot, which is answered by the rule for ".".
class ScriptedSmtpServer
{
public:
    struct Rule {
        QByteArray prefix;
        QByteArray reply;  // without the final "\r\n"
    };

    static QList<Rule> StandardRules()
    {
        return {{"EHLO", "250-test.local\r\n250-AUTH LOGIN PLAIN\r\n250 OK"},
                {"HELO", "250 test.local"},
                {"MAIL FROM", "250 OK"},
                {"RCPT TO", "250 OK"},
                {"DATA", "354 go ahead"},
                {".", "250 queued"},
                {"RSET", "250 reset"},
                {"QUIT", "221 bye"}};
    }

    // `rules` come before the standard ones; an empty greeting keeps the server silent.
    explicit ScriptedSmtpServer(QList<Rule> rules, QByteArray greeting = "220 test.local ESMTP")
        : m_rules(rules + StandardRules()), m_greeting(std::move(greeting))
    {
        std::promise<quint16> port;
        auto ready = port.get_future();
        m_thread = std::thread([this, &port] { serve(port); });
        m_port = ready.get();
    }
    ~ScriptedSmtpServer() { finish(); }

    quint16 port() const { return m_port; }
    bool accepted() const { return m_accepted; }
    // Waits until the client has gone (or the server gave up), then the record is complete.
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    QList<QByteArray> commands() const
    {
        std::lock_guard lock(m_mutex);
        return m_commands;
    }
    QByteArray message() const
    {
        std::lock_guard lock(m_mutex);
        return m_message;
    }

private:
    void serve(std::promise<quint16>& port)
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        port.set_value(server.serverPort());
        if (!server.waitForNewConnection(5000))
            return;
        std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        m_accepted = true;
        if (!m_greeting.isEmpty())
            send(*socket, m_greeting);
        converse(*socket);
    }

    void converse(QTcpSocket& socket)
    {
        QByteArray buffer;
        bool inData = false;
        while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000)) {
            buffer += socket.readAll();
            for (qsizetype end; (end = buffer.indexOf("\r\n")) >= 0;) {
                const QByteArray line = buffer.left(end);
                buffer.remove(0, end + 2);
                if (!answer(socket, line, inData))
                    return;
            }
        }
    }

    // False when the conversation is over.
    bool answer(QTcpSocket& socket, const QByteArray& line, bool& inData)
    {
        std::lock_guard lock(m_mutex);
        if (inData && line != ".") {
            m_message += line + "\r\n";
            return true;
        }
        inData = false;
        m_commands.append(line);
        const QByteArray reply = replyFor(line);
        send(socket, reply);
        inData = reply.startsWith("354");
        return !line.startsWith("QUIT");
    }

    QByteArray replyFor(const QByteArray& line) const
    {
        for (const Rule& rule : m_rules) {
            if (line.startsWith(rule.prefix))
                return rule.reply;
        }
        return "500 unknown command";
    }

    static void send(QTcpSocket& socket, const QByteArray& reply)
    {
        socket.write(reply + "\r\n");
        socket.waitForBytesWritten(2000);
    }

    QList<Rule> m_rules;
    QByteArray m_greeting;
    quint16 m_port = 0;
    std::atomic<bool> m_accepted{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_commands;
    QByteArray m_message;
    std::thread m_thread;
};

} // namespace stolvar::test
