#include "app/MainWidgetsBuilder.h"

#include "app/WindowWidgets.h"
#include "curing/CuringPageBuilder.h"
#include "curing/forms/MaturityCurvePage.h"
#include "register/RegisterPageBuilder.h"
#include "remind/ReminderPageBuilder.h"
#include "strength/StrengthPageBuilder.h"
#include "ui/SplitterBar.h"
#include "ui/WidgetFactory.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace stolvar {

namespace {

void BuildStatusBar(QMainWindow* window, FrameWidgets& ui)
{
    ui.statusBar = new QStatusBar(window);
    ui.statusBar->setObjectName(QStringLiteral("状态条1"));
    ui.statusBar->setSizeGripEnabled(false);
    window->setStatusBar(ui.statusBar);
    const int widths[6] = {150, 110, 100, 100, 200, 600};
    const QString texts[6] = {QStringLiteral("混凝土试块管理"), QStringLiteral("数据库连接状态："),
                              QStringLiteral("未连接"), QStringLiteral("邮件发送状态："), QString(), QString()};
    for (int i = 0; i < 6; ++i) {
        auto* part = new QLabel(texts[i], ui.statusBar);
        part->setObjectName(QStringLiteral("状态条1_%1").arg(i));
        // The last part takes what the others leave, so that a small window still fits.
        if (i < 5)
            part->setFixedWidth(widths[i]);
        else
            part->setMinimumWidth(0);
        ui.statusBar->addWidget(part, i < 5 ? 0 : 1);
        ui.statusParts[size_t(i)] = part;
    }
}

} // namespace

void BuildMainWidgets(QMainWindow* window, WindowWidgets& ui)
{
    FrameWidgets& frame = ui.frame;
    frame.central = new QWidget(window);
    frame.central->setObjectName(QStringLiteral("主窗口区域"));
    frame.central->resize(kDesignWidth, kDesignHeight);
    window->setCentralWidget(frame.central);
    QWidget* c = frame.central;

    BuildRegisterList(c, ui.registerUi);
    frame.splitter1 = Place<SplitterBar>(c, QStringLiteral("分隔条1"), {150, 0, 5, 700});
    frame.splitter2 = Place<SplitterBar>(c, QStringLiteral("分隔条2"), {744, 0, 5, 700});
    frame.tabs = Place<QTabWidget>(c, QStringLiteral("高级选择夹1"), {749, 0, 608, 645});

    frame.tabs->addTab(BuildInfoPage(ui), QStringLiteral("信息提示"));
    frame.tabs->addTab(BuildTable1Page(ui.curingUi), QStringLiteral("同养表（一）"));
    frame.tabs->addTab(BuildTable2Page(ui.curingUi), QStringLiteral("同养表（二）"));
    frame.tabs->addTab(BuildDataPage(ui), QStringLiteral("数据管理"));
    frame.tabs->addTab(BuildMaturityCurvePage(ui.curingUi), QStringLiteral("成熟度曲线"));
    frame.tabs->addTab(BuildWorklistPage(ui.worklistUi), QStringLiteral("送检待办"));
    frame.tabs->addTab(BuildEvaluationPage(ui.evaluationUi), QStringLiteral("强度评定"));

    BuildStatusBar(window, frame);
    ui.registerUi.databaseState = frame.statusParts[kDatabaseStatePart];
    ui.registerUi.noticeState = frame.statusParts[kVersionPart];
    ui.reminderUi.mailState = frame.statusParts[kMailStatePart];
    frame.reminderTimer = new QTimer(window);
    frame.reminderTimer->setObjectName(QStringLiteral("时钟1"));
}

} // namespace stolvar
