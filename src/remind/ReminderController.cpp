#include "remind/ReminderController.h"

#include "core/Conversions.h"
#include "model/mail/MailSender.h"
#include "model/maturity/DueScan.h"
#include "model/register/ReminderQueries.h"
#include "remind/DesktopNotifier.h"
#include "remind/MailDialog.h"
#include "remind/ReminderWidgets.h"
#include "ui/AppContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QVariant>

#include <utility>

namespace stolvar {

namespace {

ReminderMailTexts MailTexts(const DueTexts& texts)
{
    return {texts.standardText, texts.sameConditionText, texts.formRemovalText};
}

// Puts the text into a read-only box and scrolls to its end, as appending does. Every
// edit rescans, and the boxes list what was first listed today, so most scans bring the
// text shown already: the box is then left as it is, where the clerk scrolled it. Setting
// it again would lay every line out anew (7 ms for the 2,600 lines that a register of
// 100,000 groups listed on its first day). The box turns the texts' CR LF into paragraphs,
// so what it was given is kept beside it, with its document's revision to tell that
// nothing else changed it since.
void ShowText(QPlainTextEdit* box, const QString& text)
{
    static constexpr char kGiven[] = "stolvarGivenText";
    static constexpr char kRevision[] = "stolvarGivenRevision";
    const QVariant given = box->property(kGiven);
    if (given.isValid() && given.toString() == text && box->property(kRevision).toInt() == box->document()->revision())
        return;
    box->setPlainText(text);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    box->setProperty(kGiven, text);
    box->setProperty(kRevision, box->document()->revision());
}

// The store is created with placeholders; until the clerk enters a real server no
// connection is attempted.
bool IsConfigured(const MailSettings& mail)
{
    return !mail.server.trimmed().isEmpty() && mail.server != DefaultMailSettings().server;
}

QString MailStoreUnreadableText(const QString& error)
{
    return QStringLiteral("邮箱设置无法读取：") + error;
}

} // namespace

ReminderController::ReminderController(AppContext& ctx, ReminderWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_notifier(new DesktopNotifier(this))
{
    connect(m_notifier, &DesktopNotifier::activated, this, &ReminderController::notificationActivated);
}

QString ReminderController::mailStorePath() const
{
    return m_ctx.env.file(QStringLiteral("help"));
}

void ReminderController::loadMailSettings()
{
    struct Loaded {
        MailSettings settings;
        MailSecurity security;
        QString error;
    };
    // Opening the store derives its key (tens of milliseconds): not on the start-up path.
    m_ctx.tasks.run(
        this,
        [path = mailStorePath()] {
            Loaded loaded;
            loaded.settings = LoadMailSettings(path, &loaded.error, &loaded.security);
            return loaded;
        },
        [this](const Loaded& loaded) {
            if (!m_mailLoaded) {   // settings saved in the dialog meanwhile are newer
                m_mail = loaded.settings;
                m_security = loaded.security;
                m_mailReadError = loaded.error;
                if (!m_mailReadError.isEmpty())
                    setMailStatus(MailStoreUnreadableText(m_mailReadError));
            }
            m_mailLoaded = true;
            if (std::exchange(m_sendWhenLoaded, false))
                sendMail(false);
        });
}

int ReminderController::daysAhead() const
{
    return m_leadDays ? m_leadDays() : 0;
}

ReminderScanInput ReminderController::scanInput(const QDateTime& now, bool mailToday) const
{
    return {now, daysAhead(), ReadCountingRule(m_ctx.settings), lastMailTime(), mailToday};
}

// The day and time kept in memory hold even when Temp.ini could not take them: one run of
// the program never mails the same reminders twice.
QDateTime ReminderController::lastMailTime() const
{
    const QDateTime stored = LastMailTime(m_ctx.settings);
    return m_lastMailAt.isValid() && (!stored.isValid() || m_lastMailAt > stored) ? m_lastMailAt : stored;
}

void ReminderController::scanDueSpecimens()
{
    const quint64 generation = m_scanGeneration.next();
    auto work = [db = m_ctx.db, input = scanInput(m_ctx.now())] {
        return db ? ScanReminders(*db, input) : ReminderScan();
    };
    m_ctx.tasks.run(this, std::move(work), [this, generation](const ReminderScan& scan) {
        if (m_scanGeneration.isCurrent(generation))
            applyDueTexts(scan.boxes);
    });
}

// The three boxes show the reminders first listed today; the desktop notice names them.
void ReminderController::applyDueTexts(const DueTexts& texts)
{
    ShowText(m_ui.standardDueBox, texts.standardText);
    ShowText(m_ui.formRemovalDueBox, texts.formRemovalText);
    ShowText(m_ui.sameConditionDueBox, texts.sameConditionText);
    notifyDesktop(texts);
    runMailGate();
}

// The same groups as the three reminder boxes, once a day unless new ones appear.
void ReminderController::notifyDesktop(const DueTexts& texts)
{
    if (m_ctx.settings.read(keys::kDesktopNotification, SettingsStore::BoolText(true)) != SettingsStore::BoolText(true))
        return;
    const DueEntries entries = CollectDueEntries(texts.standardText, texts.sameConditionText, texts.formRemovalText);
    const QDate today = m_ctx.today().date();
    if (!m_notificationGate.shouldNotify(entries, today))
        return;
    if (m_notifier->notify(ComposeDueNotice(entries)))
        m_notificationGate.recordNotified(entries, today);
}

void ReminderController::runMailGate()
{
    const QDateTime today = m_ctx.today();
    const QString mailDay = m_lastMailAt.date() == today.date() ? FormatLongDate(WallTime(today.date()))
                                                               : m_ctx.settings.read(keys::kMailDay);
    const MailGateDecision gate = MailGate(mailDay, today);
    setMailStatus(gate.statusText);
    if (gate.sendNow)
        sendMail(false);
}

void ReminderController::listRecentPours()
{
    ShowText(m_ui.recentPoursBox, m_ctx.db ? ListRecentPours(*m_ctx.db) : QString());
}

void ReminderController::setMailStatus(const QString& text)
{
    m_ui.mailState->setText(text);
}

void ReminderController::sendReminderMail()
{
    sendMail(true);
}

void ReminderController::sendMail(bool byHand)
{
    if (!readyToSend())
        return;
    const MailRequest request = composeMailRequest();
    m_sending = true;
    const QString statusBefore = m_ui.mailState->text();
    setMailStatus(QStringLiteral("正在发送邮件…"));
    emit mailStarted();
    m_ctx.tasks.run(
        this,
        [request, options = securityOptions(), known = m_security, path = mailStorePath(), db = m_ctx.db,
         input = scanInput(request.localTime, byHand)] {
            // The mail names the reminders listed since the last one, as the scan finds them now.
            MailRequest mail = request;
            if (db)
                mail.texts = MailTexts(ScanReminders(*db, input).mail);
            MailSession session;
            SendingDone done{SendReminderMail(mail, options, &session), {}, {}, mail.localTime};
            done.learnt = SecurityToRemember(known, done.result, session, options.allowSelfSigned);
            if (done.learnt)
                SaveMailSecurity(path, *done.learnt, &done.storeError);
            return done;
        },
        [this, statusBefore](const SendingDone& done) { finishSending(done, statusBefore); });
}

// One sending at a time, with an account that was read and set up; the next scan tries again.
bool ReminderController::readyToSend()
{
    if (m_sending)
        return false;
    if (!m_mailLoaded) {
        m_sendWhenLoaded = true;
        return false;
    }
    if (!m_mailReadError.isEmpty()) {
        setMailStatus(MailStoreUnreadableText(m_mailReadError));
        return false;
    }
    if (!IsConfigured(m_mail) || !HasMailAccount(m_mail)) {
        setMailStatus(MailAccountMissingText());
        return false;
    }
    return true;
}

MailRequest ReminderController::composeMailRequest() const
{
    MailRequest request;
    request.settings = m_mail;
    request.dueDate = AddDays(m_ctx.today(), daysAhead());
    request.senderDomain = MailDomain(m_ctx.settings);
    request.localTime = m_ctx.now();
    request.utcOffsetSeconds = LocalUtcOffsetSeconds();
    return request;
}

void ReminderController::finishSending(const SendingDone& done, const QString& statusBefore)
{
    const MailResult& result = done.result;
    rememberSecurity(done);
    m_sending = false;
    QString status = result.statusText;
    if (MailWentOut(result.outcome)) {
        m_lastMailAt = done.composedAt;
        if (!RecordMailDay(m_ctx.settings, done.composedAt))
            status += MailDayNotSavedText();
    }
    if (!done.storeError.isEmpty())
        status += QStringLiteral("（邮箱设置保存失败：") + done.storeError + u'）';
    setMailStatus(status.isEmpty() ? statusBefore : status);
    emit mailFinished();
}

SmtpOptions ReminderController::securityOptions() const
{
    SmtpOptions options;
    options.replyTimeoutMs = m_smtpTimeouts.replyTimeoutMs;
    options.dataReplyTimeoutMs = m_smtpTimeouts.dataReplyTimeoutMs;
    options.connectTimeoutMs = m_smtpTimeouts.connectTimeoutMs;
    options.handshakeTimeoutMs = m_smtpTimeouts.handshakeTimeoutMs;
    options.security = SmtpSecurityFromText(m_ctx.settings.read(keys::kMailSecurity));
    options.stop = m_ctx.tasks.stopFlag();
    options.allowSelfSigned = m_ctx.settings.readBool(keys::kAllowSelfSigned);
    options.requireTls = m_ctx.settings.readBool(keys::kRequireTls);
    options.tlsSeenBefore = m_security.tlsSeen;
    options.pinnedCertificate = m_security.certificatePin.toLatin1();
    return options;
}

// Memory keeps what the sending taught even when the store could not be written (this run
// still refuses a downgrade); the status says so after the outcome.
void ReminderController::rememberSecurity(const SendingDone& done)
{
    if (done.learnt)
        m_security = *done.learnt;
}

void ReminderController::openMailDialog()
{
    MailDialog dialog(mailStorePath(), m_ctx.messages(), m_ctx.window, &m_ctx.settings);
    connect(&dialog, &MailDialog::settingsSaved, this, [this](const MailSettings& saved) {
        m_mail = saved;
        LoadMailSettings(mailStorePath(), nullptr, &m_security);   // a saved server forgot it
        m_mailReadError.clear();
        m_mailLoaded = true;
    });
    connect(&dialog, &MailDialog::sendRequested, this, &ReminderController::sendReminderMail);
    connect(this, &ReminderController::mailStarted, &dialog, [&dialog] { dialog.setSending(true); });
    connect(this, &ReminderController::mailFinished, &dialog, [&dialog] { dialog.setSending(false); });
    dialog.setSending(m_sending);
    dialog.exec();
}

} // namespace stolvar
