#pragma once

#include <QDialog>

class QRadioButton;

namespace stolvar {

class SettingsStore;

// "同养记录设置": whether same-condition temperatures are counted from the casting day
// or from the day after it. The choice is stored when the dialog closes.
class SameConditionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SameConditionDialog(const SettingsStore& settings, QWidget* parent = nullptr);

    QRadioButton* fromCastingDay() const { return m_fromCastingDay; }
    QRadioButton* fromNextDay() const { return m_fromNextDay; }

    void done(int result) override;

private:
    const SettingsStore& m_settings;
    QRadioButton* m_fromCastingDay;
    QRadioButton* m_fromNextDay;
};

} // namespace stolvar
