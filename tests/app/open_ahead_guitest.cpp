#include "app/OpenAheadStart.h"
#include "db/OpenAhead.h"
#include "model/register/GroupStore.h"
#include "model/register/ProjectOutline.h"
#include "register/RegisterController.h"
#include "support/MainWindowFixture.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <QWindow>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

// The last database opened ahead of the window is taken by the start-up instead of being
// opened again. A different file named in Temp.ini is opened as before.
// The last database of the fixture's folder, holding one group; its path.
QString PrepareOneGroup(test::MainWindowFixture& f)
{
    auto db = f.prepareDatabase();
    EXPECT_TRUE(db);
    if (db)
        test::InsertGroup(*db, "甲", "基础", Day(2017, 3, 1));
    return f.settings().read(keys::kDatabaseFile);
}

TEST(OpenAheadGuiTest, StartUpTakesTheDatabaseOpenedAheadForTheSameFile)
{
    test::MainWindowFixture f;
    const QString path = PrepareOneGroup(f);
    StartOpeningAhead(path);
    while (!IsOpenedAhead(path))
        QTest::qWait(5);

    f.start();
    EXPECT_FALSE(TakeOpenedAhead(path).has_value());   // taken by the start-up
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "数据库已连接");
    EXPECT_EQ(f.ctx().db->path(), path);
    EXPECT_EQ(f.window->registerView().nodeCount(), 2);
}

// The tree read on the thread that opened the file is the one the start-up shows: it is
// not read a second time.
TEST(OpenAheadGuiTest, StartUpShowsTheTreeReadAhead)
{
    test::MainWindowFixture f;
    const QString path = PrepareOneGroup(f);
    StartOpeningAhead(path, [](const Database&) {
        ProjectTree marked;   // not what the file holds: tells the tree read ahead apart
        marked.appendProject(u"预读");
        marked.appendPosition(u"一层");
        marked.appendPosition(u"二层");
        return std::any(marked);
    });
    f.start();
    ASSERT_EQ(f.window->registerView().nodeCount(), 3);
    EXPECT_EQ(f.window->registerView().nodeText(0), "预读");
    EXPECT_EQ(f.window->registerView().nodeText(2), "二层");
}

// A file opened ahead that is ready by the time the window is built fills the window
// before its first painting; one that takes longer than the start-up waits for leaves the
// window to show first and is taken in the background.
TEST(OpenAheadGuiTest, TheWindowIsFilledBeforeItShowsOnlyWhenTheOpenAheadIsDone)
{
    {
        test::MainWindowFixture f;
        const QString path = PrepareOneGroup(f);
        StartOpeningLastDatabase(f.home.path());   // as the program starts it
        while (!IsOpenedAhead(path))
            QThread::msleep(5);
        MainWindow& window = f.construct();   // no event handled yet
        EXPECT_TRUE(window.isStartedUp());
        EXPECT_EQ(window.registerView().nodeCount(), 2);
        EXPECT_EQ(f.ctx().db->path(), path);
    }
    test::MainWindowFixture f;
    const QString path = PrepareOneGroup(f);
    StartOpeningAhead(path, [](const Database& db) {
        QThread::msleep(400);
        return std::any(LoadProjectOutline(db));
    });
    MainWindow& window = f.construct();
    EXPECT_FALSE(window.isStartedUp());
    EXPECT_EQ(f.ctx().db, nullptr);
    QSignalSpy started(&window, &MainWindow::startedUp);
    ASSERT_TRUE(started.wait(20000));
    EXPECT_EQ(window.registerView().nodeCount(), 2);
    EXPECT_EQ(f.ctx().db->path(), path);
}

// Calls `seen` as each exposure of a window arrives, before it is painted.
class ExposureWatch : public QObject
{
public:
    ExposureWatch(QWindow* window, std::function<void()> seen) : m_seen(std::move(seen)) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose)
            m_seen();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_seen;
};

// The start-up's background work (the register's check first) runs one task at a time
// until the window is painted filled, then side by side; a window that is not shown holds
// it no longer than its start-up.
TEST(OpenAheadGuiTest, TheStartUpWorkWaitsForTheWindowPaintedFilled)
{
    {
        test::MainWindowFixture f;
        const QString path = PrepareOneGroup(f);
        StartOpeningLastDatabase(f.home.path());
        while (!IsOpenedAhead(path))
            QThread::msleep(5);
        MainWindow& window = f.construct();   // filled already; its check is waiting
        ASSERT_TRUE(window.isStartedUp());
        QElapsedTimer clock;
        clock.start();
        window.show();
        bool heldWhenExposed = false;
        ExposureWatch exposure(window.windowHandle(), [&] { heldWhenExposed = heldWhenExposed || f.ctx().tasks.isHeld(); });
        EXPECT_TRUE(f.ctx().tasks.isHeld());
        EXPECT_TRUE(test::WaitUntil([&] { return !f.ctx().tasks.isHeld(); }));
        EXPECT_TRUE(heldWhenExposed) << "the work was let go before the window was painted";
        EXPECT_LT(clock.elapsed(), 900) << "let go by the time limit, not by the painting";
    }
    test::MainWindowFixture f;
    PrepareOneGroup(f);
    f.start();   // never shown
    EXPECT_TRUE(test::WaitUntil([&] { return !f.ctx().tasks.isHeld(); }, 900));
}

TEST(OpenAheadGuiTest, AnOpenAheadOfAnotherFileIsLeftAlone)
{
    test::MainWindowFixture f;
    test::TempHome elsewhere;
    ASSERT_TRUE(test::MakeProjectDatabase(elsewhere.file(QStringLiteral("别处.dat"))));
    const QString other = elsewhere.file(QStringLiteral("别处.dat"));
    StartOpeningAhead(other);
    auto db = f.prepareDatabase();
    test::InsertGroup(*db, "乙", "一层梁", Day(2017, 3, 1));
    test::InsertGroup(*db, "乙", "二层梁", Day(2017, 3, 2));
    db.reset();
    f.start();
    EXPECT_EQ(f.ctx().db->path(), f.settings().read(keys::kDatabaseFile));
    EXPECT_EQ(f.window->registerView().nodeCount(), 3);
    EXPECT_TRUE(TakeOpenedAhead(other).has_value());
}

TEST(OpenAheadGuiTest, AMissingFileOpenedAheadStartsSilentlyWithoutADatabase)
{
    test::MainWindowFixture f;
    const QString path = f.home.file(QStringLiteral("不存在.dat"));
    f.settings().write(keys::kDatabaseFile, path);
    StartOpeningAhead(path);
    while (!IsOpenedAhead(path))
        QTest::qWait(5);
    f.start();
    EXPECT_TRUE(f.window->isStartedUp());
    EXPECT_EQ(f.ctx().db, nullptr);
    EXPECT_EQ(f.ui().frame.statusParts[kDatabaseStatePart]->text(), "未连接");
    EXPECT_TRUE(f.messages->shown.empty());
    EXPECT_EQ(f.window->registerView().nodeCount(), 0);
}

} // namespace
} // namespace stolvar
