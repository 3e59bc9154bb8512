#include "model/mail/MailSender.h"

#include "core/Conversions.h"
#include "core/Gbk.h"
#include "core/SettingsStore.h"
#include "support/ScriptedSmtpServer.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <future>

namespace stolvar {
namespace {

using test::ScriptedSmtpServer;

SmtpOptions FastOptions()
{
    SmtpOptions options;
    options.replyTimeoutMs = 400;
    options.localHostName = QStringLiteral("clerk-pc");
    return options;
}

MailRequest RequestFor(quint16 port, const QString& recipients)
{
    MailRequest r;
    r.settings = {QStringLiteral("127.0.0.1"), port, QStringLiteral("materials"), QString(), recipients};
    r.texts = {QStringLiteral("标养\r\n"), QStringLiteral("同养\r\n"), QStringLiteral("拆模\r\n")};
    r.dueDate = WallTime(QDate(2024, 5, 29));
    r.senderDomain = QStringLiteral("site.example");
    r.localTime = WallTime(QDate(2024, 5, 26), QTime(10, 0));
    r.utcOffsetSeconds = 8 * 3600;
    return r;
}

QList<QByteArray> Matching(const QList<QByteArray>& commands, const QByteArray& prefix)
{
    QList<QByteArray> found;
    for (const QByteArray& c : commands) {
        if (c.startsWith(prefix))
            found << c;
    }
    return found;
}

TEST(SendReminderMail, MailsTheThreeTextsToEveryRecipientInOrder)
{
    ScriptedSmtpServer server({});
    const MailResult result =
        SendReminderMail(RequestFor(server.port(), QStringLiteral("a@x.cn; b@x.cn,,王工 <c@x.cn>")), FastOptions());
    server.finish();
    EXPECT_EQ(result.outcome, MailOutcome::Sent);
    EXPECT_EQ(result.statusText, QStringLiteral("邮件发送成功！"));
    EXPECT_EQ(Matching(server.commands(), "MAIL FROM"), QList<QByteArray>{"MAIL FROM:<materials@site.example>"});
    const QList<QByteArray> rcpt = {"RCPT TO:<a@x.cn>", "RCPT TO:<b@x.cn>", "RCPT TO:<c@x.cn>"};
    EXPECT_EQ(Matching(server.commands(), "RCPT"), rcpt);
    const QByteArray message = server.message();
    EXPECT_TRUE(message.contains("To: a@x.cn,b@x.cn,=?gb2312?B?zfW5pA==?= <c@x.cn>\r\n")) << message.constData();
    EXPECT_TRUE(message.contains("Reply-To: materials@site.example\r\n"));
    const QByteArray body = message.mid(message.indexOf("\r\n\r\n") + 4).trimmed();
    EXPECT_EQ(DecodeGbk(QByteArray::fromBase64(body)), QStringLiteral("标养\r\n同养\r\n拆模\r\n"));
}

TEST(SendReminderMail, ReportsEachFailureWithItsStatusText)
{
    const struct {
        const char* name;
        QList<ScriptedSmtpServer::Rule> rules;
        QString recipients;
        MailOutcome outcome;
        const char* status;
        bool mailFromSent;
    } cases[] = {
        {"bracket not closed", {}, QStringLiteral("a@x.cn; 王工 <c@x.cn"), MailOutcome::AddressError, "目的邮件地址格式错误!", false},
        {"no recipient at all", {}, QStringLiteral(" ; "), MailOutcome::AddressError, "目的邮件地址格式错误!", false},
        {"line break in an address", {}, QStringLiteral("a@x.cn\r\nDATA"), MailOutcome::AddressError, "目的邮件地址格式错误!", false},
        {"recipient refused", {{"RCPT", "550 unknown"}}, QStringLiteral("a@x.cn"), MailOutcome::SendFailed, "邮件发送失败！", true},
        {"greeting refused", {}, QStringLiteral("a@x.cn"), MailOutcome::NotConnected, "未连接到SMTP服务器!", false},
    };
    for (const auto& c : cases) {
        const bool refuseGreeting = c.outcome == MailOutcome::NotConnected;
        ScriptedSmtpServer server(c.rules, refuseGreeting ? "421 closing" : "220 ok");
        const MailResult result = SendReminderMail(RequestFor(server.port(), c.recipients), FastOptions());
        server.finish();
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.statusText, QString::fromUtf8(c.status)) << c.name;
        EXPECT_EQ(!Matching(server.commands(), "MAIL FROM").isEmpty(), c.mailFromSent) << c.name;
    }
}

TEST(SendReminderMail, ConnectsButSendsNothingWithoutReminders)
{
    ScriptedSmtpServer server({});
    MailRequest request = RequestFor(server.port(), QStringLiteral("a@x.cn"));
    request.texts = {};
    const MailResult result = SendReminderMail(request, FastOptions());
    server.finish();
    EXPECT_EQ(result.outcome, MailOutcome::NothingToSend);
    EXPECT_TRUE(result.statusText.isEmpty());
    EXPECT_EQ(server.commands(), (QList<QByteArray>{"HELO clerk-pc", "QUIT"}));
}

TEST(SendReminderMail, ReportsANoServerAsNotConnected)
{
    QTcpServer probe;  // a port nobody listens on
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    const MailResult result = SendReminderMail(RequestFor(port, QStringLiteral("a@x.cn")), FastOptions());
    EXPECT_EQ(result.outcome, MailOutcome::NotConnected);
    EXPECT_EQ(result.statusText, QStringLiteral("未连接到SMTP服务器!"));
}

TEST(SendReminderMail, SkipsASecondSendingWhileOneRuns)
{
    ScriptedSmtpServer silent({}, QByteArray());
    auto first = std::async(std::launch::async, [&] {
        return SendReminderMail(RequestFor(silent.port(), QStringLiteral("a@x.cn")), FastOptions());
    });
    const QDeadlineTimer deadline(5000);
    while (!silent.accepted() && !deadline.hasExpired())
        std::this_thread::yield();
    ASSERT_TRUE(silent.accepted());
    const MailResult second = SendReminderMail(RequestFor(silent.port(), QStringLiteral("a@x.cn")), FastOptions());
    EXPECT_EQ(second.outcome, MailOutcome::Busy);
    EXPECT_TRUE(second.statusText.isEmpty());
    EXPECT_EQ(first.get().outcome, MailOutcome::NotConnected);
}

TEST(MailSenderHelpers, BuildSubjectSenderAndMailDay)
{
    EXPECT_EQ(ReminderSubject(WallTime(QDate(2024, 5, 29), QTime(10, 0))),
              QStringLiteral("您有试块将于2024年5月29日到期，请做好送检准备。"));
    EXPECT_EQ(SenderAddress(QStringLiteral("materials"), QStringLiteral("x.cn")), QStringLiteral("materials@x.cn"));
    EXPECT_EQ(SenderAddress(QStringLiteral("me@y.cn"), QStringLiteral("x.cn")), QStringLiteral("me@y.cn"));
    test::TempHome home;
    const SettingsStore settings = home.settings();
    EXPECT_EQ(MailDomain(settings), QStringLiteral("example.com"));
    ASSERT_TRUE(RecordMailDay(settings, WallTime(QDate(2024, 5, 26), QTime(10, 0))));
    EXPECT_EQ(settings.read(keys::kMailDay), QStringLiteral("2024年5月26日"));
}

// Each refusal to log in says why in the status bar, and no password left the machine.
TEST(SendReminderMail, NamesARefusedLogInWithoutTlsOrWithAnotherCertificate)
{
    SmtpOptions downgrade = FastOptions();
    downgrade.tlsSeenBefore = true;
    SmtpOptions changed = FastOptions();
    changed.allowSelfSigned = true;
    changed.pinnedCertificate = ScriptedSmtpServer::Fingerprint("second");
    const struct {
        const char* name;
        SmtpOptions options;
        std::optional<ScriptedSmtpServer::Tls> tls;
        const char* status;
    } cases[] = {
        {"downgrade", downgrade, std::nullopt, "未连接到SMTP服务器!（服务器未提供加密连接，为保护密码未登录）"},
        {"another certificate", changed, ScriptedSmtpServer::Tls{}, "未连接到SMTP服务器!（服务器证书与以前不同，未登录）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSmtpServer server(c.tls ? ScriptedSmtpServer::StartTlsRules() : QList<ScriptedSmtpServer::Rule>{}, "220 ok", c.tls);
        MailRequest request = RequestFor(server.port(), QStringLiteral("a@x.cn"));
        request.settings.password = QStringLiteral("pa55");
        const MailResult result = SendReminderMail(request, c.options);
        server.finish();
        EXPECT_EQ(result.outcome, MailOutcome::NotConnected);
        EXPECT_EQ(result.statusText, QString::fromUtf8(c.status));
        EXPECT_TRUE(Matching(server.commands(), "AUTH").isEmpty());
    }
}

// What one successful sending teaches: TLS once seen is remembered; the certificate is
// pinned only with self-signed certificates allowed and only when none is pinned yet.
TEST(SecurityToRemember, LearnsFromSuccessfulSendingsOnly)
{
    const MailSecurity fresh;
    const MailSecurity pinned{true, QStringLiteral("aa")};
    const MailResult sent{MailOutcome::Sent, {}, {}};
    const MailResult failed{MailOutcome::SendFailed, {}, {}};
    const MailSession tls{true, "bb"};
    const MailSession plain{false, {}};
    const struct {
        const char* name;
        const MailSecurity& known;
        const MailResult& result;
        const MailSession& session;
        bool allowSelfSigned;
        std::optional<std::pair<bool, const char*>> learnt;
    } cases[] = {
        {"first TLS sending, self-signed allowed", fresh, sent, tls, true, std::pair{true, "bb"}},
        {"first TLS sending, CA certificates only", fresh, sent, tls, false, std::pair{true, ""}},
        {"plain sending", fresh, sent, plain, true, std::nullopt},
        {"failed sending", fresh, failed, tls, true, std::nullopt},
        {"already pinned", pinned, sent, tls, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto learnt = SecurityToRemember(c.known, c.result, c.session, c.allowSelfSigned);
        ASSERT_EQ(learnt.has_value(), c.learnt.has_value());
        if (learnt) {
            EXPECT_EQ(learnt->tlsSeen, c.learnt->first);
            EXPECT_EQ(learnt->certificatePin, QString::fromLatin1(c.learnt->second));
        }
    }
}

} // namespace
} // namespace stolvar
