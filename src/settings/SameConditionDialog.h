#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace stolvar {

class Messages;
class SettingsStore;

// "同养记录设置": whether same-condition temperatures are counted from the casting day
// or from the day after it, and whether due specimens are announced on the desktop.
// The choices are stored when the dialog closes.
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

    void done(int result) override;

private:
    const SettingsStore& m_settings;
    QRadioButton* m_fromCastingDay;
    QRadioButton* m_fromNextDay;
    QCheckBox* m_desktopNotification;
    Messages* m_messages;
};

} // namespace stolvar
