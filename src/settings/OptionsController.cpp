#include "settings/OptionsController.h"

#include "core/AutoStart.h"
#include "core/Conversions.h"
#include "settings/SettingsWidgets.h"
#include "ui/AppContext.h"

#include <QCheckBox>
#include <QLineEdit>

namespace stolvar {

OptionsController::OptionsController(AppContext& ctx, SettingsWidgets& ui, QString executablePath, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_executablePath(std::move(executablePath))
{
    connect(ui.leadDaysBox, &QLineEdit::textChanged, this, &OptionsController::onLeadDaysChanged);
    connect(ui.autoCollectBox, &QCheckBox::clicked, this, &OptionsController::onAutoCollectClicked);
    connect(ui.autoMailBox, &QCheckBox::clicked, this, &OptionsController::onAutoMailClicked);
    connect(ui.autoStartBox, &QCheckBox::clicked, this, &OptionsController::onAutoStartClicked);
}

void OptionsController::restoreOptions()
{
    const SettingsStore& s = m_ctx.settings;
    const QString collect = s.read(keys::kAutoCollect);
    const QString mail = s.read(keys::kAutoMail);
    const QString autoStart = s.read(keys::kAutoStart);
    const QString lead = s.read(keys::kLeadDays);
    SettingsWidgets& ui = m_ui;

    // Putting the lead time into its box is a change of the box like any other.
    if (ui.leadDaysBox->text() == lead)
        onLeadDaysChanged(lead);
    else
        ui.leadDaysBox->setText(lead);

    const bool startAtLogOn = SettingsStore::IsTrue(autoStart);
    ui.autoStartBox->setChecked(startAtLogOn);
    if (startAtLogOn)
        registerAutoStart();
    else
        RemoveAutoStart(m_executablePath);

    if (SettingsStore::IsTrue(mail)) {
        ui.autoMailBox->setChecked(true);
        emit reminderTimerRequested();
    }
    ui.autoCollectBox->setChecked(SettingsStore::IsTrue(collect));
    if (ui.autoCollectBox->isChecked())
        emit collectWeatherRequested();
    m_restored = true;
}

void OptionsController::storeOptions()
{
    // Closed before the options were restored: the boxes hold nothing of the clerk's,
    // and storing them would switch everything off.
    if (!m_restored)
        return;
    const SettingsStore& s = m_ctx.settings;
    s.write(keys::kAutoCollect, SettingsStore::BoolText(m_ui.autoCollectBox->isChecked()));
    s.write(keys::kAutoMail, SettingsStore::BoolText(m_ui.autoMailBox->isChecked()));
    s.write(keys::kAutoStart, SettingsStore::BoolText(m_ui.autoStartBox->isChecked()));
}

int OptionsController::leadDays() const
{
    return TruncateToInt(ParseNumberText(m_ui.leadDaysBox->text()));
}

void OptionsController::onLeadDaysChanged(const QString& text)
{
    m_ctx.settings.write(keys::kLeadDays, text);
    emit dueScanRequested();
    emit sameConditionScanRequested();
}

void OptionsController::onAutoCollectClicked(bool checked)
{
    if (checked)
        emit collectWeatherRequested();
}

void OptionsController::onAutoMailClicked(bool checked)
{
    // Switching the option on scans once; the periodic timer follows at the next start.
    if (checked)
        emit dueScanRequested();
}

void OptionsController::onAutoStartClicked(bool checked)
{
    if (checked)
        registerAutoStart();
    else
        RemoveAutoStart(m_executablePath);
}

// An entry that could not be written must not look ticked: the box is cleared and the
// clerk told why.
void OptionsController::registerAutoStart()
{
    QString error;
    if (RegisterAutoStart(m_executablePath, m_ctx.env.home, &error))
        return;
    m_ui.autoStartBox->setChecked(false);
    m_ctx.messages().show(m_ctx.window, AutoStartFailedText() + error, Messages::DefaultTitle(),
                          Messages::Icon::Warning);
}

QString AutoStartFailedText()
{
    return QStringLiteral("无法设置开机自动运行：");
}

} // namespace stolvar
