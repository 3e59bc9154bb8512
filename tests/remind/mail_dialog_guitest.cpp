#include "remind/MailDialog.h"

#include "core/SettingsStore.h"

#include "support/ScriptedMessages.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

template <typename T>
T* Find(const QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

class MailDialogTest : public ::testing::Test
{
protected:
    test::TempHome home;
    test::ScriptedMessages messages;
    const QString store = home.file(QStringLiteral("help"));
};

TEST_F(MailDialogTest, ShowsTheStoredAccountUnderItsNames)
{
    MailDialog dialog(store, messages);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("设置收件人地址"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置收件人地址"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "编辑框1")->text(), QStringLiteral("smtp.example.com"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "编辑框2")->text(), QStringLiteral("25"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "编辑框3")->text(), QStringLiteral("materials"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "编辑框4")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Find<QLineEdit>(dialog, "收件人编辑框")->text(), QStringLiteral("clerk@example.com"));
    EXPECT_EQ(Find<QLabel>(dialog, "标签3")->text(),
              QStringLiteral("多个邮箱请在邮箱号后面使用\";\"（分号）或者\",\"(逗号）分割。"));
    EXPECT_EQ(Find<QPushButton>(dialog, "按钮1")->text(), QStringLiteral("保存"));
    EXPECT_EQ(Find<QPushButton>(dialog, "按钮3")->text(), QStringLiteral("保存"));
    EXPECT_EQ(Find<QPushButton>(dialog, "确定1")->text(), QStringLiteral("发送邮件"));
    QStringList boxes;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        boxes << box->title();
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("发信服务器配置"), QStringLiteral("电子邮箱配置")}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MailDialogTest, SavesToTheStoreAndHandsTheNewSettingsOver)
{
    MailDialog dialog(store, messages);
    QSignalSpy saved(&dialog, &MailDialog::settingsSaved);
    Retype(Find<QLineEdit>(dialog, "编辑框1"), QStringLiteral("smtp.site.cn"));
    Retype(Find<QLineEdit>(dialog, "编辑框2"), QStringLiteral("587"));
    Retype(Find<QLineEdit>(dialog, "编辑框3"), QStringLiteral("clerk"));
    Retype(Find<QLineEdit>(dialog, "编辑框4"), QStringLiteral("pa55"));
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮1"), Qt::LeftButton);
    Retype(Find<QLineEdit>(dialog, "收件人编辑框"), QStringLiteral("a@x.cn;b@x.cn"));
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮3"), Qt::LeftButton);

    const MailSettings expected{QStringLiteral("smtp.site.cn"), 587, QStringLiteral("clerk"), QStringLiteral("pa55"),
                                QStringLiteral("a@x.cn;b@x.cn")};
    EXPECT_EQ(LoadMailSettings(store), expected);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.last().first().value<MailSettings>(), expected);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MailDialogTest, RefusesAPortThatIsNoPort)
{
    MailDialog dialog(store, messages);
    QSignalSpy saved(&dialog, &MailDialog::settingsSaved);
    Retype(Find<QLineEdit>(dialog, "编辑框1"), QStringLiteral("smtp.site.cn"));
    Retype(Find<QLineEdit>(dialog, "编辑框2"), QStringLiteral("abc"));
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮1"), Qt::LeftButton);
    EXPECT_EQ(saved.size(), 0);
    EXPECT_EQ(LoadMailSettings(store).server, QStringLiteral("smtp.example.com"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("端口号应为1到65535之间的整数，未保存。"));
}

TEST_F(MailDialogTest, SaysSoWhenTheStoreCannotBeWritten)
{
    MailDialog dialog(store, messages);
    QSignalSpy saved(&dialog, &MailDialog::settingsSaved);
    QFile::remove(store);
    QFile foreign(store);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database");
    foreign.close();
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮3"), Qt::LeftButton);
    EXPECT_EQ(saved.size(), 0);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("收信地址保存失败："))) << qPrintable(messages.lastText());
}

TEST_F(MailDialogTest, AsksForASendingWithoutSendingItself)
{
    MailDialog dialog(store, messages);
    QSignalSpy requested(&dialog, &MailDialog::sendRequested);
    QTest::mouseClick(Find<QPushButton>(dialog, "确定1"), Qt::LeftButton);
    EXPECT_EQ(requested.size(), 1);
    // While that sending runs, the button cannot ask for another.
    dialog.setSending(true);
    QTest::mouseClick(Find<QPushButton>(dialog, "确定1"), Qt::LeftButton);
    EXPECT_EQ(requested.size(), 1);
    dialog.setSending(false);
    QTest::mouseClick(Find<QPushButton>(dialog, "确定1"), Qt::LeftButton);
    EXPECT_EQ(requested.size(), 2);
}


TEST_F(MailDialogTest, TheEncryptionIsChosenWithTheServerAndEverySaveSaysSo)
{
    const SettingsStore settings = home.settings();
    MailDialog dialog(store, messages, nullptr, &settings);
    auto* security = Find<QComboBox>(dialog, "加密方式框");
    auto* note = Find<QLabel>(dialog, "保存提示标签");
    QStringList items;
    for (int i = 0; i < security->count(); ++i)
        items << security->itemText(i);
    EXPECT_EQ(items, (QStringList{"自动", "SSL", "STARTTLS", "不加密"}));
    EXPECT_EQ(security->currentText(), QStringLiteral("自动"));
    EXPECT_TRUE(note->text().isEmpty());

    // Saving the server unchanged writes no key: a clerk who never picks one keeps 自动.
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮1"), Qt::LeftButton);
    EXPECT_EQ(note->text(), QStringLiteral("邮箱设置已保存"));
    EXPECT_EQ(settings.read(keys::kMailSecurity, "none"), "none");
    security->setCurrentText(QStringLiteral("STARTTLS"));
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮1"), Qt::LeftButton);
    EXPECT_EQ(settings.read(keys::kMailSecurity), "STARTTLS");

    note->clear();
    QTest::mouseClick(Find<QPushButton>(dialog, "按钮3"), Qt::LeftButton);
    EXPECT_EQ(note->text(), QStringLiteral("邮箱设置已保存"));
    MailDialog again(store, messages, nullptr, &settings);
    EXPECT_EQ(Find<QComboBox>(again, "加密方式框")->currentText(), QStringLiteral("STARTTLS"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
} // namespace stolvar
