// Mail as providers run their servers: slow answers to the final ".", the choice of
// encryption, the Message-ID, header lines within 76 characters, a body in GB18030.
#include "model/mail/MailMessage.h"
#include "model/mail/MailSender.h"
#include "model/mail/SmtpClient.h"

#include "core/Conversions.h"
#include "core/Gbk.h"
#include "support/CountingSmtpServer.h"
#include "support/ScriptedSmtpServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace stolvar {
namespace {

using test::CountingSmtpServer;
using test::ScriptedSmtpServer;
using Rules = QList<ScriptedSmtpServer::Rule>;

SmtpOptions FastOptions()
{
    SmtpOptions options;
    options.replyTimeoutMs = 400;
    options.localHostName = QStringLiteral("clerk-pc");
    return options;
}

MailRequest RequestFor(quint16 port)
{
    MailRequest r;
    r.settings = {QStringLiteral("127.0.0.1"), port, QStringLiteral("materials"), QStringLiteral("pa55"),
                  QStringLiteral("a@x.cn")};
    r.texts = {QStringLiteral("标养\r\n"), {}, {}};
    r.dueDate = WallTime(QDate(2024, 5, 29));
    r.senderDomain = QStringLiteral("site.example");
    r.localTime = WallTime(QDate(2024, 5, 26), QTime(10, 0));
    r.utcOffsetSeconds = 8 * 3600;
    return r;
}

// A provider scanning for spam answers the final "." after seconds: that is a success,
// not a failure to be mailed again. One that never answers has the message all the same.
TEST(MailDelivery, TheFinalDotGetsItsOwnLongerWait)
{
    {
        CountingSmtpServer slow(3000);
        QElapsedTimer timer;
        timer.start();
        const MailResult result = SendReminderMail(RequestFor(slow.port()), FastOptions());
        EXPECT_EQ(result.outcome, MailOutcome::Sent) << result.detail.toStdString();
        EXPECT_EQ(result.statusText, QStringLiteral("邮件发送成功！"));
        EXPECT_GE(timer.elapsed(), 3000);
        EXPECT_EQ(slow.messages(), 1);
    }
    CountingSmtpServer silent(CountingSmtpServer::kNeverReply);
    SmtpOptions options = FastOptions();
    options.dataReplyTimeoutMs = 500;
    const MailResult result = SendReminderMail(RequestFor(silent.port()), options);
    EXPECT_EQ(result.outcome, MailOutcome::SentUnconfirmed);
    EXPECT_EQ(result.statusText, QStringLiteral("邮件已发出，服务器未确认"));
    EXPECT_TRUE(MailWentOut(result.outcome));
    EXPECT_EQ(silent.messages(), 1);
}

TEST(MailDelivery, TheProgramsClosingEndsEveryWait)
{
    CountingSmtpServer silent(CountingSmtpServer::kNeverReply);
    auto stop = std::make_shared<std::atomic<bool>>(false);
    SmtpOptions options = FastOptions();
    options.stop = stop;   // the default wait of 120 s for the final "."
    QElapsedTimer timer;
    timer.start();
    auto sending = std::async(std::launch::async, [&] { return SendReminderMail(RequestFor(silent.port()), options); });
    while (silent.messages() == 0 && timer.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    *stop = true;
    const qint64 stoppedAt = timer.elapsed();
    EXPECT_EQ(sending.get().outcome, MailOutcome::SentUnconfirmed);
    EXPECT_LT(timer.elapsed() - stoppedAt, 500);
}

const Rules kLogIn = {{"AUTH LOGIN", "334 VXNlcm5hbWU6"},
                      {QByteArray("clerk").toBase64(), "334 UGFzc3dvcmQ6"},
                      {QByteArray("pa55").toBase64(), "235 ok"}};

TEST(MailDelivery, TheChosenEncryptionIsKept)
{
    SmtpOptions plain = FastOptions();
    plain.security = SmtpSecurity::Plain;
    plain.allowSelfSigned = true;
    SmtpOptions startTls = FastOptions();
    startTls.security = SmtpSecurity::StartTls;
    struct Case {
        const char* name;
        Rules rules;
        SmtpOptions options;
        bool opens;
        bool encrypted;
    };
    const Case cases[] = {
        {"不加密: no STARTTLS although offered", kLogIn + ScriptedSmtpServer::StartTlsRules(), plain, true, false},
        {"STARTTLS: refused when not offered", kLogIn, startTls, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSmtpServer server(c.rules);
        {
            SmtpClient client(c.options);
            EXPECT_EQ(client.open(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("clerk"), QStringLiteral("pa55")),
                      c.opens);
            EXPECT_EQ(client.isEncrypted(), c.encrypted);
            EXPECT_EQ(client.failure(), c.opens ? SmtpClient::Failure::None : SmtpClient::Failure::TlsMissing);
        }
        server.finish();
        EXPECT_FALSE(server.commands().contains("STARTTLS"));
        EXPECT_EQ(server.commands().contains(QByteArray("pa55").toBase64()), c.opens);
    }
    // SSL: TLS from the first byte on any port; 自动 on the second implicit port too.
    SmtpOptions ssl = FastOptions();
    ssl.security = SmtpSecurity::Implicit;
    ssl.allowSelfSigned = true;
    for (SmtpOptions options : {ssl, FastOptions()}) {
        options.allowSelfSigned = true;
        ScriptedSmtpServer server(kLogIn, "220 test.local ESMTP", ScriptedSmtpServer::Tls{"first", true, 0});
        if (options.security == SmtpSecurity::Auto)
            options.secondImplicitTlsPort = server.port();
        SmtpClient client(options);
        EXPECT_TRUE(client.open(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("clerk"), QStringLiteral("pa55")))
            << client.errorText().toStdString();
        EXPECT_TRUE(client.isEncrypted());
    }
    for (SmtpSecurity s : {SmtpSecurity::Auto, SmtpSecurity::Implicit, SmtpSecurity::StartTls, SmtpSecurity::Plain})
        EXPECT_EQ(SmtpSecurityFromText(SmtpSecurityText(s)), s);
    EXPECT_EQ(SmtpSecurityFromText(QString()), SmtpSecurity::Auto);
}

TEST(MailMessageShape, EveryMailHasAMessageIdAndHeaderLinesFitTheirLength)
{
    ScriptedSmtpServer server(Rules{{QByteArray("materials").toBase64(), "334 UGFzc3dvcmQ6"},
                                    {QByteArray("pa55").toBase64(), "235 ok"},
                                    {"AUTH LOGIN", "334 VXNlcm5hbWU6"}});
    MailRequest request = RequestFor(server.port());
    request.settings.recipients = QStringLiteral("项目经理王工程师 <wang.engineer@construction-site.example>; "
                                                 "材料员李工 <li@construction-site.example>, c@x.cn");
    // A body with a character GBK lacks (a rare name) and one outside the basic plane.
    request.texts = {QStringLiteral("工程名称：镕基大厦𠀀\r\n"), {}, {}};
    ASSERT_EQ(SendReminderMail(request, FastOptions()).outcome, MailOutcome::Sent);
    server.finish();
    const QByteArray mail = server.message();
    const QByteArray header = mail.left(mail.indexOf("\r\n\r\n"));
    for (const QByteArray& line : header.split('\n'))
        EXPECT_LE(line.chopped(line.endsWith('\r') ? 1 : 0).size(), kHeaderLineLength) << line.constData();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\r\nMessage-ID: <\\d{14}\\.[0-9a-f]{32}@site\\.example>\r\n"))
                    .match(QString::fromLatin1(header + "\r\n"))
                    .hasMatch())
        << header.constData();
    EXPECT_TRUE(header.contains("Content-type: text/plain; charset=\"gb18030\"")) << header.constData();
    const QByteArray body = QByteArray::fromBase64(mail.mid(mail.indexOf("\r\n\r\n") + 4));
    EXPECT_EQ(body, EncodeGb18030(request.texts.standard));
    EXPECT_FALSE(body.contains('?')) << "every character has a GB18030 form";

    // Two mails never share an id.
    EXPECT_NE(MakeMessageId(request.localTime, QStringLiteral("x.cn")), MakeMessageId(request.localTime, QStringLiteral("x.cn")));
    // The subject's first word leaves room for "Subject: " on its line.
    const QByteArray subject = EncodeHeaderText(QString(40, QChar(u'试')), 9);
    EXPECT_LE(subject.indexOf("\r\n") + 9, kHeaderLineLength);
}

} // namespace
} // namespace stolvar
