#include "core/AutoStart.h"
#include "settings/ColourPicker.h"
#include "settings/DisplayColours.h"
#include "settings/DisplaySettingsDialog.h"
#include "settings/OptionsController.h"
#include "settings/SameConditionDialog.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

TEST(SameConditionDialog, FirstRunSelectsNextDayAndClosingWritesBothKeys)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    {
        SameConditionDialog dialog(settings);
        EXPECT_TRUE(dialog.fromNextDay()->isChecked());
        dialog.reject();
    }
    EXPECT_EQ(settings.read(keys::kCountFromCastingDay), "假");
    EXPECT_EQ(settings.read(keys::kCountFromNextDay), "真");
    {
        SameConditionDialog dialog(settings);
        dialog.fromCastingDay()->setChecked(true);
        dialog.reject();
    }
    SameConditionDialog again(settings);
    EXPECT_TRUE(again.fromCastingDay()->isChecked());
    EXPECT_EQ(settings.read(keys::kCountFromNextDay), "假");
}

// "桌面通知" is on by default and is written only when the clerk changes it.
TEST(SameConditionDialog, DesktopNotificationIsOnUntilTurnedOff)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    const struct {
        bool check;
        const char* stored;
    } steps[] = {{true, "missing"}, {false, "假"}, {false, "假"}, {true, "真"}};
    for (const auto& step : steps) {
        SameConditionDialog dialog(settings);
        EXPECT_EQ(dialog.desktopNotification()->objectName(), "桌面通知");
        EXPECT_EQ(dialog.desktopNotification()->text(), "到期时显示桌面通知");
        dialog.desktopNotification()->setChecked(step.check);
        dialog.reject();
        EXPECT_EQ(settings.read(keys::kDesktopNotification, "missing"), step.stored) << step.stored;
        SameConditionDialog again(settings);
        EXPECT_EQ(again.desktopNotification()->isChecked(), step.check);
        again.reject();
    }
}

TEST(SameConditionDialog, ASettingThatCannotBeStoredIsReported)
{
    const SettingsStore settings(QStringLiteral("/nonexistent-folder/Temp.ini"));
    test::ScriptedMessages messages;
    SameConditionDialog dialog(settings, nullptr, &messages);
    dialog.desktopNotification()->setChecked(false);
    dialog.reject();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.lastText(), "桌面通知设置无法保存到Temp.ini。");
}

TEST(SameConditionDialog, TheStandardRuleIsOffByDefaultAndStoredOnlyWhenSwitched)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    {
        SameConditionDialog dialog(settings);
        const auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("国标算法"));
        ASSERT_EQ(box, dialog.standardRule());
        EXPECT_EQ(box->text(), QStringLiteral("按GB 50204-2015计算（0℃及以下不计入，不少于14天）"));
        EXPECT_FALSE(box->isChecked());
        dialog.reject();
        EXPECT_FALSE(dialog.ruleChanged());
    }
    // Untouched: no key is written, so the file stays as older releases wrote it.
    EXPECT_EQ(settings.read(keys::kStandardRule, QStringLiteral("<none>")), "<none>");
    {
        SameConditionDialog dialog(settings);
        dialog.standardRule()->setChecked(true);
        dialog.reject();
        EXPECT_TRUE(dialog.ruleChanged());
        EXPECT_FALSE(dialog.saveFailed());
    }
    EXPECT_EQ(settings.read(keys::kStandardRule), "真");
    SameConditionDialog again(settings);
    EXPECT_TRUE(again.standardRule()->isChecked());
    again.standardRule()->setChecked(false);
    again.reject();
    EXPECT_EQ(settings.read(keys::kStandardRule), "假");
}

TEST(DisplaySettings, PickedColoursAreStoredAsDecimalAndShownAtOnce)
{
    test::MainWindowFixture f;
    f.start();
    DisplaySettingsDialog dialog(f.ctx().settings, f.window->colourTargets());
    QObject::connect(&dialog, &DisplaySettingsDialog::coloursChanged,
                     [&] { ApplyDisplayColours(f.ctx().settings, f.window->colourTargets()); });
    dialog.picker(6)->setColour(QColor(255, 0, 0), true);
    EXPECT_EQ(f.settings().read(keys::kColour6), "255");
    EXPECT_EQ(f.ui().registerUi.tree->palette().color(QPalette::Text), QColor(255, 0, 0));
    dialog.picker(2)->setColour(QColor(0, 0, 255), true);
    EXPECT_EQ(f.settings().read(keys::kColour2), "16711680");
    EXPECT_EQ(f.ui().reminderUi.recentPoursBox->palette().color(QPalette::Base), QColor(0, 0, 255));
}

TEST(DisplaySettings, OpeningWritesTheFontSizesBackUnchanged)
{
    test::MainWindowFixture f;
    f.settings().write(keys::kTitleFontSize, "18");
    f.start();
    DisplaySettingsDialog dialog(f.ctx().settings, f.window->colourTargets());
    EXPECT_EQ(dialog.titleSizeBox()->text(), "18");
    EXPECT_EQ(f.settings().read(keys::kTitleFontSize, "missing"), "18");
    EXPECT_EQ(f.settings().read(keys::kTableFontSize, "missing"), "");
    EXPECT_EQ(f.settings().read(keys::kStandardFontSize, "missing"), "");
    QSignalSpy frames(&dialog, &DisplaySettingsDialog::table1FontsChanged);
    dialog.tableSizeBox()->setText("10");
    EXPECT_EQ(f.settings().read(keys::kTableFontSize), "10");
    EXPECT_EQ(frames.count(), 1);
}

// A colour key that is missing or empty leaves the platform's colour (a first start
// shows ordinary white boxes); a stored colour, black included, is shown as stored.
TEST(DisplayColours, WithoutAStoredColourThePlatformColourStays)
{
    test::MainWindowFixture f;
    f.settings().write(keys::kColour3, "65280");   // green
    f.settings().write(keys::kColour2, "");
    f.settings().write(keys::kColour4, "0");
    f.start();
    const QPalette platform = QApplication::palette(f.ui().registerUi.tree);
    EXPECT_NE(platform.color(QPalette::Base), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(f.ui().registerUi.tree->palette().color(QPalette::Base), platform.color(QPalette::Base));
    EXPECT_EQ(f.ui().registerUi.tree->palette().color(QPalette::Text), platform.color(QPalette::Text));
    EXPECT_EQ(f.ui().reminderUi.standardDueBox->palette().color(QPalette::Base), QApplication::palette(f.ui().reminderUi.standardDueBox).color(QPalette::Base));
    EXPECT_EQ(f.ui().reminderUi.recentPoursBox->palette().color(QPalette::Base), QApplication::palette(f.ui().reminderUi.recentPoursBox).color(QPalette::Base));
    EXPECT_EQ(f.ui().weatherUi.todayLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(f.ui().weatherUi.todayLabel->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(f.ui().weatherUi.futureLabels[3]->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(f.ui().weatherUi.cityBox->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST(Options, LeadTimeIsStoredAtOnceAndRestoredAtTheNextStart)
{
    test::MainWindowFixture f;
    {
        f.start();
        QSignalSpy scans(&f.window->options(), &OptionsController::dueScanRequested);
        QSignalSpy sameScans(&f.window->options(), &OptionsController::sameConditionScanRequested);
        f.ui().optionsUi.leadDaysBox->setText("7");
        EXPECT_EQ(f.settings().read(keys::kLeadDays), "7");
        EXPECT_EQ(scans.count(), 1);
        EXPECT_EQ(sameScans.count(), 1);
        f.ui().optionsUi.autoMailBox->click();
        EXPECT_EQ(scans.count(), 2);
        EXPECT_FALSE(f.ui().frame.reminderTimer->isActive());   // the timer waits for the next start
        f.window->close();
    }
    f.start();
    EXPECT_EQ(f.ui().optionsUi.leadDaysBox->text(), "7");
    EXPECT_TRUE(f.ui().optionsUi.autoMailBox->isChecked());
    EXPECT_TRUE(f.ui().frame.reminderTimer->isActive());
    EXPECT_EQ(f.ui().frame.reminderTimer->interval(), 300000);
}

class AutoStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QFile exe(program.file("stol var$`x\""));
        ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
        executable = exe.fileName();
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous); }

    test::TempHome config;
    test::TempHome program;
    QString executable;
    QByteArray previous;
};

TEST_F(AutoStartTest, EntryIsCreatedInTheUsersAutostartFolderAndRemoved)
{
    ASSERT_TRUE(RegisterAutoStart(executable));
    const QString entry = config.file("autostart/stol var$`x\".desktop");
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // Inside the quotes $, ` and " take a backslash, which the string escaping of the
    // value doubles.
    EXPECT_TRUE(text.contains("Exec=\"" + program.path() + "/stol var\\\\$\\\\`x\\\\\"\"\n")) << text.toStdString();
    EXPECT_TRUE(RegisterAutoStart(executable));   // written again, overwriting
    EXPECT_TRUE(RemoveAutoStart(executable));
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(RegisterAutoStart(program.file("missing")));
    EXPECT_FALSE(QFile::exists(config.file("autostart/missing.desktop")));
}

// Desktop-entry rules: quotes, backslash, $ and ` escaped inside the quotes, every
// backslash doubled again for the string value, % doubled, spaces kept inside the quotes.
TEST(DesktopExec, ArgumentsAreQuotedAndEscaped)
{
    const struct {
        const char* argument;
        const char* value;
    } rows[] = {
        {"/opt/stolvar", "\"/opt/stolvar\""},
        {"/opt/my stolvar", "\"/opt/my stolvar\""},
        {"/opt/100%", "\"/opt/100%%\""},
        {"/opt/a\\b", "\"/opt/a\\\\\\\\b\""},
        {"/opt/say \"hi\"", "\"/opt/say \\\\\"hi\\\\\"\""},
        {"/opt/$HOME`x`", "\"/opt/\\\\$HOME\\\\`x\\\\`\""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DesktopExecQuote(QString::fromUtf8(row.argument)), QString::fromUtf8(row.value)) << row.argument;
}

TEST_F(AutoStartTest, AnotherProgramFolderIsPassedThroughEnv)
{
    test::TempHome folder;
    const QString home = folder.path() + "/工地 100%";
    EXPECT_EQ(AutoStartCommand(executable, home),
              "env \"STOLVAR_HOME=" + home.chopped(1) + "%%\" " + DesktopExecQuote(executable));
    EXPECT_EQ(AutoStartCommand(executable, program.path()), DesktopExecQuote(executable)) << "its own folder";
    EXPECT_EQ(AutoStartCommand(executable, QString()), DesktopExecQuote(executable));
    ASSERT_TRUE(RegisterAutoStart(executable, home));
    QFile file(AutoStartEntryPath(executable));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains("\nExec=env \"STOLVAR_HOME="));
}

// The autostart folder cannot be made (a file is in its place, which stops root too):
// the box is unticked and the message says why.
TEST_F(AutoStartTest, AFailedWriteUnticksTheBoxAndSaysWhy)
{
    QFile blocker(config.file("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(RegisterAutoStart(executable, {}, &error));
    EXPECT_TRUE(error.contains(config.file("autostart"))) << error.toStdString();

    test::MainWindowFixture f;
    f.start();
    QCheckBox* box = f.ui().optionsUi.autoStartBox;
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(f.messages->lastText().startsWith(AutoStartFailedText())) << f.messages->lastText().toStdString();
    EXPECT_TRUE(f.messages->lastText().contains(config.file("autostart")));
}

} // namespace
} // namespace stolvar
