#include "model/mail/MailSender.h"

#include "core/Conversions.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Sends reminder mails to an SMTP server written by others (Python's aiosmtpd), on
// 127.0.0.1, and reads back what it received through Python's email package.
namespace stolvar {
namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
constexpr int kNoAiosmtpd = 3;
constexpr int kNoCryptography = 4;

// Beside this file; __FILE__ may be relative to the build folder, which is not the
// folder ctest runs the test in, so the path is taken from the absolute test-data folder.
QString SinkScript()
{
    // __FILE__ may be relative to the build folder; the test data folder is absolute.
    return QDir(QStringLiteral(STOLVAR_TEST_DATA "/../support")).absoluteFilePath(QStringLiteral("smtp_sink.py"));
}

// The sink process: started with its arguments, stopped when the object goes.
class SmtpSink
{
public:
    explicit SmtpSink(const QStringList& arguments)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(kPython, QStringList{SinkScript()} + arguments);
        const QDeadlineTimer deadline(15000);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("READY "))
            m_port = quint16(line.mid(6).toUInt());
        else
            m_failure = QString::fromUtf8(m_process.readAllStandardError());
    }
    ~SmtpSink()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
    quint16 port() const { return m_port; }
    bool lacksAiosmtpd() const { return m_process.state() == QProcess::NotRunning && m_process.exitCode() == kNoAiosmtpd; }
    QString failure() const { return m_failure; }

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_failure;
};

struct LiveCase {
    const char* name;
    QStringList sinkArguments;
    bool allowSelfSigned;
    MailOutcome outcome;
    const char* mechanism;  // what the server saw; null: no mail expected
    bool tls;
};

class LiveSmtp : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_certError = MakeCertificate(s_dir->filePath(QStringLiteral("cert.pem")), s_dir->filePath(QStringLiteral("key.pem")));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    // Empty when made; else why not.
    static QString MakeCertificate(const QString& cert, const QString& key)
    {
        QProcess p;
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (!openssl.isEmpty()) {
            p.start(openssl, {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                              QStringLiteral("-nodes"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                              QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
                              QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-keyout"), key,
                              QStringLiteral("-out"), cert});
        } else {
            p.start(kPython, {SinkScript(), QStringLiteral("--make-cert"), QStringLiteral("--cert"), cert,
                              QStringLiteral("--key"), key});
        }
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            return p.exitCode() == kNoCryptography ? QStringLiteral("neither openssl nor Python cryptography is present")
                                                   : QStringLiteral("certificate generation failed");
        }
        return {};
    }

    static QStringList TlsArguments(const char* mode)
    {
        return {QStringLiteral("--mode"), QString::fromLatin1(mode), QStringLiteral("--cert"),
                s_dir->filePath(QStringLiteral("cert.pem")), QStringLiteral("--key"), s_dir->filePath(QStringLiteral("key.pem"))};
    }

    void run(const LiveCase& c);

    static QTemporaryDir* s_dir;
    static QString s_certError;
};

QTemporaryDir* LiveSmtp::s_dir = nullptr;
QString LiveSmtp::s_certError;

MailRequest LiveRequest(quint16 port)
{
    MailRequest r;
    r.settings = {QStringLiteral("127.0.0.1"), port, QStringLiteral("clerk"), QStringLiteral("secret"),
                  QStringLiteral("a@x.cn; 王工 <c@x.cn>")};
    r.texts = {QStringLiteral("工程名称：一号楼\r\n"), QStringLiteral("同养：1\r\n"), QStringLiteral("拆模 ok\r\n")};
    r.dueDate = WallTime(QDate(2024, 5, 29));
    r.senderDomain = QStringLiteral("site.example");
    r.localTime = WallTime(QDate(2024, 5, 26), QTime(10, 0));
    r.utcOffsetSeconds = 8 * 3600;
    return r;
}

void LiveSmtp::run(const LiveCase& c)
{
    const QString out = s_dir->filePath(QStringLiteral("received-%1.json").arg(QString::fromLatin1(c.name)));
    SmtpSink sink(QStringList{QStringLiteral("--out"), out} + c.sinkArguments);
    if (sink.lacksAiosmtpd())
        GTEST_SKIP() << "aiosmtpd is not installed for /usr/bin/python3";
    ASSERT_NE(sink.port(), 0) << qPrintable(sink.failure());

    SmtpOptions options;
    options.replyTimeoutMs = 5000;
    options.allowSelfSigned = c.allowSelfSigned;
    options.implicitTlsPort = c.sinkArguments.contains(QStringLiteral("implicit")) ? sink.port() : 465;
    const MailResult result = SendReminderMail(LiveRequest(sink.port()), options);
    EXPECT_EQ(result.outcome, c.outcome) << qPrintable(result.detail);
    if (!c.mechanism) {
        EXPECT_EQ(result.statusText, QStringLiteral("未连接到SMTP服务器!（服务器证书未通过验证）"));
        EXPECT_FALSE(QFile::exists(out));
        return;
    }
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject got = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(got[QStringLiteral("subject")].toString(), QStringLiteral("您有试块将于2024年5月29日到期，请做好送检准备。"));
    const QJsonArray to = got[QStringLiteral("to")].toArray();
    ASSERT_EQ(to.size(), 2);
    EXPECT_EQ(to[0].toVariant().toStringList(), (QStringList{QString(), QStringLiteral("a@x.cn")}));
    EXPECT_EQ(to[1].toVariant().toStringList(), (QStringList{QStringLiteral("王工"), QStringLiteral("c@x.cn")}));
    EXPECT_EQ(got[QStringLiteral("body")].toString(), QStringLiteral("工程名称：一号楼\r\n同养：1\r\n拆模 ok\r\n"));
    EXPECT_EQ(got[QStringLiteral("charset")].toString(), QStringLiteral("gb2312"));
    EXPECT_TRUE(got[QStringLiteral("message_id")].toString().endsWith(QStringLiteral("@site.example>")))
        << got[QStringLiteral("message_id")].toString().toStdString();
    EXPECT_LE(got[QStringLiteral("longest_header_line")].toInt(), 76);
    EXPECT_EQ(got[QStringLiteral("mail_from")].toString(), QStringLiteral("clerk@site.example"));
    EXPECT_EQ(got[QStringLiteral("rcpt_tos")].toVariant().toStringList(),
              (QStringList{QStringLiteral("a@x.cn"), QStringLiteral("c@x.cn")}));
    EXPECT_EQ(got[QStringLiteral("mechanism")].toString(), QString::fromLatin1(c.mechanism));
    EXPECT_EQ(got[QStringLiteral("tls")].toBool(), c.tls);
}

TEST_F(LiveSmtp, LogsInWithLoginOrPlainOverPlainTcp)
{
    const LiveCase cases[] = {
        {"login", {}, false, MailOutcome::Sent, "LOGIN", false},
        {"plain", {QStringLiteral("--exclude"), QStringLiteral("LOGIN")}, false, MailOutcome::Sent, "PLAIN", false},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        run(c);
    }
}

TEST_F(LiveSmtp, UpgradesToTlsAndChecksTheCertificate)
{
    if (!s_certError.isEmpty())
        GTEST_SKIP() << qPrintable(s_certError);
    const LiveCase cases[] = {
        {"starttls", TlsArguments("starttls"), true, MailOutcome::Sent, "LOGIN", true},
        {"implicit", TlsArguments("implicit"), true, MailOutcome::Sent, "LOGIN", true},
        {"untrusted", TlsArguments("starttls"), false, MailOutcome::NotConnected, nullptr, false},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        run(c);
    }
}

} // namespace
} // namespace stolvar
