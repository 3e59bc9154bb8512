#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

namespace stolvar::test {

// A one-connection SMTP server on 127.0.0.1, on a thread of its own so that the blocking
// client under test can run on the test's thread. Each command line is answered by the
// first rule whose prefix it starts with; after a 354 reply the message is collected up
// to the closing dot, which is answered by the rule for ".".
// With a certificate the server speaks TLS: from the first byte, or after a "220" reply to
// STARTTLS (a rule for STARTTLS with another reply leaves the session plain).
class ScriptedSmtpServer
{
public:
    struct Rule {
        QByteArray prefix;
        QByteArray reply;  // without the final "\r\n"
    };

    struct Tls {
        const char* name = "first";  // tests/data/tls/<name>.pem and .key (self-signed)
        bool implicit = false;       // TLS from the first byte
        int handshakeDelayMs = 0;    // a slow link: the server answers the handshake late
    };

    // A server that offers STARTTLS as well as AUTH.
    static QList<Rule> StartTlsRules()
    {
        return {{"EHLO", "250-test.local\r\n250-STARTTLS\r\n250-AUTH LOGIN PLAIN\r\n250 OK"},
                {"STARTTLS", "220 go ahead"},
                {"AUTH LOGIN", "334 VXNlcm5hbWU6"}};
    }

    // AUTH LOGIN accepted for one account.
    static QList<Rule> LoginRules(const QByteArray& user, const QByteArray& password)
    {
        return {{"AUTH LOGIN", "334 VXNlcm5hbWU6"}, {user.toBase64(), "334 UGFzc3dvcmQ6"}, {password.toBase64(), "235 ok"}};
    }

    static QByteArray Fingerprint(const char* name)
    {
        return Certificate(name).digest(QCryptographicHash::Sha256).toHex();
    }

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
    explicit ScriptedSmtpServer(QList<Rule> rules, QByteArray greeting = "220 test.local ESMTP",
                                std::optional<Tls> tls = std::nullopt)
        : m_rules(rules + StandardRules()), m_greeting(std::move(greeting)), m_tls(tls)
    {
        std::promise<quint16> port;
        auto ready = port.get_future();
        m_thread = std::thread([this, &port] { serve(port); });
        m_port = ready.get();
    }
    ~ScriptedSmtpServer() { finish(); }

    quint16 port() const { return m_port; }
    bool accepted() const { return m_accepted; }
    // Commands that arrived over TLS.
    int encryptedCommands() const { return m_encryptedCommands; }
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
    // Hands out QSslSocket connections, plain until encryption is started.
    class Listener : public QTcpServer
    {
    protected:
        void incomingConnection(qintptr descriptor) override
        {
            auto* socket = new QSslSocket(this);
            socket->setSocketDescriptor(descriptor);
            addPendingConnection(socket);
        }
    };

    static QByteArray DataFile(const char* name, const char* suffix)
    {
        QFile file(QStringLiteral(STOLVAR_TEST_DATA "/tls/") + QString::fromLatin1(name) + QString::fromLatin1(suffix));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QSslCertificate Certificate(const char* name) { return QSslCertificate(DataFile(name, ".pem")); }

    void serve(std::promise<quint16>& port)
    {
        Listener server;
        server.listen(QHostAddress::LocalHost, 0);
        port.set_value(server.serverPort());
        if (!server.waitForNewConnection(5000))
            return;
        std::unique_ptr<QSslSocket> socket(qobject_cast<QSslSocket*>(server.nextPendingConnection()));
        socket->setParent(nullptr);
        m_accepted = true;
        if (m_tls && m_tls->implicit && !encrypt(*socket))
            return;
        if (!m_greeting.isEmpty())
            send(*socket, m_greeting);
        converse(*socket);
    }

    bool encrypt(QSslSocket& socket)
    {
        socket.setLocalCertificate(Certificate(m_tls->name));
        socket.setPrivateKey(QSslKey(DataFile(m_tls->name, ".key"), QSsl::Ec));
        std::this_thread::sleep_for(std::chrono::milliseconds(m_tls->handshakeDelayMs));
        socket.startServerEncryption();
        return socket.waitForEncrypted(5000);
    }

    void converse(QSslSocket& socket)
    {
        QByteArray buffer;
        bool inData = false;
        // Bytes may already wait (decrypted during the handshake): read them before waiting.
        while (socket.state() == QAbstractSocket::ConnectedState
               && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(5000))) {
            buffer += socket.readAll();
            for (qsizetype end; (end = buffer.indexOf("\r\n")) >= 0;) {
                const QByteArray line = buffer.left(end);
                buffer.remove(0, end + 2);
                if (!answer(socket, line, inData))
                    return;
                if (startsTls(line) && (!encrypt(socket) || !buffer.isEmpty()))
                    return;   // a failed handshake, or commands sent before it
            }
        }
    }

    bool startsTls(const QByteArray& line) const
    {
        return m_tls && !m_tls->implicit && line.startsWith("STARTTLS") && replyFor(line).startsWith("220");
    }

    // False when the conversation is over.
    bool answer(QSslSocket& socket, const QByteArray& line, bool& inData)
    {
        std::lock_guard lock(m_mutex);
        if (inData && line != ".") {
            m_message += line + "\r\n";
            return true;
        }
        inData = false;
        m_commands.append(line);
        m_encryptedCommands += socket.isEncrypted() ? 1 : 0;
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
    std::optional<Tls> m_tls;
    std::atomic<int> m_encryptedCommands{0};
    quint16 m_port = 0;
    std::atomic<bool> m_accepted{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_commands;
    QByteArray m_message;
    std::thread m_thread;
};

} // namespace stolvar::test
