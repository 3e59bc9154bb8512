#include "remind/DesktopNotifier.h"
#include "remind/ReminderController.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>

namespace stolvar::test {

// A session bus of the test's own: `dbus-daemon --session` on a private socket, ended
// with the object.
class PrivateSessionBus
{
public:
    PrivateSessionBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    ~PrivateSessionBus()
    {
        for (const QString& name : std::as_const(m_connections))
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    bool isRunning() const { return !m_address.isEmpty(); }
    QDBusConnection connect(const QString& name)
    {
        m_connections << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

struct NotifyCall {
    QString appName;
    QString icon;
    QString summary;
    QString body;
    QStringList actions;
};

// org.freedesktop.Notifications as a desktop offers it: records each Notify call and
// can send the ActionInvoked signal a click on the notification sends.
class FakeNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotificationService(QDBusConnection bus) : m_bus(std::move(bus)) {}

    bool registerOnBus()
    {
        return m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                    QDBusConnection::ExportAllSlots) &&
               m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    void invokeAction(uint id, const QString& action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"),
                                                         QStringLiteral("ActionInvoked"));
        signal << id << action;
        m_bus.send(signal);
    }

    QList<NotifyCall> calls;

public slots:
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        calls << NotifyCall{appName, icon, summary, body, actions};
        return uint(100 + calls.size());
    }

private:
    QDBusConnection m_bus;
};

} // namespace stolvar::test

namespace stolvar {
namespace {

using test::Day;

// 10 May 2017, lead time 3: one standard-cured group (cast 15 April), one group whose
// same-condition specimens reach 600 ℃·d at 20 ℃ a day on 13 May (cast 13 April) and one
// form-removal group (cast 29 April) come due.
class DesktopNotificationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!bus.isRunning())
            GTEST_SKIP() << "dbus-daemon is not installed";
        db = f.prepareDatabase();
        ASSERT_TRUE(db);
        test::InsertGroup(*db, "城北花园", "二层梁板", Day(2017, 4, 15), kNotSent, kNotSent, "C30", "1", "");
        test::InsertGroup(*db, "城北花园", "一层柱", Day(2017, 4, 13), kSent, kNotSent, "C30", "1", "1");
        test::InsertGroup(*db, "城北花园", "三层梁板", Day(2017, 4, 29), kSent, kSent, "C30", "1", "", "2");
        for (int d = 0; d < 40; ++d)
            test::InsertTemperature(*db, Day(2017, 4, 4).addDays(d), 20.0, 25.0, 15.0);
        f.settings().write(keys::kLeadDays, "3");
        ASSERT_TRUE(service.registerOnBus());
    }

    MainWindow& start()
    {
        return f.start([this](MainWindow& w) { w.reminders().notifier().useBus(bus.connect(QStringLiteral("program"))); });
    }

    // Runs one due scan and waits until its texts are in the boxes.
    void scanOnce()
    {
        f.ui().reminderUi.standardDueBox->setPlainText(QStringLiteral("-"));
        f.window->reminders().scanDueSpecimens();
        ASSERT_TRUE(test::WaitUntil([&] { return f.ui().reminderUi.standardDueBox->toPlainText() != QStringLiteral("-"); }));
        QTest::qWait(50);   // a Notify call would be on the bus by now
    }

    test::PrivateSessionBus bus;
    test::FakeNotificationService service{bus.connect(QStringLiteral("service"))};
    test::MainWindowFixture f{Day(2017, 5, 10, 10, 0)};
    std::shared_ptr<Database> db;
};

TEST_F(DesktopNotificationTest, FirstScanOfTheDayNotifiesOnceAndAClickShowsTheWindow)
{
    MainWindow& w = start();
    ASSERT_TRUE(test::WaitUntil([&] { return service.calls.size() == 1; }));
    const test::NotifyCall& call = service.calls.front();
    EXPECT_EQ(call.summary, QStringLiteral("今天有3组试块需要送检"));
    EXPECT_EQ(call.body, QStringLiteral("标养试块：1组\n同养试块：1组\n拆模试块：1组"));
    EXPECT_EQ(call.icon, QStringLiteral("stolvar"));
    EXPECT_TRUE(call.actions.contains(QStringLiteral("default")));

    // The same groups again the same day: nothing.
    scanOnce();
    EXPECT_EQ(service.calls.size(), 1);

    // A click on the notification brings the hidden window back.
    w.hide();
    service.invokeAction(101, QStringLiteral("default"));
    ASSERT_TRUE(test::WaitUntil([&] { return w.isVisible(); }));
    EXPECT_FALSE(w.isMinimized());

    // A group the last notification did not name: a new notification, naming all.
    test::InsertGroup(*db, "城南小区", "基础", Day(2017, 4, 15), kNotSent, kNotSent, "C30", "1", "");
    scanOnce();
    ASSERT_EQ(service.calls.size(), 2);
    EXPECT_EQ(service.calls[1].summary, QStringLiteral("今天有4组试块需要送检"));
    EXPECT_EQ(service.calls[1].body, QStringLiteral("标养试块：2组\n同养试块：1组\n拆模试块：1组"));

    // The next day the groups reminded yesterday are not listed again; a group that comes
    // within the lead time that day is, and the notice names it.
    f.clock->set(Day(2017, 5, 11, 10, 0));
    test::InsertGroup(*db, "城南小区", "二层", Day(2017, 4, 16), kNotSent, kNotSent, "C30", "1", "");
    scanOnce();
    ASSERT_TRUE(test::WaitUntil([&] { return service.calls.size() == 3; }));
    EXPECT_EQ(service.calls[2].summary, QStringLiteral("今天有1组试块需要送检"));
}

// A hot spell of 60 ℃ a day reaches 600 ℃·d in ten days; the national standard's rule
// still waits for fourteen counted days. By 13 May (three days ahead) the group cast on
// 3 May is due by the sum alone, not by the standard: the notice counts it only under the
// rule in force.
TEST_F(DesktopNotificationTest, SameConditionGroupsAreCountedByTheRuleInForce)
{
    ASSERT_TRUE(db->execute(QStringLiteral("UPDATE skxx SET 温度记录 = 60")));
    // The group cast 13 April is due under either rule (and caught up): out of the way.
    ASSERT_TRUE(db->execute(QStringLiteral("UPDATE gcxx SET 同养组数 = '' WHERE 工程部位 = '一层柱'")));
    test::InsertGroup(*db, "城南小区", "基础", Day(2017, 5, 3), kSent, kNotSent, "C30", "", "1");
    f.settings().write(keys::kStandardRule, QStringLiteral("真"));
    start();
    ASSERT_TRUE(test::WaitUntil([&] { return service.calls.size() == 1; }));
    EXPECT_EQ(service.calls[0].body, QStringLiteral("标养试块：1组\n拆模试块：1组"));

    f.settings().write(keys::kStandardRule, QStringLiteral("假"));
    scanOnce();
    ASSERT_EQ(service.calls.size(), 2);
    EXPECT_EQ(service.calls[1].body, QStringLiteral("标养试块：1组\n同养试块：1组\n拆模试块：1组"));
}

TEST_F(DesktopNotificationTest, TurnedOffInTheSettingsSendsNothing)
{
    f.settings().write(keys::kDesktopNotification, QStringLiteral("假"));
    start();
    scanOnce();
    EXPECT_TRUE(service.calls.isEmpty());
    EXPECT_FALSE(f.ui().reminderUi.standardDueBox->toPlainText().isEmpty());
}

TEST(DesktopNotifier, WithoutAServiceNothingHappensAndNothingIsSaid)
{
    test::PrivateSessionBus bus;
    if (!bus.isRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    test::MainWindowFixture f{Day(2017, 5, 10, 10, 0)};
    auto db = f.prepareDatabase();
    test::InsertGroup(*db, "城北花园", "二层梁板", Day(2017, 4, 15));
    f.settings().write(keys::kLeadDays, "3");
    f.start([&](MainWindow& w) { w.reminders().notifier().useBus(bus.connect(QStringLiteral("lonely"))); });
    ASSERT_TRUE(test::WaitUntil([&] { return !f.ui().reminderUi.standardDueBox->toPlainText().isEmpty(); }));
    QTest::qWait(100);
    EXPECT_TRUE(f.messages->shown.isEmpty());
}

} // namespace
} // namespace stolvar

#include "desktop_notification_guitest.moc"
