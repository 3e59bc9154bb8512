#include "model/mail/SmtpClient.h"

#include "support/ScriptedSmtpServer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace stolvar {
namespace {

using test::ScriptedSmtpServer;
using Rules = QList<ScriptedSmtpServer::Rule>;

SmtpOptions FastOptions()
{
    SmtpOptions options;
    options.replyTimeoutMs = 400;
    options.localHostName = QStringLiteral("clerk-pc");
    return options;
}

QByteArray B64(const QByteArray& bytes)
{
    return bytes.toBase64();
}

struct LogInCase {
    const char* name;
    Rules rules;
    QString user;
    QString password;
    bool opens;
    AuthMethod method;
    QList<QByteArray> commands;  // as the server saw them, QUIT included
};

TEST(SmtpClient, GreetsAndLogsInAsTheServerAllows)
{
    const QString user = QStringLiteral("clerk");
    const QString password = QStringLiteral("pa55");
    const QByteArray login[] = {"EHLO clerk-pc", "AUTH LOGIN", B64("clerk"), B64("pa55")};
    const LogInCase cases[] = {
        {"LOGIN preferred", {{"EHLO", "250-x\r\n250 AUTH PLAIN LOGIN"}, {B64("clerk"), "334 UGFzc3dvcmQ6"}, {B64("pa55"), "235 ok"}, {"AUTH LOGIN", "334 VXNlcm5hbWU6"}},
         user, password, true, AuthMethod::Login, {login[0], login[1], login[2], login[3], "QUIT"}},
        {"only AUTH=LOGIN", {{"EHLO", "250-x\r\n250 AUTH=LOGIN"}, {"AUTH LOGIN", "334 VXNlcm5hbWU6"},
                             {B64("clerk"), "334 UGFzc3dvcmQ6"}, {B64("pa55"), "235 ok"}},
         user, password, true, AuthMethod::Login, {login[0], login[1], login[2], login[3], "QUIT"}},
        {"only PLAIN", {{"EHLO", "250-x\r\n250-SIZE 100\r\n250 AUTH PLAIN"}, {"AUTH PLAIN", "334 "},
                        {B64(QByteArray("\0clerk\0pa55", 11)), "235 ok"}},
         user, password, true, AuthMethod::Plain, {"EHLO clerk-pc", "AUTH PLAIN", B64(QByteArray("\0clerk\0pa55", 11)), "QUIT"}},
        {"no AUTH offered", {{"EHLO", "250-x\r\n250 SIZE 100"}}, user, password, true, AuthMethod::None,
         {"EHLO clerk-pc", "QUIT"}},
        {"EHLO refused", {{"EHLO", "502 not here"}}, user, password, true, AuthMethod::None,
         {"EHLO clerk-pc", "HELO clerk-pc", "QUIT"}},
        {"empty password", {}, user, QString(), true, AuthMethod::None, {"HELO clerk-pc", "QUIT"}},
        {"empty user", {}, QString(), password, true, AuthMethod::None, {"HELO clerk-pc", "QUIT"}},
        {"password refused", {{"AUTH LOGIN", "334 VXNlcm5hbWU6"}, {B64("clerk"), "334 UGFzc3dvcmQ6"}, {B64("pa55"), "535 no"}},
         user, password, false, AuthMethod::Login, {login[0], login[1], login[2], login[3], "QUIT"}},
        {"AUTH refused at once", {{"AUTH LOGIN", "504 no"}}, user, password, false, AuthMethod::Login,
         {login[0], login[1], "QUIT"}},
        {"HELO refused", {{"HELO", "550 go away"}}, user, QString(), false, AuthMethod::None, {"HELO clerk-pc", "QUIT"}},
    };
    for (const LogInCase& c : cases) {
        ScriptedSmtpServer server(c.rules);
        {
            SmtpClient client(FastOptions());
            EXPECT_EQ(client.open(QStringLiteral("127.0.0.1"), server.port(), c.user, c.password), c.opens) << c.name;
            EXPECT_EQ(client.authMethod(), c.method) << c.name;
        }
        server.finish();
        EXPECT_EQ(server.commands(), c.commands) << c.name;
    }
}

TEST(SmtpClient, GivesUpOnASilentServerAfterTheTimeout)
{
    ScriptedSmtpServer server({}, QByteArray());
    SmtpClient client(FastOptions());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(client.open(QStringLiteral("127.0.0.1"), server.port(), {}, {}));
    EXPECT_LT(timer.elapsed(), 1500);
    EXPECT_GE(timer.elapsed(), 350);
    EXPECT_FALSE(client.isOpen());
}

TEST(SmtpClient, SendsTheTransactionAndEndsTheDataWithADot)
{
    ScriptedSmtpServer server({});
    SmtpClient client(FastOptions());
    ASSERT_TRUE(client.open(QStringLiteral("127.0.0.1"), server.port(), {}, {}));
    const QByteArray data = "Subject: x\r\n\r\n.starts with a dot\r\nbody\r\n";
    ASSERT_TRUE(client.send(QStringLiteral("me@x.cn"), {QStringLiteral("a@x.cn"), QStringLiteral("b@x.cn")}, data));
    client.quit();
    server.finish();
    const QList<QByteArray> expected = {"HELO clerk-pc", "MAIL FROM:<me@x.cn>", "RCPT TO:<a@x.cn>",
                                        "RCPT TO:<b@x.cn>", "DATA", ".", "QUIT"};
    EXPECT_EQ(server.commands(), expected);
    // The dot-stuffed line and the empty line before the closing dot.
    EXPECT_EQ(server.message(), QByteArray("Subject: x\r\n\r\n..starts with a dot\r\nbody\r\n\r\n"));
}

TEST(SmtpClient, ResetsAfterARefusalAndStopsAtTheFirstRefusedRecipient)
{
    const struct {
        const char* name;
        Rules rules;
        SmtpClient::Failure failure;
        QList<QByteArray> commands;
    } cases[] = {
        {"second recipient refused", {{"RCPT TO:<b@", "550 no such user"}}, SmtpClient::Failure::Recipient,
         {"HELO clerk-pc", "MAIL FROM:<me@x.cn>", "RCPT TO:<a@x.cn>", "RCPT TO:<b@x.cn>", "RSET", "QUIT"}},
        {"sender refused", {{"MAIL FROM", "553 no"}}, SmtpClient::Failure::Mail,
         {"HELO clerk-pc", "MAIL FROM:<me@x.cn>", "RSET", "QUIT"}},
        {"message refused", {{".", "554 spam"}}, SmtpClient::Failure::Data,
         {"HELO clerk-pc", "MAIL FROM:<me@x.cn>", "RCPT TO:<a@x.cn>", "RCPT TO:<b@x.cn>", "RCPT TO:<c@x.cn>", "DATA",
          ".", "RSET", "QUIT"}},
    };
    for (const auto& c : cases) {
        ScriptedSmtpServer server(c.rules);
        {
            SmtpClient client(FastOptions());
            ASSERT_TRUE(client.open(QStringLiteral("127.0.0.1"), server.port(), {}, {})) << c.name;
            EXPECT_FALSE(client.send(QStringLiteral("me@x.cn"),
                                     {QStringLiteral("a@x.cn"), QStringLiteral("b@x.cn"), QStringLiteral("c@x.cn")}, "x\r\n"))
                << c.name;
            EXPECT_EQ(client.failure(), c.failure) << c.name;
        }
        server.finish();
        EXPECT_EQ(server.commands(), c.commands) << c.name;
    }
}

// The reply to STARTTLS decides: anything but 220 ends the log-in before the handshake,
// and nothing (above all no password) is sent in the clear after it.
TEST(SmtpClient, AStartTlsRefusalEndsTheLogIn)
{
    ScriptedSmtpServer server(Rules{{"STARTTLS", "454 TLS not available now"}} + ScriptedSmtpServer::StartTlsRules());
    {
        SmtpClient client(FastOptions());
        EXPECT_FALSE(client.open(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("clerk"), QStringLiteral("pa55")));
        EXPECT_EQ(client.failure(), SmtpClient::Failure::Tls);
    }
    server.finish();
    EXPECT_EQ(server.commands(), QList<QByteArray>({"EHLO clerk-pc", "STARTTLS", "QUIT"}));
}

SmtpOptions SelfSignedOptions()
{
    SmtpOptions options = FastOptions();
    options.allowSelfSigned = true;
    return options;
}

struct TlsCase {
    const char* name;
    ScriptedSmtpServer::Tls tls;
    SmtpOptions options;
    bool opens;
    SmtpClient::Failure failure;
};

// Encryption before the log-in: the handshake has its own limit (a slow link may take far
// longer than one reply), and with self-signed certificates allowed only the certificate
// pinned at the first sending is accepted.
TEST(SmtpClient, EncryptsBeforeLoggingInAndChecksThePinnedCertificate)
{
    SmtpOptions pinnedFirst = SelfSignedOptions();
    pinnedFirst.pinnedCertificate = ScriptedSmtpServer::Fingerprint("first");
    SmtpOptions pinnedSecond = SelfSignedOptions();
    pinnedSecond.pinnedCertificate = ScriptedSmtpServer::Fingerprint("second");
    SmtpOptions shortHandshake = SelfSignedOptions();
    shortHandshake.handshakeTimeoutMs = 300;
    const TlsCase cases[] = {
        {"STARTTLS, self-signed allowed", {}, SelfSignedOptions(), true, SmtpClient::Failure::None},
        {"self-signed refused", {}, FastOptions(), false, SmtpClient::Failure::Certificate},
        {"the pinned certificate", {}, pinnedFirst, true, SmtpClient::Failure::None},
        {"another certificate than the pinned one", {}, pinnedSecond, false, SmtpClient::Failure::CertificateChanged},
        {"TLS from the first byte, another certificate", {"first", true, 0}, pinnedSecond, false,
         SmtpClient::Failure::CertificateChanged},
        {"slow handshake, longer than a reply may take", {"first", false, 900}, SelfSignedOptions(), true,
         SmtpClient::Failure::None},
        {"slow handshake, TLS from the first byte", {"first", true, 900}, SelfSignedOptions(), true,
         SmtpClient::Failure::None},
        {"handshake longer than its own limit", {"first", false, 900}, shortHandshake, false, SmtpClient::Failure::Tls},
    };
    for (const TlsCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSmtpServer server(Rules{{B64("clerk"), "334 UGFzc3dvcmQ6"}, {B64("pa55"), "235 ok"}} + ScriptedSmtpServer::StartTlsRules(),
                                  "220 test.local ESMTP", c.tls);
        SmtpOptions options = c.options;
        if (c.tls.implicit)
            options.implicitTlsPort = server.port();
        {
            SmtpClient client(options);
            EXPECT_EQ(client.open(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("clerk"), QStringLiteral("pa55")),
                      c.opens);
            EXPECT_EQ(client.failure(), c.failure);
            if (c.opens) {
                EXPECT_TRUE(client.isEncrypted());
                EXPECT_EQ(client.certificateFingerprint(), ScriptedSmtpServer::Fingerprint("first"));
            }
        }
        server.finish();
        const QList<QByteArray> commands = server.commands();
        // The password went only over TLS, and only to the right server.
        EXPECT_EQ(commands.contains(B64("pa55")), c.opens);
        if (c.opens) {
            EXPECT_GE(server.encryptedCommands(), 4);   // EHLO, AUTH LOGIN, user, password
        }
    }
}

// A server that spoke TLS before but offers no STARTTLS now may be a man in the middle
// stripping it: no log-in. With 要求加密 no log-in goes without TLS at all. A server that
// never offered TLS, or a sending without an account, goes on as before.
TEST(SmtpClient, RefusesToLogInWithoutTlsAfterADowngradeOrWhenRequired)
{
    SmtpOptions seenBefore = FastOptions();
    seenBefore.tlsSeenBefore = true;
    SmtpOptions required = FastOptions();
    required.requireTls = true;
    const Rules plainLogIn = {{"AUTH LOGIN", "334 VXNlcm5hbWU6"}, {B64("clerk"), "334 UGFzc3dvcmQ6"}, {B64("pa55"), "235 ok"}};
    const struct {
        const char* name;
        SmtpOptions options;
        QString password;
        bool opens;
        QList<QByteArray> commands;
    } cases[] = {
        {"downgrade", seenBefore, QStringLiteral("pa55"), false, {"EHLO clerk-pc", "QUIT"}},
        {"TLS required", required, QStringLiteral("pa55"), false, {"EHLO clerk-pc", "QUIT"}},
        {"never offered TLS", FastOptions(), QStringLiteral("pa55"), true,
         {"EHLO clerk-pc", "AUTH LOGIN", B64("clerk"), B64("pa55"), "QUIT"}},
        {"no account, TLS required", required, QString(), true, {"HELO clerk-pc", "QUIT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSmtpServer server(plainLogIn);
        {
            SmtpClient client(c.options);
            EXPECT_EQ(client.open(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("clerk"), c.password), c.opens);
            EXPECT_EQ(client.failure(), c.opens ? SmtpClient::Failure::None : SmtpClient::Failure::TlsMissing);
        }
        server.finish();
        EXPECT_EQ(server.commands(), c.commands);
    }
}

// A listener whose accept queue is full: the kernel drops a new connection's SYN and the
// client retries it about a second later, as on a slow link. The queue is freed after
// 400 ms; then the server greets, answers HELO and QUIT.
class SlowToConnectServer
{
public:
    SlowToConnectServer()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(m_listener, 0);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_filler = ::socket(AF_INET, SOCK_STREAM, 0);   // takes the one place in the queue
        ::connect(m_filler, reinterpret_cast<sockaddr*>(&address), size);
        m_thread = std::thread([this] { serve(); });
    }
    ~SlowToConnectServer()
    {
        m_thread.join();
        ::close(m_filler);
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }

private:
    void serve()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ::close(::accept(m_listener, nullptr, nullptr));   // the filler's place is free again
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 2500) != 1)
            return;   // the client gave up
        const int client = ::accept(m_listener, nullptr, nullptr);
        talk(client, "220 slow.local ESMTP\r\n");
        for (const char* reply : {"250 ok\r\n", "221 bye\r\n"}) {
            char line[512];
            pollfd readable{client, POLLIN, 0};
            if (::poll(&readable, 1, 5000) != 1 || ::read(client, line, sizeof line) <= 0)
                break;
            talk(client, reply);
        }
        ::close(client);
    }
    static void talk(int socket, const char* text) { (void)!::write(socket, text, std::strlen(text)); }

    int m_listener = -1;
    int m_filler = -1;
    quint16 m_port = 0;
    std::thread m_thread;
};

// Each reply may take 2 s (here 300 ms), but the connection has a limit of its own.
TEST(SmtpClient, ASlowConnectionIsGivenItsOwnLimit)
{
    for (const int connectLimitMs : {300, SmtpOptions().connectTimeoutMs}) {
        SCOPED_TRACE(connectLimitMs);
        SlowToConnectServer server;
        SmtpOptions options = FastOptions();
        options.replyTimeoutMs = 300;
        options.connectTimeoutMs = connectLimitMs;
        QElapsedTimer timer;
        timer.start();
        SmtpClient client(options);
        const bool opened = client.open(QStringLiteral("127.0.0.1"), server.port(), {}, {});
        EXPECT_EQ(opened, connectLimitMs > 300) << client.errorText().toStdString();
        EXPECT_EQ(client.failure(), opened ? SmtpClient::Failure::None : SmtpClient::Failure::Connect);
        EXPECT_GE(timer.elapsed(), 300);
    }
}

} // namespace
} // namespace stolvar
