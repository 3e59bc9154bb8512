#include "app/FirstPainting.h"
#include "support/Wait.h"

#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Notes whether the widget had been painted when `done` came.
class PaintedWidget : public QWidget
{
public:
    int paintings = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paintings; }
};

// The paintings before the widget is ready do not count; the first after it does, and
// `done` comes once, after that painting, not before it.
TEST(FirstPaintingTest, DoneFollowsTheFirstPaintingOnceReady)
{
    PaintedWidget window;
    window.resize(200, 100);
    bool ready = false;
    int done = 0;
    int paintingsAtDone = -1;
    auto* watch = new FirstPainting(&window, [&] { return ready; }, 60000, [&] {
        ++done;
        paintingsAtDone = window.paintings;
    });
    window.show();
    watch->attach(window.windowHandle());
    ASSERT_TRUE(test::WaitUntil([&] { return window.paintings > 0; }));
    QTest::qWait(50);
    EXPECT_EQ(done, 0) << "a painting before the widget was ready counted";

    ready = true;
    const int before = window.paintings;
    window.update();
    ASSERT_TRUE(test::WaitUntil([&] { return done == 1; }));
    EXPECT_GT(paintingsAtDone, before) << "done came before the painting";
    window.update();
    QTest::qWait(50);
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(watch->isFinished());
}

// A window never shown is waited for no longer than the limit.
TEST(FirstPaintingTest, AWindowNeverPaintedIsWaitedForNoLongerThanTheLimit)
{
    QWidget window;
    int done = 0;
    auto* watch = new FirstPainting(&window, [] { return true; }, 50, [&] { ++done; });
    ASSERT_TRUE(test::WaitUntil([&] { return done == 1; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(done, 1);
    watch->finish();   // asked again: done does not come twice
    EXPECT_EQ(done, 1);
}

} // namespace
} // namespace stolvar
