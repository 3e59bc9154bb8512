#include "core/Gbk.h"
#include "model/mail/MailSender.h"
#include "model/mail/MailSettings.h"
#include "remind/ReminderController.h"
#include "support/CountingSmtpServer.h"
#include "support/FailingSettingsIo.h"
#include "support/MainWindowFixture.h"
#include "support/ScriptedSmtpServer.h"
#include "support/Wait.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// 10 May 2017, 10:00, lead time 3: a group cast on 15 April is delivered on 13 May.
class RemindersGuiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = f.prepareDatabase();
        ASSERT_TRUE(db);
        test::InsertGroup(*db, "城北花园", "二层梁板", Day(2017, 4, 15), kNotSent, kNotSent, "C30", "2", "1", "1");
        test::InsertGroup(*db, "城北花园", "已送检", Day(2017, 4, 15), kSent);
        test::InsertGroup(*db, "城北花园", "一层柱", Day(2017, 4, 13));
        // 20 ℃ a day up to 13 May: counted from the day after casting, 600 ℃·d after 30 days.
        for (int d = 0; d < 40; ++d)
            test::InsertTemperature(*db, Day(2017, 4, 4).addDays(d), 20.0, 25.0, 15.0);
        f.settings().write(keys::kLeadDays, "3");
    }

    QString mailStatus() { return f.ui().frame.statusParts[kMailStatePart]->text(); }

    // Runs one due scan and waits until it has been applied. (Waiting for the status the
    // scan's mail gate sets is not enough: the mail of an earlier scan may set it first.)
    void rescan()
    {
        f.window->reminders().scanDueSpecimens();
        for (int round = 0; round < 3; ++round) {
            f.ctx().tasks.waitForDone();
            QCoreApplication::processEvents();
        }
    }

    test::MainWindowFixture f{Day(2017, 5, 10, 10, 0)};
    std::shared_ptr<Database> db;
};

TEST_F(RemindersGuiTest, StartUpFillsTheBoxesAndMailsOnceADay)
{
    test::ScriptedSmtpServer server(test::ScriptedSmtpServer::LoginRules("materials", "pa55"));
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", server.port(), "materials", "pa55"));
    ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件发送成功！"; })) << mailStatus().toStdString();
    server.finish();
    // The boxes show lines; the mail carries the texts with their CR LF line ends.
    EXPECT_TRUE(f.ui().reminderUi.standardDueBox->toPlainText().startsWith("工程名称：城北花园\n工程部位：二层梁板\n"));
    EXPECT_FALSE(f.ui().reminderUi.standardDueBox->toPlainText().contains("已送检"));
    // The form-removal day (29 April) passed unreminded: it is caught up.
    EXPECT_TRUE(f.ui().reminderUi.formRemovalDueBox->toPlainText().contains("二层梁板【梁板拆模】"));
    EXPECT_TRUE(f.ui().reminderUi.sameConditionDueBox->toPlainText().contains("同条件养护龄期为30天")) << f.ui().reminderUi.sameConditionDueBox->toPlainText().toStdString();
    EXPECT_TRUE(f.ui().reminderUi.recentPoursBox->toPlainText().startsWith("工程名称：城北花园\n工程部位：一层柱"));
    EXPECT_EQ(f.settings().read(keys::kMailDay), "2017年5月10日");
    const QByteArray mail = server.message();
    EXPECT_TRUE(mail.contains("Subject: =?gb2312?B?")) << mail.toStdString();
    const QByteArray body = QByteArray::fromBase64(mail.mid(mail.indexOf("\r\n\r\n") + 4));
    EXPECT_TRUE(body.startsWith(EncodeGbk("工程名称：城北花园\r\n工程部位：二层梁板\r\n"))) << body.toStdString();

    // A second scan the same day sends nothing.
    f.window->reminders().scanDueSpecimens();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件于2017年5月10日发送成功！"; }));
    EXPECT_FALSE(f.window->reminders().isSending());
}

// Temp.ini cannot be written: the mail day lives in memory too, so later scans of the
// same run never send again, and the status says that the day was not stored.
TEST_F(RemindersGuiTest, MailDayThatCannotBeStoredStillStopsASecondMail)
{
    test::ScriptedSmtpServer server(test::ScriptedSmtpServer::LoginRules("materials", "pa55"));
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", server.port(), "materials", "pa55"));
    ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));
    f.settingsIo = std::make_shared<test::FailingSettingsIo>();
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus().startsWith("邮件发送成功！"); })) << mailStatus().toStdString();
    server.finish();
    EXPECT_EQ(mailStatus(), "邮件发送成功！" + MailDayNotSavedText());
    EXPECT_EQ(f.settings().read(keys::kMailDay), "");

    for (int scan = 0; scan < 2; ++scan) {
        f.window->reminders().scanDueSpecimens();
        ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件于2017年5月10日发送成功！"; }))
            << mailStatus().toStdString();
        EXPECT_FALSE(f.window->reminders().isSending());
    }
}

TEST_F(RemindersGuiTest, PlaceholderAccountIsNeverContacted)
{
    f.start();   // the store is created with placeholders at start-up
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件账号未设置"; }));
    EXPECT_EQ(f.settings().read(keys::kMailDay), "");
    EXPECT_EQ(f.window->reminders().mailSettings().server, DefaultMailSettings().server);
}

// A store the program cannot read is not "no account": the status says what happened, and
// no mail goes out with the placeholders.
TEST_F(RemindersGuiTest, AnUnreadableMailStoreIsReportedAsSuch)
{
    QFile store(f.home.file("help"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("not a database\n");
    store.close();
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus().startsWith("邮箱设置无法读取："); })) << mailStatus().toStdString();
    f.window->reminders().sendReminderMail();
    EXPECT_TRUE(mailStatus().startsWith("邮箱设置无法读取：")) << mailStatus().toStdString();
    EXPECT_EQ(f.settings().read(keys::kMailDay), "");
}

// The first sending over TLS with self-signed certificates allowed pins the certificate and
// remembers that the server speaks TLS, in the store and in memory.
TEST_F(RemindersGuiTest, TheFirstTlsSendingIsRememberedWithTheAccount)
{
    test::ScriptedSmtpServer server(QList<test::ScriptedSmtpServer::Rule>{{QByteArray("clerk").toBase64(), "334 UGFzc3dvcmQ6"},
                                                                          {QByteArray("pa55").toBase64(), "235 ok"}}
                                        + test::ScriptedSmtpServer::StartTlsRules(),
                                    "220 test.local ESMTP", test::ScriptedSmtpServer::Tls{});
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", server.port(), "clerk", "pa55"));
    f.settings().write(keys::kAllowSelfSigned, "真");
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件发送成功！"; })) << mailStatus().toStdString();
    server.finish();
    MailSecurity stored;
    LoadMailSettings(f.home.file("help"), nullptr, &stored);
    EXPECT_TRUE(stored.tlsSeen);
    EXPECT_EQ(stored.certificatePin.toLatin1(), test::ScriptedSmtpServer::Fingerprint("first"));
    EXPECT_EQ(f.window->reminders().mailSecurity(), stored);
}

// The server spoke TLS at an earlier sending and offers none now: no log-in.
TEST_F(RemindersGuiTest, ADowngradedServerGetsNoPassword)
{
    test::ScriptedSmtpServer server({});
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", server.port(), "clerk", "pa55"));
    ASSERT_TRUE(SaveMailSecurity(f.home.file("help"), {true, {}}));
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "未连接到SMTP服务器!（服务器未提供加密连接，为保护密码未登录）"; }))
        << mailStatus().toStdString();
    server.finish();
    const QList<QByteArray> commands = server.commands();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_TRUE(commands[0].startsWith("EHLO "));
    EXPECT_EQ(commands[1], "QUIT");
    EXPECT_EQ(f.settings().read(keys::kMailDay), "");
}

TEST_F(RemindersGuiTest, ChangingTheLeadTimeRescansAtOnce)
{
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return !f.ui().reminderUi.standardDueBox->toPlainText().isEmpty(); }));
    f.ui().optionsUi.leadDaysBox->setText("4");
    ASSERT_TRUE(test::WaitUntil([&] {
        return f.ui().reminderUi.sameConditionDueBox->toPlainText().contains("截止至2017年5月14日同条件养护龄期为31天");
    })) << f.ui().reminderUi.sameConditionDueBox->toPlainText().toStdString();
    EXPECT_EQ(f.settings().read(keys::kLeadDays), "4");
    // A longer lead time keeps what was listed today: the group due on 13 May stays in the box.
    EXPECT_TRUE(f.ui().reminderUi.standardDueBox->toPlainText().contains("二层梁板"));
}

// Every edit rescans. A scan that finds the reminders shown already leaves the box as it
// is, where the clerk scrolled it; one that finds a new reminder shows it at the end, and
// a box something else wrote into is filled again.
TEST_F(RemindersGuiTest, ARescanFindingTheSameRemindersLeavesTheBoxWhereTheClerkScrolledIt)
{
    for (int floor = 3; floor <= 14; ++floor)
        test::InsertGroup(*db, "城南小区", QStringLiteral("%1层梁板").arg(floor), Day(2017, 4, 15));
    f.start();
    QPlainTextEdit* box = f.ui().reminderUi.standardDueBox;
    ASSERT_TRUE(test::WaitUntil([&] { return box->toPlainText().contains("14层梁板"); }));
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the box must need scrolling";
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    const int revision = box->document()->revision();

    rescan();
    EXPECT_EQ(box->document()->revision(), revision) << "the same text was set again";
    EXPECT_EQ(bar->value(), 0);

    test::InsertGroup(*db, "城南小区", "屋面板", Day(2017, 4, 15));
    rescan();
    EXPECT_TRUE(box->toPlainText().contains("屋面板"));
    EXPECT_EQ(bar->value(), bar->maximum());

    box->setPlainText(QStringLiteral("-"));
    rescan();
    EXPECT_TRUE(box->toPlainText().contains("二层梁板")) << box->toPlainText().toStdString();
    EXPECT_TRUE(box->toPlainText().contains("屋面板"));
}

// While the mail is out, status part 4 says so and no second sending starts; the
// result text then replaces the waiting text.
TEST_F(RemindersGuiTest, SendingShowsAWaitingTextAndStartsOnlyOnce)
{
    test::ScriptedSmtpServer server(test::ScriptedSmtpServer::LoginRules("materials", "pa55"));
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", server.port(), "materials", "pa55"));
    ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));
    f.settings().write(keys::kMailDay, "2017年5月10日");   // today's mail is out: no sending at start
    f.start();
    ASSERT_TRUE(test::WaitUntil([&] { return f.window->reminders().mailSettingsLoaded(); }));
    QSignalSpy started(&f.window->reminders(), &ReminderController::mailStarted);
    QSignalSpy finished(&f.window->reminders(), &ReminderController::mailFinished);
    f.window->reminders().sendReminderMail();
    EXPECT_EQ(mailStatus(), "正在发送邮件…");
    EXPECT_TRUE(f.window->reminders().isSending());
    f.window->reminders().sendReminderMail();
    EXPECT_EQ(started.count(), 1);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(mailStatus(), "邮件发送成功！");
    server.finish();
    EXPECT_EQ(started.count(), 1);
}


// A provider that answers the final "." after 3 s has the mail: success, one mail. One that
// never answers has it too: the day counts as mailed, later scans that day send nothing.
TEST_F(RemindersGuiTest, AMailWhoseEndIsAnsweredLateOrNeverGoesOutOnce)
{
    {
        test::CountingSmtpServer slow(3000);
        ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", slow.port(), "materials", "pa55"));
        ASSERT_TRUE(SaveMailRecipients(f.home.file("help"), "clerk@example.com"));
        f.start();
        ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件发送成功！"; }, 20000)) << mailStatus().toStdString();
        EXPECT_EQ(slow.messages(), 1);
        EXPECT_EQ(f.settings().read(keys::kMailDay), "2017年5月10日");
    }
    f.window.reset();
    f.settings().write(keys::kMailDay, "");
    test::CountingSmtpServer silent(test::CountingSmtpServer::kNeverReply);
    ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", silent.port(), "materials", "pa55"));
    SmtpOptions shortWait;
    shortWait.dataReplyTimeoutMs = 500;
    f.start([&](MainWindow& w) { w.reminders().setSmtpTimeouts(shortWait); });
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件已发出，服务器未确认"; })) << mailStatus().toStdString();
    EXPECT_EQ(f.settings().read(keys::kMailDay), "2017年5月10日");
    f.window->reminders().scanDueSpecimens();
    f.window->reminders().scanDueSpecimens();
    ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件于2017年5月10日发送成功！"; })) << mailStatus().toStdString();
    QTest::qWait(100);
    EXPECT_EQ(silent.connections(), 1);
    EXPECT_EQ(silent.messages(), 1);
}

// Without a user name or a password nothing is connected: the sender would be
// "@example.com" and every provider refuses a mail without a log-in.
TEST_F(RemindersGuiTest, AnAccountWithoutUserOrPasswordIsNotConnected)
{
    for (const auto& [user, password] : {std::pair{"materials", ""}, std::pair{"", "pa55"}}) {
        test::CountingSmtpServer smtp;
        ASSERT_TRUE(SaveMailServer(f.home.file("help"), "127.0.0.1", smtp.port(), user, password));
        f.start();
        ASSERT_TRUE(test::WaitUntil([&] { return mailStatus() == "邮件账号未设置"; })) << mailStatus().toStdString();
        f.window->reminders().sendReminderMail();
        QTest::qWait(100);
        EXPECT_EQ(mailStatus(), "邮件账号未设置");
        EXPECT_EQ(smtp.connections(), 0) << user;
        f.window.reset();
    }
}

} // namespace
} // namespace stolvar
