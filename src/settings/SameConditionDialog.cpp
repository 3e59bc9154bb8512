#include "settings/SameConditionDialog.h"

#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "model/maturity/MaturityRule.h"
#include "model/strength/StrengthSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace stolvar {

namespace {

// Desktop notifications are on unless the clerk turned them off.
bool DesktopNotificationOn(const SettingsStore& settings)
{
    return settings.read(keys::kDesktopNotification, SettingsStore::BoolText(true)) == SettingsStore::BoolText(true);
}

} // namespace

SameConditionDialog::SameConditionDialog(const SettingsStore& settings, QWidget* parent, Messages* messages)
    : QDialog(parent), m_settings(settings), m_messages(messages)
{
    setObjectName(QStringLiteral("同养记录设置"));
    setWindowTitle(QStringLiteral("同养记录设置"));
    auto* group = new QGroupBox(QStringLiteral("同养记录设置"), this);
    m_fromCastingDay = new QRadioButton(QStringLiteral("从当天开始计算温度"), group);
    m_fromCastingDay->setObjectName(QStringLiteral("单选框1"));
    m_fromNextDay = new QRadioButton(QStringLiteral("从次日开始计算温度"), group);
    m_fromNextDay->setObjectName(QStringLiteral("单选框2"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_fromCastingDay);
    groupLayout->addWidget(m_fromNextDay);
    m_desktopNotification = new QCheckBox(QStringLiteral("到期时显示桌面通知"), this);
    m_desktopNotification->setObjectName(QStringLiteral("桌面通知"));
    m_desktopNotification->setChecked(DesktopNotificationOn(settings));
    m_standardRule = new QCheckBox(QStringLiteral("按GB 50204-2015计算（0℃及以下不计入，不少于14天）"), this);
    m_standardRule->setObjectName(QStringLiteral("国标算法"));
    m_standardRule->setChecked(settings.readBool(keys::kStandardRule));
    m_conversionFactor = new QLineEdit(FormatConversionFactor(ReadConversionFactor(settings)), this);
    m_conversionFactor->setObjectName(QStringLiteral("折算系数框"));
    auto* factorLine = new QFormLayout;
    factorLine->addRow(QStringLiteral("同条件试件强度折算系数（0.95～1.10）："), m_conversionFactor);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_desktopNotification);
    layout->addWidget(m_standardRule);
    layout->addLayout(factorLine);
    layout->addWidget(buttons);

    // The choice the tables and scans count by, the next day when none was ever made.
    if (ReadCountFromNextDay(settings))
        m_fromNextDay->setChecked(true);
    else
        m_fromCastingDay->setChecked(true);
}

bool SameConditionDialog::storeConversionFactor()
{
    double factor = 0;
    if (!ParseConversionFactor(m_conversionFactor->text(), &factor)) {
        if (!m_messages)
            return true;   // nobody to tell: the stored factor stays
        m_messages->show(this, QStringLiteral("折算系数应在0.95到1.10之间，请重新输入！"), Messages::DefaultTitle(),
                         Messages::Icon::Warning);
        return false;
    }
    // Written only when changed, so that a clerk who never touches it never gets the key.
    if (FormatConversionFactor(factor) == FormatConversionFactor(ReadConversionFactor(m_settings)))
        return true;
    m_conversionChanged = m_settings.write(keys::kConversionFactor, FormatConversionFactor(factor));
    m_saveFailed = m_saveFailed || !m_conversionChanged;
    return true;
}

void SameConditionDialog::done(int result)
{
    if (!storeConversionFactor())
        return;
    const bool countFromChanged = m_fromNextDay->isChecked() != ReadCountFromNextDay(m_settings);
    m_settings.write(keys::kCountFromCastingDay, SettingsStore::BoolText(m_fromCastingDay->isChecked()));
    m_settings.write(keys::kCountFromNextDay, SettingsStore::BoolText(m_fromNextDay->isChecked()));
    // Written only when changed, so that an untouched setting leaves Temp.ini as it was.
    const bool notify = m_desktopNotification->isChecked();
    if (notify != DesktopNotificationOn(m_settings) &&
        !m_settings.write(keys::kDesktopNotification, SettingsStore::BoolText(notify)) && m_messages) {
        m_messages->show(this, QStringLiteral("桌面通知设置无法保存到Temp.ini。"), Messages::DefaultTitle(),
                         Messages::Icon::Warning);
    }
    // Written only when it changes, so a clerk who never ticks it never gets the key.
    m_ruleChanged = m_standardRule->isChecked() != m_settings.readBool(keys::kStandardRule);
    if (m_ruleChanged
        && !m_settings.write(keys::kStandardRule, SettingsStore::BoolText(m_standardRule->isChecked()))) {
        m_ruleChanged = false;
        m_saveFailed = true;
    }
    m_ruleChanged = m_ruleChanged || countFromChanged;
    QDialog::done(result);
}

} // namespace stolvar
