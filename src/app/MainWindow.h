#pragma once

#include "app/WindowWidgets.h"
#include "ui/AppContext.h"

#include <QMainWindow>

#include <memory>

class QSystemTrayIcon;

namespace stolvar {

class BackupController;
struct ColourTargets;
class CuringController;
class DatabaseController;
class EvaluationController;
class GroupEditor;
class OptionsController;
class ProportionalLayout;
class RegisterController;
class ReminderController;
class ResultsController;
class StartHint;
class TransferController;
class VersionController;
class WorklistController;
class WeatherController;
class FirstPainting;

// The one main window: builds the controls, routes every command to the subsystem
// that does the work, and runs the start-up and shutdown sequences.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Environment env, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return m_ctx; }
    WindowWidgets& widgets() { return m_ui; }
    RegisterController& registerView() { return *m_register; }
    DatabaseController& database() { return *m_database; }
    BackupController& backups() { return *m_backups; }
    OptionsController& options() { return *m_options; }
    ProportionalLayout& proportionalLayout() { return *m_layout; }
    WeatherController& weather() { return *m_weather; }
    ReminderController& reminders() { return *m_reminders; }
    WorklistController& worklist() { return *m_worklist; }
    ResultsController& results() { return *m_results; }
    EvaluationController& evaluation() { return *m_evaluation; }

    // True once the start-up sequence has run to its end (the last database is opened
    // in the background, so the window shows before its data).
    bool isStartedUp() const { return m_startedUp; }

    // False when work was still running at the end of the shutdown wait: the process
    // then ends without waiting for it.
    bool allWorkFinished() const { return !m_workLeftRunning; }

    // Tray double-click: shows the window maximised.
    void showFromTray();
    // A click on the desktop notification: the window comes back, in front.
    void showFromNotification();
    // The controls the display colours reach: the tree, the reminder boxes, the weather area.
    ColourTargets colourTargets() const;
    // Shown over the middle list while no project database is open.
    StartHint* startHint() const { return m_startHint; }

signals:
    void startedUp();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Captures the proportions of every control (done once, when first shown).
    void captureLayout();
    void buildMenus();
    void buildTray();
    void buildStartHint();
    void connectSplitters();
    void connectControllers();
    void connectRegisterChanges();
    void connectStrength();
    void holdBackgroundWorkUntilPainted();
    void startUp();
    void finishStartUp(bool databaseOpened);
    void shutDown();
    void watchSettingsWrites();
    void showSettingsWriteFailure(const QString& path, const QString& reason);
    void showDisplaySettings();
    void showSameConditionSettings();
    void onDatabaseOpened();

    AppContext m_ctx;
    WindowWidgets m_ui;
    std::unique_ptr<DatabaseController> m_database;
    std::unique_ptr<BackupController> m_backups;
    std::unique_ptr<RegisterController> m_register;
    std::unique_ptr<GroupEditor> m_editor;
    std::unique_ptr<OptionsController> m_options;
    std::unique_ptr<WeatherController> m_weather;
    std::unique_ptr<VersionController> m_version;
    std::unique_ptr<CuringController> m_curing;
    std::unique_ptr<TransferController> m_transfers;
    std::unique_ptr<ReminderController> m_reminders;
    std::unique_ptr<WorklistController> m_worklist;
    std::unique_ptr<ResultsController> m_results;
    std::unique_ptr<EvaluationController> m_evaluation;
    ProportionalLayout* m_layout = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    StartHint* m_startHint = nullptr;
    FirstPainting* m_firstPainting = nullptr;
    bool m_shutDown = false;
    bool m_startedUp = false;
    bool m_workLeftRunning = false;
    bool m_settingsFailureShown = false;
};

// Shutdown waits this long for background work; network requests are aborted at once,
// so only a blocked mail conversation can take longer.
inline constexpr int kShutdownWaitMs = 1200;

// The status bar text for a Temp.ini that could not be written, and why ("磁盘已满").
QString SettingsWriteFailedText(const QString& path, const QString& reason = {});
// The message at start-up for a Temp.ini over 1 MB, which the program leaves as it is.
QString SettingsTooLargeText(const QString& path);

} // namespace stolvar
