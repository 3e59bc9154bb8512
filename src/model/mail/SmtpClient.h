#pragma once

#include "core/TaskRunner.h"
#include "model/mail/SmtpReply.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSslSocket;
class QSslError;

namespace stolvar {

// How the session is encrypted (邮件配置/加密方式).
enum class SmtpSecurity {
    Auto,       // 自动: TLS from the first byte on ports 465 and 994, else STARTTLS when offered
    Implicit,   // SSL: TLS from the first byte on any port
    StartTls,   // STARTTLS: required; a server that does not offer it is not logged in to
    Plain,      // 不加密: never encrypted
};
QString SmtpSecurityText(SmtpSecurity security);              // 自动, SSL, STARTTLS, 不加密
SmtpSecurity SmtpSecurityFromText(const QString& text);       // anything else: Auto

struct SmtpOptions {
    int replyTimeoutMs = 30000;      // each reply of the dialogue (a provider under load)
    // The reply to the final "." : providers scan the message for spam before they answer.
    int dataReplyTimeoutMs = 120000;
    int connectTimeoutMs = 15000;    // the TCP connection (a slow mobile link)
    int handshakeTimeoutMs = 15000;  // the whole TLS handshake
    SmtpSecurity security = SmtpSecurity::Auto;
    // Raised when the program closes: every wait ends within a tenth of a second.
    StopFlag stop;
    bool allowSelfSigned = false;    // accept a server certificate that signs itself
    // With allowSelfSigned: the SHA-256 fingerprint (hex) of the certificate seen at the
    // first sending; any other certificate is refused. Empty: none pinned yet.
    QByteArray pinnedCertificate;
    bool requireTls = false;         // never log in without TLS
    bool tlsSeenBefore = false;      // the server spoke TLS at an earlier sending
    QString localHostName;           // for EHLO/HELO; empty: this machine's name
    int implicitTlsPort = 465;       // the ports that speak TLS from the first byte (with Auto)
    int secondImplicitTlsPort = 994;
};

// A blocking SMTP client for a worker thread: create, use and destroy it on that one
// thread (it waits on its socket and needs no event loop). Settings come in as arguments.
class SmtpClient
{
public:
    enum class Failure {
        None, Connect, Greeting, Hello, Tls, Certificate, Auth, Mail, Recipient, Data,
        TlsMissing,          // a log-in without TLS was refused (required, or offered before)
        CertificateChanged,  // not the pinned certificate
        // The message went out whole (the final "." was sent) and no reply came in time:
        // the server most likely has it.
        Unconfirmed,
    };

    explicit SmtpClient(SmtpOptions options = {});
    ~SmtpClient();  // says QUIT when still connected
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    // Connects, greets and logs in. The implicit-TLS port speaks TLS from the first byte;
    // elsewhere the session is upgraded when the server offers STARTTLS. With an empty user or
    // password the server is greeted with HELO and no log-in is tried. A log-in without TLS
    // is refused when TLS is required or the server spoke TLS before (a downgrade).
    bool open(const QString& server, int port, const QString& user, const QString& password);
    // MAIL FROM, RCPT TO for each recipient, DATA with `data`, and the closing dot. After
    // the dot was sent, a reply that is lost or late fails with Failure::Unconfirmed.
    bool send(const QString& sender, const QStringList& recipients, const QByteArray& data);
    void quit();

    bool isOpen() const;
    Failure failure() const { return m_failure; }
    QString errorText() const { return m_error; }
    bool isEncrypted() const;
    AuthMethod authMethod() const { return m_auth; }
    // SHA-256 (hex) of the server's certificate; empty without TLS.
    QByteArray certificateFingerprint() const;

private:
    bool connectSocket(const QString& server, int port);
    bool greet(const QString& user, const QString& password);
    bool upgradeToTls(SmtpReply& ehlo);
    bool logIn(AuthMethod method, const QString& user, const QString& password);
    bool waitEncrypted();
    bool checkPinnedCertificate();
    void onSslErrors(const QList<QSslError>& errors);

    bool implicitTls(int port) const;
    bool finishData();
    bool wait(const std::function<bool(int)>& step, int timeoutMs) const;
    template <typename Signal>
    bool waitFor(Signal signal, const std::function<bool()>& done, int timeoutMs);
    bool write(const QByteArray& bytes);
    std::optional<SmtpReply> readReply(int timeoutMs);
    std::optional<SmtpReply> command(const QByteArray& line);
    bool exchange(const QByteArray& line, int expectedCode, Failure failure);
    bool fail(Failure failure, const QString& text);
    bool failAndReset(Failure failure, const QString& text);
    void drop();
    QByteArray helloName() const;

    SmtpOptions m_options;
    std::unique_ptr<QSslSocket> m_socket;
    QByteArray m_buffer;
    Failure m_failure = Failure::None;
    QString m_error;
    QString m_certificateProblem;
    AuthMethod m_auth = AuthMethod::None;
};

} // namespace stolvar
