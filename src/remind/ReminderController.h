#pragma once

#include "core/TaskRunner.h"
#include "model/mail/DueNotice.h"
#include "model/mail/MailSender.h"
#include "model/mail/MailSettings.h"
#include "model/maturity/DueScan.h"

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

    // Standard and form-removal reminders in the background, then the mail gate.
    void scanDueSpecimens();
    // Same-condition reminder and recent pours, now.
    void scanSameConditionDue();
    void listRecentPours();
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
    };

    // A due scan's result: the texts of the two boxes and the same-condition groups.
    struct DueScan {
        DueTexts texts;
        QString sameConditionText;
    };

    void applyDueTexts(const DueScan& scan);
    bool readyToSend();
    MailRequest composeMailRequest() const;
    void finishSending(const SendingDone& done, const QString& statusBefore);
    SmtpOptions securityOptions() const;
    void rememberSecurity(const SendingDone& done);
    void runMailGate();
    void notifyDesktop(const QString& sameCondition);
    void setMailStatus(const QString& text);

    AppContext& m_ctx;
    ReminderWidgets& m_ui;
    std::function<int()> m_leadDays;
    SmtpOptions m_smtpTimeouts;
    MailSettings m_mail;
    MailSecurity m_security;
    QString m_mailReadError;   // why `help` could not be read; empty when it was
    // The reminder texts as composed (with their CR LF line ends), for the mail body.
    QString m_standardText;
    QString m_formRemovalText;
    QString m_sameConditionText;
    Generation m_scanGeneration;
    QDate m_mailSentOn;   // the day of this run's last successful sending
    DesktopNotifier* m_notifier;
    NotificationGate m_notificationGate;
    bool m_sending = false;
    bool m_mailLoaded = false;
    bool m_sendWhenLoaded = false;
};

} // namespace stolvar
