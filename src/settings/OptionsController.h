#pragma once

#include <QObject>

namespace stolvar {

struct AppContext;
struct SettingsWidgets;

// The options at the bottom of the weather area: collect temperatures automatically,
// send reminder mail automatically, start at log-on, and the reminder lead time.
// The three check boxes reach Temp.ini at shutdown; the lead time at every change.
class OptionsController : public QObject
{
    Q_OBJECT
public:
    OptionsController(AppContext& ctx, SettingsWidgets& ui, QString executablePath, QObject* parent = nullptr);

    void restoreOptions();
    // Stores the three options; nothing before they were restored.
    void storeOptions();
    // The lead time typed into 编辑框3, in whole days.
    int leadDays() const;

signals:
    void collectWeatherRequested();     // a weather run should start in the background
    void dueScanRequested();            // a background due scan should start
    void sameConditionScanRequested();  // the same-condition reminder is rebuilt now
    void reminderTimerRequested();      // automatic mail is on: the reminder timer runs

private:
    void onLeadDaysChanged(const QString& text);
    void onAutoCollectClicked(bool checked);
    void onAutoMailClicked(bool checked);
    void onAutoStartClicked(bool checked);
    void registerAutoStart();

    AppContext& m_ctx;
    SettingsWidgets& m_ui;
    QString m_executablePath;
    bool m_restored = false;
};

// Opens the message when the start-at-log-on entry could not be written.
QString AutoStartFailedText();

// Period of the reminder timer: five minutes.
inline constexpr int kReminderPeriodMs = 300000;

} // namespace stolvar
