#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace stolvar {

class SettingsStore;

// "同养记录设置": whether same-condition temperatures are counted from the casting day
// or from the day after it, and whether the national standard's rule applies. The
// choices are stored when the dialog closes.
class SameConditionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SameConditionDialog(const SettingsStore& settings, QWidget* parent = nullptr);

    QRadioButton* fromCastingDay() const { return m_fromCastingDay; }
    QRadioButton* fromNextDay() const { return m_fromNextDay; }
    QCheckBox* standardRule() const { return m_standardRule; }

    void done(int result) override;
    // After closing: the counting rule was switched and stored, or could not be stored.
    bool ruleChanged() const { return m_ruleChanged; }
    bool saveFailed() const { return m_saveFailed; }

private:
    const SettingsStore& m_settings;
    QRadioButton* m_fromCastingDay;
    QRadioButton* m_fromNextDay;
    QCheckBox* m_standardRule;
    bool m_ruleChanged = false;
    bool m_saveFailed = false;
};

} // namespace stolvar
