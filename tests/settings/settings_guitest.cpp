#include "settings/AutoStart.h"
#include "settings/ColourPicker.h"
#include "settings/DisplayColours.h"
#include "settings/DisplaySettingsDialog.h"
#include "settings/OptionsController.h"
#include "settings/SameConditionDialog.h"
#include "support/MainWindowFixture.h"

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

TEST(DisplaySettings, PickedColoursAreStoredAsDecimalAndShownAtOnce)
{
    test::MainWindowFixture f;
    f.start();
    DisplaySettingsDialog dialog(f.ctx().settings, f.ui());
    QObject::connect(&dialog, &DisplaySettingsDialog::coloursChanged,
                     [&] { ApplyDisplayColours(f.ctx().settings, f.ui()); });
    dialog.picker(6)->setColour(QColor(255, 0, 0), true);
    EXPECT_EQ(f.settings().read(keys::kColour6), "255");
    EXPECT_EQ(f.ui().tree->palette().color(QPalette::Text), QColor(255, 0, 0));
    dialog.picker(2)->setColour(QColor(0, 0, 255), true);
    EXPECT_EQ(f.settings().read(keys::kColour2), "16711680");
    EXPECT_EQ(f.ui().recentPoursBox->palette().color(QPalette::Base), QColor(0, 0, 255));
}

TEST(DisplaySettings, OpeningWritesTheFontSizesBackUnchanged)
{
    test::MainWindowFixture f;
    f.settings().write(keys::kTitleFontSize, "18");
    f.start();
    DisplaySettingsDialog dialog(f.ctx().settings, f.ui());
    EXPECT_EQ(dialog.titleSizeBox()->text(), "18");
    EXPECT_EQ(f.settings().read(keys::kTitleFontSize, "missing"), "18");
    EXPECT_EQ(f.settings().read(keys::kTableFontSize, "missing"), "");
    EXPECT_EQ(f.settings().read(keys::kStandardFontSize, "missing"), "");
    QSignalSpy frames(&dialog, &DisplaySettingsDialog::table1FontsChanged);
    dialog.tableSizeBox()->setText("10");
    EXPECT_EQ(f.settings().read(keys::kTableFontSize), "10");
    EXPECT_EQ(frames.count(), 1);
}

TEST(DisplayColours, BackgroundsWithoutAStoredColourTurnGrey)
{
    test::MainWindowFixture f;
    f.settings().write(keys::kColour3, "65280");   // green
    f.start();
    EXPECT_EQ(f.ui().tree->palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(f.ui().todayLabel->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(f.ui().futureLabels[3]->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(f.ui().cityBox->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST(Options, LeadTimeIsStoredAtOnceAndRestoredAtTheNextStart)
{
    test::MainWindowFixture f;
    {
        f.start();
        QSignalSpy scans(&f.window->options(), &OptionsController::dueScanRequested);
        QSignalSpy sameScans(&f.window->options(), &OptionsController::sameConditionScanRequested);
        f.ui().leadDaysBox->setText("7");
        EXPECT_EQ(f.settings().read(keys::kLeadDays), "7");
        EXPECT_EQ(scans.count(), 1);
        EXPECT_EQ(sameScans.count(), 1);
        f.ui().autoMailBox->click();
        EXPECT_EQ(scans.count(), 2);
        EXPECT_FALSE(f.ui().reminderTimer->isActive());   // the timer waits for the next start
        f.window->close();
    }
    f.start();
    EXPECT_EQ(f.ui().leadDaysBox->text(), "7");
    EXPECT_TRUE(f.ui().autoMailBox->isChecked());
    EXPECT_TRUE(f.ui().reminderTimer->isActive());
    EXPECT_EQ(f.ui().reminderTimer->interval(), 300000);
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
    EXPECT_TRUE(text.contains("Exec=\"" + program.path() + "/stol var\\$\\`x\\\"\"")) << text.toStdString();
    EXPECT_TRUE(RegisterAutoStart(executable));   // written again, overwriting
    EXPECT_TRUE(RemoveAutoStart(executable));
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(RegisterAutoStart(program.file("missing")));
    EXPECT_FALSE(QFile::exists(config.file("autostart/missing.desktop")));
}

} // namespace
} // namespace stolvar
