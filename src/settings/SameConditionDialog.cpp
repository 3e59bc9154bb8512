#include "settings/SameConditionDialog.h"

#include "core/SettingsStore.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace stolvar {

SameConditionDialog::SameConditionDialog(const SettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    if (settings.readBool(keys::kCountFromCastingDay))
        m_fromCastingDay->setChecked(true);
    else
        m_fromNextDay->setChecked(true);
}

void SameConditionDialog::done(int result)
{
    m_settings.write(keys::kCountFromCastingDay, SettingsStore::BoolText(m_fromCastingDay->isChecked()));
    m_settings.write(keys::kCountFromNextDay, SettingsStore::BoolText(m_fromNextDay->isChecked()));
    QDialog::done(result);
}

} // namespace stolvar
