#include "app/MainWindow.h"

#include "app/About.h"
#include "app/AppIcon.h"
#include "app/FirstPainting.h"
#include "app/MainWidgetsBuilder.h"
#include "app/ProportionalLayout.h"
#include "app/StartHint.h"
#include "curing/CuringController.h"
#include "curing/TransferController.h"
#include "curing/WeatherController.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "register/BackupController.h"
#include "register/DatabaseController.h"
#include "register/GroupEditor.h"
#include "register/RegisterController.h"
#include "remind/ReminderController.h"
#include "remind/WorklistController.h"
#include "settings/DisplayColours.h"
#include "settings/DisplaySettingsDialog.h"
#include "settings/OptionsController.h"
#include "settings/SameConditionDialog.h"
#include "strength/EvaluationController.h"
#include "strength/ResultsController.h"
#include "ui/Pages.h"
#include "ui/SplitterBar.h"
#include "version/VersionController.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QItemSelectionModel>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableWidget>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <utility>

namespace stolvar {

namespace {

// What a pane keeps when a bar is dragged against it: a few characters of its texts.
constexpr int kLeastPaneWidth = 120;
// The start-up's background work (the register's check, the due scans, the worklist, the
// evaluation, the mail store) runs one task at a time until the window is painted filled:
// on two cores, four of them beside the UI thread delayed that painting by a tenth at
// 20,000 groups and a quarter at 100,000. A window never exposed holds them no longer.
constexpr int kStartHoldLimitMs = 1000;

} // namespace

MainWindow::MainWindow(Environment env, QWidget* parent) : QMainWindow(parent), m_ctx(std::move(env))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(ProgramTitle());
    setWindowIcon(AppIcon());
    m_ctx.window = this;
    holdBackgroundWorkUntilPainted();
    watchSettingsWrites();
    BuildMainWidgets(this, m_ui);
    buildMenus();
    resize(kDesignWidth, 725 + menuBar()->sizeHint().height());
    m_layout = new ProportionalLayout(m_ui.frame.central);

    m_database = std::make_unique<DatabaseController>(m_ctx, m_ui.registerUi);
    m_backups = std::make_unique<BackupController>(m_ctx, m_ui.registerUi, *m_database);
    m_register = std::make_unique<RegisterController>(m_ctx, m_ui.registerUi);
    m_editor = std::make_unique<GroupEditor>(m_ctx, m_ui.registerUi, *m_register);
    m_options = std::make_unique<OptionsController>(m_ctx, m_ui.optionsUi, QCoreApplication::applicationFilePath());
    m_weather = std::make_unique<WeatherController>(m_ctx, m_ui.weatherUi);
    m_version = std::make_unique<VersionController>(m_ctx, m_ui.frame.statusParts[kVersionPart]);
    m_curing = std::make_unique<CuringController>(m_ctx, m_ui.curingUi);
    m_transfers = std::make_unique<TransferController>(m_ctx, m_ui.curingUi, *m_curing);
    m_reminders = std::make_unique<ReminderController>(m_ctx, m_ui.reminderUi);
    m_worklist = std::make_unique<WorklistController>(m_ctx, m_ui.worklistUi);
    m_results = std::make_unique<ResultsController>(m_ctx, m_ui.resultsUi);
    m_evaluation = std::make_unique<EvaluationController>(m_ctx, m_ui.evaluationUi);
    buildStartHint();
    connectSplitters();
    connectControllers();
    m_curing->applyTable1Frame();   // the form's frame is there before its page is ever shown
    startUp();
}

MainWindow::~MainWindow()
{
    shutDown();
}

void MainWindow::holdBackgroundWorkUntilPainted()
{
    m_ctx.tasks.holdTo(1);
    m_firstPainting = new FirstPainting(this, [this] { return m_startedUp; }, kStartHoldLimitMs,
                                        [this] { m_ctx.tasks.release(); });
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("新建(&N)"), this, [this] { m_database->showNewDatabaseDialog(); });
    file->addAction(QStringLiteral("打开(&O)"), this, [this] { m_database->openProjectDatabase(); });
    file->addAction(QStringLiteral("标养打印"), this, [this] { m_register->printStandardList(); });
    file->addAction(QStringLiteral("同养表1打印"), this, [this] { m_curing->printTable1(); });
    file->addAction(QStringLiteral("同养表2打印"), this, [this] { m_curing->printTable2(); });
    file->addAction(QStringLiteral("成熟度曲线打印"), this, [this] { m_curing->printCurve(); });
    file->addAction(QStringLiteral("强度评定打印"), this, [this] { m_evaluation->print(); });
    file->addAction(QStringLiteral("导入温度记录…"), this, [this] { m_transfers->importLoggerFile(); });
    file->addAction(QStringLiteral("导出Excel…"), this, [this] { m_transfers->exportWorkbook(); });
    file->addAction(QStringLiteral("立即备份"), this, [this] { m_backups->backupNow(); });
    file->addAction(QStringLiteral("恢复备份…"), this, [this] { m_backups->openRestoreDialog(); });

    QMenu* settings = menuBar()->addMenu(QStringLiteral("设置(&E)"));
    settings->addAction(QStringLiteral("邮箱账号设置"), this, [this] { m_reminders->openMailDialog(); });
    settings->addAction(QStringLiteral("删除温度记录"), this, [this] { m_curing->openDeleteDialog(); });
    settings->addAction(QStringLiteral("显示设置"), this, &MainWindow::showDisplaySettings);
    settings->addAction(QStringLiteral("系统设置"), this, &MainWindow::showSameConditionSettings);

    m_ui.frame.helpMenu = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    m_ui.frame.helpMenu->addAction(QStringLiteral("关于"), this, [this] { ShowAbout(this, m_ctx.messages()); });
    m_ui.frame.helpMenu->addAction(QStringLiteral("退出"), this, &QWidget::close);

    QMenu* update = menuBar()->addMenu(QStringLiteral("更新"));
    update->addAction(QStringLiteral("下载新版本"), this, [this] { m_version->openPage(); });
    update->addAction(QStringLiteral("升级数据库"), this, [this] { m_database->upgradeProjectDatabase(); });

    for (QAction* action : menuBar()->findChildren<QAction*>())
        action->setObjectName(action->text());
}

void MainWindow::buildTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip(QStringLiteral("双击弹出窗口"));
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            showFromTray();
        else if (reason == QSystemTrayIcon::Context)
            m_ui.frame.helpMenu->popup(QCursor::pos());
    });
    m_tray->show();
}

void MainWindow::showFromTray()
{
    if (m_tray)
        m_tray->show();
    showMaximized();
    raise();
    activateWindow();
}

void MainWindow::showFromNotification()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// Hidden from the start when the last database opens; shown if none did.
void MainWindow::buildStartHint()
{
    m_startHint = new StartHint(m_ui.registerUi.standardList);
    m_startHint->hide();
    connect(m_startHint, &StartHint::newDatabaseRequested, this, [this] { m_database->showNewDatabaseDialog(); });
    connect(m_startHint, &StartHint::openDatabaseRequested, this, [this] { m_database->openProjectDatabase(); });
}

// The bars move the border between two panes: the pane on one side grows by what the other
// loses, so the middle list never slides under the tree or the tabs; each keeps a least width.
void MainWindow::connectSplitters()
{
    const FrameWidgets& frame = m_ui.frame;
    const RegisterWidgets& reg = m_ui.registerUi;
    connect(frame.splitter1, &SplitterBar::moved, this, [&reg, &frame](int oldX, int newX) {
        const int listRight = reg.standardList->geometry().right();
        const int x = std::clamp(newX, reg.tree->x() + kLeastPaneWidth, listRight - kLeastPaneWidth - 5);
        frame.splitter1->move(x, frame.splitter1->y());
        reg.tree->resize(reg.tree->width() + x - oldX, reg.tree->height());
        for (QWidget* w : {static_cast<QWidget*>(reg.standardList), static_cast<QWidget*>(reg.listCaption)})
            w->setGeometry(x + 5, w->y(), listRight - x - 4, w->height());
    });
    connect(frame.splitter2, &SplitterBar::moved, this, [&reg, &frame](int, int newX) {
        const int tabsRight = frame.tabs->geometry().right();
        const int x = std::clamp(newX, reg.standardList->x() + kLeastPaneWidth + 1, tabsRight - kLeastPaneWidth - 5);
        frame.splitter2->move(x, frame.splitter2->y());
        for (QWidget* w : {static_cast<QWidget*>(reg.standardList), static_cast<QWidget*>(reg.listCaption)})
            w->resize(x - w->x() - 1, w->height());
        frame.tabs->setGeometry(x + 5, frame.tabs->y(), tabsRight - x - 4, frame.tabs->height());
    });
}

void MainWindow::connectControllers()
{
    connect(m_database.get(), &DatabaseController::opened, this, &MainWindow::onDatabaseOpened);
    connect(m_database.get(), &DatabaseController::projectCountsCorrected, m_register.get(),
            &RegisterController::fillProjectTree);
    connect(m_options.get(), &OptionsController::collectWeatherRequested, m_weather.get(), &WeatherController::collect);
    m_weather->connectControls();
    connect(m_weather.get(), &WeatherController::networkReached, m_version.get(), &VersionController::check);
    m_curing->connectControls();
    m_curing->setAfterAddition([this] { m_weather->collect(); });
    QTabWidget* tabs = m_ui.frame.tabs;
    m_curing->setShownPage([tabs] { return tabs->currentIndex(); });
    connect(tabs, &QTabWidget::currentChanged, m_register.get(), &RegisterController::onPageShown);
    connect(m_register.get(), &RegisterController::groupShown, m_curing.get(), &CuringController::showGroup);
    m_transfers->setStandardList([this] { return m_ui.registerUi.standardList; });
    if (auto* import = menuBar()->findChild<QAction*>(QStringLiteral("导入温度记录…")))
        connect(m_transfers.get(), &TransferController::importRunningChanged, import,
                [import](bool running) { import->setEnabled(!running); });
    m_reminders->setLeadDaysSource([this] { return m_options->leadDays(); });
    m_worklist->setLeadDaysSource([this] { return m_options->leadDays(); });
    connect(m_worklist.get(), &WorklistController::groupRequested, m_register.get(), &RegisterController::selectPosition);
    connectRegisterChanges();
    connectStrength();
    connect(m_options.get(), &OptionsController::reminderTimerRequested, this,
            [this] { m_ui.frame.reminderTimer->start(kReminderPeriodMs); });
    connect(m_options.get(), &OptionsController::dueScanRequested, m_reminders.get(),
            &ReminderController::scanDueSpecimens);
    connect(m_ui.frame.reminderTimer, &QTimer::timeout, m_reminders.get(), &ReminderController::scanDueSpecimens);
    connect(m_register.get(), &RegisterController::table1PageShown, m_curing.get(), &CuringController::applyTable1Frame);
    connect(m_register.get(), &RegisterController::curvePageShown, m_curing.get(), &CuringController::makeCurveChart);
    connect(m_reminders.get(), &ReminderController::notificationActivated, this, &MainWindow::showFromNotification);
}

// After every change of groups or temperatures, whoever made it, every view that shows a
// group follows: the reminder boxes and the worklist (the panel and the tables of the
// selected group are refreshed by the change's own controller).
void MainWindow::connectRegisterChanges()
{
    const auto rescan = [this] {
        m_reminders->scanDueSpecimens();
        m_worklist->refresh();
        m_evaluation->refresh();
    };
    connect(m_editor.get(), &GroupEditor::registerChanged, this, rescan);
    connect(m_worklist.get(), &WorklistController::registerChanged, this, [this, rescan] {
        m_register->onTreeSelectionChanged();
        rescan();
    });
    connect(m_curing.get(), &CuringController::temperaturesChanged, this, rescan);
    connect(m_weather.get(), &WeatherController::runFinished, this, rescan);
    connect(m_options.get(), &OptionsController::dueScanRequested, m_worklist.get(), &WorklistController::refresh);
    connect(m_ui.frame.reminderTimer, &QTimer::timeout, m_worklist.get(), &WorklistController::refresh);
}

// The selected group's results follow the panel; the evaluation page reads the register when
// shown and again after every saved result.
void MainWindow::connectStrength()
{
    connect(m_register.get(), &RegisterController::groupShown, m_results.get(), &ResultsController::showGroup);
    connect(m_ui.registerUi.tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        m_results->setPositionSelected(m_register->parentIndex(m_register->selectedNodeIndex()) >= 0);
    });
    QTabWidget* tabs = m_ui.frame.tabs;
    m_evaluation->setShownCheck([tabs] { return tabs->currentIndex() == kStrengthPage; });
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == kStrengthPage)
            m_evaluation->pageShown(m_ctx.selection.projectName);
    });
    connect(m_results.get(), &ResultsController::resultsChanged, m_evaluation.get(), &EvaluationController::refresh);
    // An older register gains its results table with the check that follows its opening.
    connect(m_database.get(), &DatabaseController::checked, this, [this] {
        m_results->refreshLabel();
        m_evaluation->refresh();
    });
    connect(m_evaluation.get(), &EvaluationController::groupRequested, m_register.get(), &RegisterController::selectPosition);
}

void MainWindow::onDatabaseOpened()
{
    m_startHint->hide();
    // The indexes, the source column of the days and the results table come with the check
    // of the file (DatabaseController), before anything is written to it.
    m_results->forgetGroup();
    if (auto tree = m_database->takePreloadedTree())
        m_register->showProjectTree(std::move(*tree));
    else
        m_register->fillProjectTree();
    m_curing->showLastTemperatureDay();
    m_worklist->refresh();
    m_evaluation->refresh();
}

void MainWindow::startUp()
{
    buildTray();
    m_database->openLastProjectDatabase([this](bool opened) { finishStartUp(opened); });
}

void MainWindow::finishStartUp(bool databaseOpened)
{
    // A successful open fills the tree already; filling it again would change nothing.
    if (!databaseOpened)
        m_register->fillProjectTree();
    m_reminders->listRecentPours();
    ApplyDisplayColours(m_ctx.settings, colourTargets());
    m_options->restoreOptions();
    m_startHint->setVisible(!m_ctx.db);
    // The mail store derives a key of its own: only once the window is filled, so that it
    // does not compete with the project database for the processor. A mail asked for
    // before it is read waits for it.
    m_reminders->loadMailSettings();
    if (m_ctx.settings.isTooLarge())
        m_ctx.messages().show(this, SettingsTooLargeText(m_ctx.settings.path()), Messages::DefaultTitle(),
                              Messages::Icon::Warning);
    m_startedUp = true;
    // A window not shown by the time the event loop runs (the program shows it right after
    // building it) has nothing to paint: the work need not wait.
    QTimer::singleShot(0, m_firstPainting, [this] {
        if (!isVisible())
            m_firstPainting->finish();
    });
    emit startedUp();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_firstPainting->attach(windowHandle());
    if (!m_layout->isCaptured())
        QTimer::singleShot(0, this, &MainWindow::captureLayout);
}

void MainWindow::captureLayout()
{
    if (!m_layout->isCaptured())
        m_layout->capture();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

void MainWindow::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_ui.frame.reminderTimer->stop();
    // Every edit asked for is stored first (a few milliseconds each): the backup made at the
    // close holds them.
    m_ctx.writes.finish();
    // No work starts from here on and no late result is applied; network requests in
    // flight are aborted. The window goes first; a run that still hangs (a mail server
    // that does not answer) is left behind after a short wait.
    m_firstPainting->finish();      // what is left runs side by side, within the wait
    m_backups->backUpAtClose();   // within the wait below, or not at all
    m_ctx.tasks.stop();
    hide();
    m_workLeftRunning = !m_ctx.tasks.waitForDone(kShutdownWaitMs);
    m_ctx.settings.writeWaiting();
    m_database->closeProjectDatabase();
    m_options->storeOptions();
}

void MainWindow::watchSettingsWrites()
{
    m_ctx.settings.setBackgroundWrites([pool = &m_ctx.tasks.pool()](std::function<void()> job) {
        pool->start(std::move(job));
    });
    m_ctx.settings.setWriteFailureHandler([this](const QString& path, const QString& reason) {
        QMetaObject::invokeMethod(this, [this, path, reason] { showSettingsWriteFailure(path, reason); },
                                  Qt::AutoConnection);
    });
}

// Once per run: the clerk learns that settings are not being kept, and where the file is.
void MainWindow::showSettingsWriteFailure(const QString& path, const QString& reason)
{
    if (std::exchange(m_settingsFailureShown, true))
        return;
    QLabel* part = m_ui.frame.statusParts[kVersionPart];
    part->setText(SettingsWriteFailedText(path, reason));
    part->setToolTip(part->text());
}

QString SettingsWriteFailedText(const QString& path, const QString& reason)
{
    const QString why = reason.isEmpty() ? QString() : u'（' + reason + u'）';
    return QStringLiteral("设置未能保存，请检查文件：") + QDir::toNativeSeparators(path) + why;
}

QString SettingsTooLargeText(const QString& path)
{
    return QStringLiteral("设置文件超过1 MB，程序没有读取它，也不会改写它，本次按默认设置运行：\n")
           + QDir::toNativeSeparators(path);
}

void MainWindow::showDisplaySettings()
{
    DisplaySettingsDialog dialog(m_ctx.settings, colourTargets(), this);
    connect(&dialog, &DisplaySettingsDialog::coloursChanged, this,
            [this] { ApplyDisplayColours(m_ctx.settings, colourTargets()); });
    connect(&dialog, &DisplaySettingsDialog::table1FontsChanged, m_curing.get(), &CuringController::applyTable1Frame);
    dialog.exec();
}

// The display colours reach the tree, the reminder boxes and the weather area.
ColourTargets MainWindow::colourTargets() const
{
    const ReminderWidgets& boxes = m_ui.reminderUi;
    const WeatherWidgets& weather = m_ui.weatherUi;
    ColourTargets targets;
    targets.tree = m_ui.registerUi.tree;
    targets.reminderBoxes = {boxes.standardDueBox, boxes.sameConditionDueBox, boxes.formRemovalDueBox,
                             boxes.recentPoursBox};
    targets.dayLabels = {weather.todayLabel};
    for (QLabel* label : weather.futureLabels)
        targets.dayLabels.append(label);
    targets.weatherBoxes = {weather.cityBox, m_ui.optionsUi.leadDaysBox};
    return targets;
}

void MainWindow::showSameConditionSettings()
{
    SameConditionDialog dialog(m_ctx.settings, this, &m_ctx.messages());
    dialog.exec();
    if (dialog.saveFailed())
        m_ctx.messages().show(this, QStringLiteral("设置未能保存，请检查Temp.ini是否可写。"), Messages::DefaultTitle(),
                              Messages::Icon::Warning);
    if (dialog.conversionChanged()) {
        m_results->refreshLabel();
        m_evaluation->refresh();
    }
    if (dialog.ruleChanged()) {
        m_curing->refreshAfterRuleChange();
        m_reminders->scanDueSpecimens();
        m_worklist->refresh();
        m_evaluation->refresh();
    }
}

} // namespace stolvar
