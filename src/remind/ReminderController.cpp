#include "remind/ReminderController.h"

#include "ui/AppContext.h"
#include "core/Conversions.h"
#include "remind/DueScan.h"
#include "remind/MailDialog.h"
#include "remind/MailSender.h"
#include "remind/ReminderQueries.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <utility>

namespace stolvar {

namespace {

// Puts the text into a read-only box and scrolls to its end, as appending does.
void ShowText(QPlainTextEdit* box, const QString& text)
{
    box->setPlainText(text);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
}

// The store is created with placeholders; until the clerk enters a real server no
// connection is attempted.
bool IsConfigured(const MailSettings& mail)
{
    return !mail.server.trimmed().isEmpty() && mail.server != DefaultMailSettings().server;
}

} // namespace

ReminderController::ReminderController(AppContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

QString ReminderController::mailStorePath() const
{
    return m_ctx.env.file(QStringLiteral("help"));
}

void ReminderController::loadMailSettings()
{
    // Opening the store derives its key (tens of milliseconds): not on the start-up path.
    m_ctx.tasks.run(
        this, [path = mailStorePath()] { return LoadMailSettings(path); },
        [this](const MailSettings& loaded) {
            if (!m_mailLoaded)   // settings saved in the dialog meanwhile are newer
                m_mail = loaded;
            m_mailLoaded = true;
            if (std::exchange(m_sendWhenLoaded, false))
                sendReminderMail();
        });
}

int ReminderController::daysAhead() const
{
    return TruncateToInt(ParseNumberText(m_ctx.ui.leadDaysBox->text()));
}

void ReminderController::scanDueSpecimens()
{
    const quint64 generation = m_scanGeneration.next();
    auto work = [db = m_ctx.db, now = m_ctx.now(), days = daysAhead()] {
        return db ? ScanDueSpecimens(*db, now, days) : DueTexts{};
    };
    m_ctx.tasks.run(this, std::move(work), [this, generation](const DueTexts& texts) {
        if (m_scanGeneration.isCurrent(generation))
            applyDueTexts(texts);
    });
}

void ReminderController::applyDueTexts(const DueTexts& texts)
{
    m_standardText = texts.standardText;
    m_formRemovalText = texts.formRemovalText;
    ShowText(m_ctx.ui.standardDueBox, m_standardText);
    ShowText(m_ctx.ui.formRemovalDueBox, m_formRemovalText);
    runMailGate();
}

void ReminderController::runMailGate()
{
    const MailGateDecision gate = MailGate(m_ctx.settings.read(keys::kMailDay), m_ctx.today());
    setMailStatus(gate.statusText);
    if (gate.sendNow)
        sendReminderMail();
}

void ReminderController::scanSameConditionDue()
{
    m_sameConditionText = m_ctx.db ? ScanSameConditionDue(*m_ctx.db, m_ctx.now(), daysAhead(), ReadMaturityRule(m_ctx.settings)) : QString();
    ShowText(m_ctx.ui.sameConditionDueBox, m_sameConditionText);
}

void ReminderController::listRecentPours()
{
    ShowText(m_ctx.ui.recentPoursBox, m_ctx.db ? ListRecentPours(*m_ctx.db) : QString());
}

void ReminderController::setMailStatus(const QString& text)
{
    m_ctx.ui.statusParts[kMailStatePart]->setText(text);
}

void ReminderController::sendReminderMail()
{
    if (m_sending)
        return;   // one sending at a time; the next scan tries again
    if (!m_mailLoaded) {
        m_sendWhenLoaded = true;
        return;
    }
    if (!IsConfigured(m_mail)) {
        setMailStatus(QStringLiteral("邮件账号未设置"));
        return;
    }
    scanSameConditionDue();
    MailRequest request;
    request.settings = m_mail;
    request.texts = {m_standardText, m_sameConditionText, m_formRemovalText};
    request.dueDate = AddDays(m_ctx.today(), daysAhead());
    request.senderDomain = MailDomain(m_ctx.settings);
    request.localTime = m_ctx.now();
    request.utcOffsetSeconds = LocalUtcOffsetSeconds();
    SmtpOptions options;
    options.allowSelfSigned = m_ctx.settings.readBool(keys::kAllowSelfSigned);
    m_sending = true;
    m_ctx.tasks.run(
        this, [request, options] { return SendReminderMail(request, options); },
        [this](const MailResult& result) {
            m_sending = false;
            if (result.outcome == MailOutcome::Sent)
                RecordMailDay(m_ctx.settings, m_ctx.today());
            if (!result.statusText.isEmpty())
                setMailStatus(result.statusText);
            emit mailFinished();
        });
}

void ReminderController::openMailDialog()
{
    MailDialog dialog(mailStorePath(), m_ctx.messages(), m_ctx.window);
    connect(&dialog, &MailDialog::settingsSaved, this, [this](const MailSettings& saved) {
        m_mail = saved;
        m_mailLoaded = true;
    });
    connect(&dialog, &MailDialog::sendRequested, this, &ReminderController::sendReminderMail);
    dialog.exec();
}

} // namespace stolvar
