#include "model/mail/MailSender.h"

#include "core/Conversions.h"
#include "core/SettingsStore.h"
#include "core/TaskRunner.h"
#include "model/mail/MailMessage.h"
#include "model/mail/Recipients.h"

namespace stolvar {

namespace {

// The SMTP exchange is one conversation at a time for the whole program.
SingleFlight& SendingGuard()
{
    static SingleFlight guard;
    return guard;
}

// Holds the guard for one sending, if it was free.
struct FlightTicket {
    explicit FlightTicket(SingleFlight& guard) : flight(guard), admitted(guard.tryStart()) {}
    ~FlightTicket()
    {
        if (admitted)
            flight.finish();
    }
    SingleFlight& flight;
    const bool admitted;
};

QString NotConnectedReason(SmtpClient::Failure failure)
{
    switch (failure) {
    case SmtpClient::Failure::Certificate: return QStringLiteral("（服务器证书未通过验证）");
    case SmtpClient::Failure::CertificateChanged: return QStringLiteral("（服务器证书与以前不同，未登录）");
    case SmtpClient::Failure::TlsMissing: return QStringLiteral("（服务器未提供加密连接，为保护密码未登录）");
    default: return {};
    }
}

MailResult NotConnected(const SmtpClient& client)
{
    const QString text = QStringLiteral("未连接到SMTP服务器!") + NotConnectedReason(client.failure());
    return {MailOutcome::NotConnected, text, client.errorText()};
}

MailResult AddressError()
{
    return {MailOutcome::AddressError, QStringLiteral("目的邮件地址格式错误!"), {}};
}

MailHeader HeaderFor(const MailRequest& r, const QString& sender, const QVector<MailAddress>& to)
{
    MailHeader h;
    h.from = {QString(), sender};
    h.replyTo = h.from;
    h.to = to;
    h.subject = ReminderSubject(r.dueDate);
    h.localTime = r.localTime;
    h.utcOffsetSeconds = r.utcOffsetSeconds;
    h.messageId = MakeMessageId(r.localTime, sender.section(u'@', -1));
    return h;
}

QStringList BareAddresses(const QVector<MailAddress>& addresses)
{
    QStringList bare;
    for (const MailAddress& a : addresses)
        bare << a.address;
    return bare;
}

// Everything after a successful log-in: addresses, message, SMTP transaction.
MailResult Deliver(SmtpClient& client, const MailRequest& r)
{
    const auto to = ParseRecipients(r.settings.recipients);
    const QString sender = SenderAddress(r.settings.user, r.senderDomain);
    if (!to || to->isEmpty() || !IsUsableAddress(sender))
        return AddressError();
    const ReminderMailTexts& t = r.texts;
    const QByteArray data = BuildMailData(HeaderFor(r, sender, *to), t.standard + t.sameCondition + t.formRemoval);
    if (data.isEmpty())
        return {MailOutcome::SendFailed, QStringLiteral("邮件发送失败！"), {}};
    if (!client.send(sender, BareAddresses(*to), data)) {
        if (client.failure() == SmtpClient::Failure::Unconfirmed)
            return {MailOutcome::SentUnconfirmed, QStringLiteral("邮件已发出，服务器未确认"), client.errorText()};
        return {MailOutcome::SendFailed, QStringLiteral("邮件发送失败！"), client.errorText()};
    }
    return {MailOutcome::Sent, QStringLiteral("邮件发送成功！"), {}};
}

} // namespace

MailResult SendReminderMail(const MailRequest& request, const SmtpOptions& options, MailSession* session)
{
    const FlightTicket ticket(SendingGuard());
    if (!ticket.admitted)
        return {MailOutcome::Busy, {}, {}};
    SmtpClient client(options);
    const MailSettings& s = request.settings;
    if (!client.open(s.server, s.port, s.user, s.password))
        return NotConnected(client);
    if (request.texts.isEmpty())
        return {MailOutcome::NothingToSend, {}, {}};
    if (session)
        *session = {client.isEncrypted(), client.certificateFingerprint()};
    return Deliver(client, request);
}

bool MailWentOut(MailOutcome outcome)
{
    return outcome == MailOutcome::Sent || outcome == MailOutcome::SentUnconfirmed;
}

bool HasMailAccount(const MailSettings& settings)
{
    return !settings.user.trimmed().isEmpty() && !settings.password.isEmpty();
}

QString MailAccountMissingText()
{
    return QStringLiteral("邮件账号未设置");
}

std::optional<MailSecurity> SecurityToRemember(const MailSecurity& known, const MailResult& result,
                                               const MailSession& session, bool allowSelfSigned)
{
    if (result.outcome != MailOutcome::Sent)
        return std::nullopt;
    MailSecurity now{known.tlsSeen || session.encrypted, known.certificatePin};
    if (allowSelfSigned && now.certificatePin.isEmpty())
        now.certificatePin = QString::fromLatin1(session.certificateFingerprint);
    if (now == known)
        return std::nullopt;
    return now;
}

QString ReminderSubject(const QDateTime& dueDate)
{
    return QStringLiteral("您有试块将于") + FormatLongDate(WallTime(dueDate.date()))
           + QStringLiteral("到期，请做好送检准备。");
}

QString SenderAddress(const QString& user, const QString& domain)
{
    return user.contains(u'@') ? user : user + u'@' + domain;
}

QString MailDomain(const SettingsStore& settings)
{
    const QString domain = settings.read(keys::kMailDomain).trimmed();
    return domain.isEmpty() ? QStringLiteral("example.com") : domain;
}

bool RecordMailDay(const SettingsStore& settings, const QDateTime& composedAt)
{
    const bool day = settings.write(keys::kMailDay, FormatLongDate(WallTime(composedAt.date())));
    return settings.write(keys::kMailTime, ToStorageText(composedAt)) && day;
}

QDateTime LastMailTime(const SettingsStore& settings)
{
    QDateTime day;
    if (!TryParseDateText(settings.read(keys::kMailDay), &day))
        return {};
    const QDateTime time = FromStorageText(settings.read(keys::kMailTime));
    if (time.isValid() && time.date() == day.date())
        return time;
    return WallTime(day.date(), QTime(23, 59, 59));
}

QString MailDayNotSavedText()
{
    return QStringLiteral("（发送日期未能写入设置文件）");
}

int LocalUtcOffsetSeconds()
{
    return QDateTime::currentDateTime().offsetFromUtc();
}

} // namespace stolvar
