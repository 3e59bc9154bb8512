#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace stolvar {

class Messages;
class SettingsStore;

// "同养记录设置": whether same-condition temperatures are counted from the casting day
// or from the day after it, whether the national standard's rule applies and whether due
// specimens are announced on the desktop, and the conversion factor of same-condition
// strengths. The choices are stored when the dialog closes; a factor outside 0.95 … 1.10
// keeps the dialog open.
class SameConditionDialog : public QDialog
{
    Q_OBJECT
public:
    // A failed write is reported through `messages` when given.
    explicit SameConditionDialog(const SettingsStore& settings, QWidget* parent = nullptr,
                                 Messages* messages = nullptr);

    QRadioButton* fromCastingDay() const { return m_fromCastingDay; }
    QRadioButton* fromNextDay() const { return m_fromNextDay; }
    QCheckBox* desktopNotification() const { return m_desktopNotification; }
    QCheckBox* standardRule() const { return m_standardRule; }
    QLineEdit* conversionFactor() const { return m_conversionFactor; }

    void done(int result) override;
    // After closing: the counting rule was switched and stored, or could not be stored.
    bool ruleChanged() const { return m_ruleChanged; }
    bool saveFailed() const { return m_saveFailed; }
    bool conversionChanged() const { return m_conversionChanged; }

private:
    // Stores a changed factor; false (with a message) when the typed one is refused.
    bool storeConversionFactor();

    const SettingsStore& m_settings;
    QRadioButton* m_fromCastingDay;
    QRadioButton* m_fromNextDay;
    QCheckBox* m_desktopNotification;
    Messages* m_messages;
    QCheckBox* m_standardRule;
    QLineEdit* m_conversionFactor;
    bool m_ruleChanged = false;
    bool m_conversionChanged = false;
    bool m_saveFailed = false;
};

} // namespace stolvar
