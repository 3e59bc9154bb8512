#pragma once

#include "core/TaskRunner.h"
#include "model/mail/DueNotice.h"
#include "model/mail/MailSender.h"
#include "model/mail/MailSettings.h"
#include "model/maturity/DueScan.h"
#include "model/register/ReminderQueries.h"

#include <QDate>
#include <QObject>

#include <functional>

namespace stolvar {

struct AppContext;
class DesktopNotifier;
struct ReminderWidgets;

// The reminder boxes of "信息提示" and the daily reminder mail: scans run on a worker
// and their texts are applied on the UI thread; after each due scan the mail gate
// sends today's mail if none has gone out yet.
class ReminderController : public QObject
{
    Q_OBJECT
public:
    ReminderController(AppContext& ctx, ReminderWidgets& ui, QObject* parent = nullptr);
    // Where the reminder lead time comes from (the options' box); none means 0 days.
    void setLeadDaysSource(std::function<int()> leadDays) { m_leadDays = std::move(leadDays); }
    // The limits of the SMTP dialogue (its waits for replies); tests make them short.
    void setSmtpTimeouts(const SmtpOptions& timeouts) { m_smtpTimeouts = timeouts; }

    // Start-up: reads the store `help` in the background (creating it with placeholders
    // when missing); a mail asked for before it is read goes out once it is.
    void loadMailSettings();
    bool mailSettingsLoaded() const { return m_mailLoaded; }
    const MailSettings& mailSettings() const { return m_mail; }
    const MailSecurity& mailSecurity() const { return m_security; }
    QString mailStorePath() const;

    // The three reminder boxes in the background, then the mail gate.
    void scanDueSpecimens();
    void listRecentPours();
    // The reminder mail: what was listed since the last mail; sent by hand (the mail
    // dialog), today's reminders as well.
    void sendReminderMail();
    void openMailDialog();

    // The reminder lead time, in whole days.
    int daysAhead() const;
    bool isSending() const { return m_sending; }
    DesktopNotifier& notifier() { return *m_notifier; }

signals:
    void mailStarted();    // a sending began
    void mailFinished();   // a sending ended (whatever its outcome)
    // The clerk clicked the desktop notification: the window is wanted.
    void notificationActivated();

private:
    // A sending and what it taught about the server, as stored with the account.
    struct SendingDone {
        MailResult result;
        std::optional<MailSecurity> learnt;
        QString storeError;
        QDateTime composedAt;
    };

    ReminderScanInput scanInput(const QDateTime& now, bool mailToday = false) const;
    void sendMail(bool byHand);
    QDateTime lastMailTime() const;
    void applyDueTexts(const DueTexts& texts);
    bool readyToSend();
    MailRequest composeMailRequest() const;
    void finishSending(const SendingDone& done, const QString& statusBefore);
    SmtpOptions securityOptions() const;
    void rememberSecurity(const SendingDone& done);
    void runMailGate();
    void notifyDesktop(const DueTexts& texts);
    void setMailStatus(const QString& text);

    AppContext& m_ctx;
    ReminderWidgets& m_ui;
    std::function<int()> m_leadDays;
    SmtpOptions m_smtpTimeouts;
    MailSettings m_mail;
    MailSecurity m_security;
    QString m_mailReadError;   // why `help` could not be read; empty when it was
    Generation m_scanGeneration;
    QDateTime m_lastMailAt;   // when this run's last successful mail was composed
    DesktopNotifier* m_notifier;
    NotificationGate m_notificationGate;
    bool m_sending = false;
    bool m_mailLoaded = false;
    bool m_sendWhenLoaded = false;
};

} // namespace stolvar
