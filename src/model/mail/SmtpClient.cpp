#include "model/mail/SmtpClient.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QHostInfo>
#include <QEventLoop>
#include <QSslSocket>
#include <QTimer>

#include <algorithm>

namespace stolvar {

namespace {

bool IsSelfSignedProblem(const QSslError& error)
{
    return error.error() == QSslError::SelfSignedCertificate
           || error.error() == QSslError::SelfSignedCertificateInChain;
}

QByteArray Base64Line(const QByteArray& bytes)
{
    return bytes.toBase64() + "\r\n";
}

// Only letters, digits, "-" and "." may follow EHLO; anything else greets as localhost.
bool IsPlainHostName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || c == u'-' || c == u'.'))
            return false;
    }
    return true;
}

constexpr int kWaitSliceMs = 100;
constexpr int kQuitReplyTimeoutMs = 2000;

QString TimedOutOr(const QAbstractSocket& socket)
{
    return socket.error() == QAbstractSocket::UnknownSocketError ? QStringLiteral("Socket operation timed out")
                                                                 : socket.errorString();
}

} // namespace

QString SmtpSecurityText(SmtpSecurity security)
{
    switch (security) {
    case SmtpSecurity::Implicit: return QStringLiteral("SSL");
    case SmtpSecurity::StartTls: return QStringLiteral("STARTTLS");
    case SmtpSecurity::Plain: return QStringLiteral("不加密");
    case SmtpSecurity::Auto: break;
    }
    return QStringLiteral("自动");
}

SmtpSecurity SmtpSecurityFromText(const QString& text)
{
    for (SmtpSecurity s : {SmtpSecurity::Implicit, SmtpSecurity::StartTls, SmtpSecurity::Plain}) {
        if (text.trimmed() == SmtpSecurityText(s))
            return s;
    }
    return SmtpSecurity::Auto;
}

SmtpClient::SmtpClient(SmtpOptions options) : m_options(std::move(options)) {}

SmtpClient::~SmtpClient()
{
    quit();
}

bool SmtpClient::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

bool SmtpClient::isEncrypted() const
{
    return m_socket && m_socket->isEncrypted();
}

QByteArray SmtpClient::certificateFingerprint() const
{
    if (!isEncrypted() || m_socket->peerCertificate().isNull())
        return {};
    return m_socket->peerCertificate().digest(QCryptographicHash::Sha256).toHex();
}

bool SmtpClient::open(const QString& server, int port, const QString& user, const QString& password)
{
    quit();
    m_failure = Failure::None;
    m_error.clear();
    m_auth = AuthMethod::None;
    if (!connectSocket(server, port))
        return false;
    if (!exchange({}, 220, Failure::Greeting))
        return false;
    return greet(user, password);
}

bool SmtpClient::connectSocket(const QString& server, int port)
{
    // The socket registers with this thread's event dispatcher when it is made: a worker
    // thread that has none yet gets one first, for the waits below.
    { QEventLoop ensureDispatcher; }
    m_socket = std::make_unique<QSslSocket>();
    m_buffer.clear();
    m_certificateProblem.clear();
    QObject::connect(m_socket.get(), &QSslSocket::sslErrors, m_socket.get(),
                     [this](const QList<QSslError>& errors) { onSslErrors(errors); });
    const bool implicit = implicitTls(port);
    if (implicit)
        m_socket->connectToHostEncrypted(server, quint16(port));
    else
        m_socket->connectToHost(server, quint16(port));
    const auto connected = [this] { return m_socket->state() == QAbstractSocket::ConnectedState; };
    if (!waitFor(&QAbstractSocket::connected, connected, m_options.connectTimeoutMs))
        return fail(Failure::Connect, TimedOutOr(*m_socket));
    return !implicit || waitEncrypted();
}

bool SmtpClient::implicitTls(int port) const
{
    return m_options.security == SmtpSecurity::Implicit
        || (m_options.security == SmtpSecurity::Auto
            && (port == m_options.implicitTlsPort || port == m_options.secondImplicitTlsPort));
}

// The connection and the handshake: a local event loop until the signal, a failure, the
// limit or the program's closing (Qt's own blocking waits give up the socket at their limit,
// so they cannot be waited in slices).
template <typename Signal>
bool SmtpClient::waitFor(Signal signal, const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer tick;
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(m_socket.get(), signal, &loop, &QEventLoop::quit);
    QObject::connect(m_socket.get(), &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(m_socket.get(), &QAbstractSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (deadline.hasExpired() || (m_options.stop && *m_options.stop))
            loop.quit();
    });
    tick.start(kWaitSliceMs);
    loop.exec();
    return done();
}

// Waits in slices, so that the program's closing ends the wait at once; false when the
// time is up, the socket failed or the program closes.
bool SmtpClient::wait(const std::function<bool(int)>& step, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (m_options.stop && *m_options.stop)
            return false;
        const int slice = int(std::min<qint64>(kWaitSliceMs, std::max<qint64>(deadline.remainingTime(), 0)));
        if (step(slice))
            return true;
        if (deadline.hasExpired() || m_socket->state() == QAbstractSocket::UnconnectedState)
            return false;
    }
}

void SmtpClient::onSslErrors(const QList<QSslError>& errors)
{
    if (m_options.allowSelfSigned && std::all_of(errors.begin(), errors.end(), IsSelfSignedProblem)) {
        m_socket->ignoreSslErrors(errors);
        return;
    }
    m_certificateProblem = errors.isEmpty() ? QString() : errors.first().errorString();
}

bool SmtpClient::waitEncrypted()
{
    if (waitFor(&QSslSocket::encrypted, [this] { return m_socket->isEncrypted(); }, m_options.handshakeTimeoutMs))
        return checkPinnedCertificate();
    if (!m_certificateProblem.isEmpty())
        return fail(Failure::Certificate, m_certificateProblem);
    return fail(m_socket->state() == QAbstractSocket::ConnectedState ? Failure::Tls : Failure::Connect,
                TimedOutOr(*m_socket));
}

// Nothing has been sent over the new session yet: a certificate other than the pinned one
// ends it before the password could travel.
bool SmtpClient::checkPinnedCertificate()
{
    if (!m_options.allowSelfSigned || m_options.pinnedCertificate.isEmpty()
        || certificateFingerprint() == m_options.pinnedCertificate)
        return true;
    drop();
    return fail(Failure::CertificateChanged, QStringLiteral("the server certificate is not the one seen before"));
}

// EHLO and log-in when an account is given; a refused EHLO falls back to HELO without
// log-in, as does an empty user name or password.
bool SmtpClient::greet(const QString& user, const QString& password)
{
    if (user.isEmpty() || password.isEmpty())
        return exchange("HELO " + helloName() + "\r\n", 250, Failure::Hello);
    auto ehlo = command("EHLO " + helloName() + "\r\n");
    if (!ehlo) {
        drop();
        return fail(Failure::Hello, QStringLiteral("no reply to EHLO"));
    }
    if (ehlo->code != 250)
        return exchange("HELO " + helloName() + "\r\n", 250, Failure::Hello);
    const bool wantsStartTls = m_options.security != SmtpSecurity::Plain && !isEncrypted();
    if (wantsStartTls && OffersStartTls(*ehlo) && !upgradeToTls(*ehlo))
        return false;
    if (m_options.security == SmtpSecurity::StartTls && !isEncrypted()) {
        quit();
        return fail(Failure::TlsMissing, QStringLiteral("the server offers no STARTTLS"));
    }
    if (!isEncrypted() && (m_options.requireTls || m_options.tlsSeenBefore)) {
        quit();
        return fail(Failure::TlsMissing, QStringLiteral("the server offers no TLS"));
    }
    return logIn(ChooseAuthMethod(*ehlo), user, password);
}

// STARTTLS, the handshake, and EHLO again: what the server offers may change under TLS.
bool SmtpClient::upgradeToTls(SmtpReply& ehlo)
{
    if (!exchange("STARTTLS\r\n", 220, Failure::Tls))
        return false;
    m_buffer.clear();  // nothing sent before the handshake may be read as a reply after it
    m_socket->startClientEncryption();
    if (!waitEncrypted())
        return false;
    auto again = command("EHLO " + helloName() + "\r\n");
    if (!again || again->code != 250)
        return fail(Failure::Hello, QStringLiteral("EHLO after STARTTLS refused"));
    ehlo = *again;
    return true;
}

bool SmtpClient::logIn(AuthMethod method, const QString& user, const QString& password)
{
    m_auth = method;
    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    bool ok = true;
    if (method == AuthMethod::Login) {
        ok = exchange("AUTH LOGIN\r\n", 334, Failure::Auth) && exchange(Base64Line(userBytes), 334, Failure::Auth)
             && exchange(Base64Line(passwordBytes), 235, Failure::Auth);
    } else if (method == AuthMethod::Plain) {
        ok = exchange("AUTH PLAIN\r\n", 334, Failure::Auth)
             && exchange(Base64Line('\0' + userBytes + '\0' + passwordBytes), 235, Failure::Auth);
    }
    if (!ok && isOpen())
        quit();
    return ok;
}

bool SmtpClient::send(const QString& sender, const QStringList& recipients, const QByteArray& data)
{
    if (!isOpen())
        return fail(Failure::Connect, QStringLiteral("not connected"));
    if (!exchange("MAIL FROM:<" + sender.toUtf8() + ">\r\n", 250, Failure::Mail))
        return failAndReset(Failure::Mail, m_error);
    for (const QString& recipient : recipients) {
        if (!exchange("RCPT TO:<" + recipient.toUtf8() + ">\r\n", 250, Failure::Recipient))
            return failAndReset(Failure::Recipient, m_error);
    }
    if (!exchange("DATA\r\n", 354, Failure::Data))
        return failAndReset(Failure::Data, m_error);
    if (!write(DotStuff(data)))
        return failAndReset(Failure::Data, m_error);
    return finishData();
}

// Once the final "." is out, the message is the server's: a reply lost with the connection
// or later than its limit leaves it unconfirmed, never unsent.
bool SmtpClient::finishData()
{
    if (!write("\r\n.\r\n")) {
        drop();
        return fail(Failure::Data, QStringLiteral("the end of the message could not be sent"));
    }
    const auto reply = readReply(m_options.dataReplyTimeoutMs);
    if (!reply) {
        drop();
        return fail(Failure::Unconfirmed, QStringLiteral("no reply to the end of the message"));
    }
    if (reply->code != 250)
        return failAndReset(Failure::Data, QString::number(reply->code) + u' ' + QString::fromUtf8(reply->lines.join(' ')));
    return true;
}

// The answer to QUIT changes nothing: it is not waited for long.
void SmtpClient::quit()
{
    if (isOpen() && write("QUIT\r\n"))
        readReply(std::min(m_options.replyTimeoutMs, kQuitReplyTimeoutMs));
    drop();
}

void SmtpClient::drop()
{
    if (m_socket)
        m_socket->abort();
    m_socket.reset();
    m_buffer.clear();
}

bool SmtpClient::write(const QByteArray& bytes)
{
    if (!isOpen())
        return false;
    m_socket->write(bytes);
    return wait(
        [this](int ms) {
            if (m_socket->bytesToWrite() > 0)
                m_socket->waitForBytesWritten(ms);
            return m_socket->bytesToWrite() == 0;
        },
        m_options.replyTimeoutMs);
}

std::optional<SmtpReply> SmtpClient::readReply(int timeoutMs)
{
    std::optional<SmtpReply> reply;
    wait(
        [this, &reply](int ms) {
            m_buffer += m_socket->readAll();
            if ((reply = TakeReply(m_buffer)))
                return true;
            m_socket->waitForReadyRead(ms);
            m_buffer += m_socket->readAll();
            return bool(reply = TakeReply(m_buffer));
        },
        timeoutMs);
    return reply;
}

// Sends a line (none for the greeting) and reads the reply.
std::optional<SmtpReply> SmtpClient::command(const QByteArray& line)
{
    if (!m_socket || (!line.isEmpty() && !write(line)))
        return std::nullopt;
    return readReply(m_options.replyTimeoutMs);
}

bool SmtpClient::exchange(const QByteArray& line, int expectedCode, Failure failure)
{
    const auto reply = command(line);
    if (reply && reply->code == expectedCode)
        return true;
    if (!reply) {
        drop();  // a server that stopped answering is not asked anything more
        return fail(failure, QStringLiteral("no reply from the server"));
    }
    // The reply only: the line sent may carry the password.
    return fail(failure, QString::number(reply->code) + u' ' + QString::fromUtf8(reply->lines.join(' ')));
}

bool SmtpClient::fail(Failure failure, const QString& text)
{
    m_failure = failure;
    m_error = text;
    return false;
}

bool SmtpClient::failAndReset(Failure failure, const QString& text)
{
    if (isOpen())
        command("RSET\r\n");
    return fail(failure, text);
}

QByteArray SmtpClient::helloName() const
{
    const QString name = m_options.localHostName.isEmpty() ? QHostInfo::localHostName() : m_options.localHostName;
    return IsPlainHostName(name) ? name.toLatin1() : QByteArrayLiteral("localhost");
}

} // namespace stolvar
