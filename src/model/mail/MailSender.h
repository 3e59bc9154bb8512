#pragma once

#include "model/mail/MailSettings.h"
#include "model/mail/SmtpClient.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace stolvar {

class SettingsStore;

// The three reminder boxes, in the order the mail body joins them.
struct ReminderMailTexts {
    QString standard;       // 到期提醒编辑框
    QString sameCondition;  // 到期提醒编辑框1
    QString formRemoval;    // 拆模提醒编辑框

    bool isEmpty() const { return standard.isEmpty() && sameCondition.isEmpty() && formRemoval.isEmpty(); }
};

struct MailRequest {
    MailSettings settings;     // the account and recipients in use
    ReminderMailTexts texts;
    QDateTime dueDate;         // today + daysAhead, named in the subject
    QString senderDomain;      // appended to the user name
    QDateTime localTime;       // wall clock now, for the Date header
    int utcOffsetSeconds = 0;  // of that wall clock
};

enum class MailOutcome {
    Sent,           // "邮件发送成功！": record today as the mail day
    // "邮件已发出，服务器未确认": the whole message went out, its reply was lost or late;
    // recorded as the mail day like Sent, so the same reminder is not mailed twice.
    SentUnconfirmed,
    NothingToSend,  // all three texts empty: no mail, status left as it was
    NotConnected,   // "未连接到SMTP服务器!"
    AccountMissing, // "邮件账号未设置": no user name or password, nothing was connected
    AddressError,   // "目的邮件地址格式错误!"
    SendFailed,     // "邮件发送失败！"
    Busy,           // another sending is running: this one was skipped, no status
};

struct MailResult {
    MailOutcome outcome = MailOutcome::NothingToSend;
    QString statusText;  // for the mail part of the status bar; empty: leave it
    QString detail;      // the server's words or the socket error, for diagnosis
};

// What the server showed of itself during a sending.
struct MailSession {
    bool encrypted = false;             // the session ran over TLS
    QByteArray certificateFingerprint;  // SHA-256 (hex) of the server certificate
};

// Whether a mail day is to be recorded: the mail left, confirmed or not.
bool MailWentOut(MailOutcome outcome);
// The account can log in: a user name and a password (a missing one would send
// "MAIL FROM:<@example.com>" or be refused by any provider).
bool HasMailAccount(const MailSettings& settings);
QString MailAccountMissingText();   // "邮件账号未设置"

// Sends the reminder mail. Blocking: run it on a worker thread and apply the result on
// the UI thread. Only one sending runs at a time in the whole process.
// `session` (when given) receives what the server showed of itself.
MailResult SendReminderMail(const MailRequest& request, const SmtpOptions& options = {},
                            MailSession* session = nullptr);

// What a successful sending teaches about the server, to be kept with the account: that
// it speaks TLS, and (with self-signed certificates allowed) the certificate to pin.
// None when nothing changes.
std::optional<MailSecurity> SecurityToRemember(const MailSecurity& known, const MailResult& result,
                                               const MailSession& session, bool allowSelfSigned);

// "您有试块将于2024年5月29日到期，请做好送检准备。"
QString ReminderSubject(const QDateTime& dueDate);
// user@domain; a user name that already is an address is used as it is.
QString SenderAddress(const QString& user, const QString& domain);
// The mail domain from Temp.ini, "example.com" when unset.
QString MailDomain(const SettingsStore& settings);
// Remembers the day of the last successful reminder mail and when it was composed (the
// reminders listed after that go with the next mail).
bool RecordMailDay(const SettingsStore& settings, const QDateTime& composedAt);
// When the last successful mail was composed: the time kept with it, or for a mail day kept
// without one, the end of that day; invalid when no mail went out yet.
QDateTime LastMailTime(const SettingsStore& settings);
// Added to the mail status when the mail went out but its day could not be stored.
QString MailDayNotSavedText();
// The offset of this machine's local time from UTC now, in seconds.
int LocalUtcOffsetSeconds();

} // namespace stolvar
