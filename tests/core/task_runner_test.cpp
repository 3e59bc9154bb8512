#include "core/TaskRunner.h"
#include "support/Wait.h"

#include <QScopeGuard>
#include <QSemaphore>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace stolvar {
namespace {

// Held to one thread, the runner's tasks run one at a time in the order they were given;
// released, those still waiting run side by side, and every result is applied.
TEST(TaskRunnerTest, AHeldRunnerRunsOneTaskAtATimeInOrderUntilReleased)
{
    QSemaphore gate(0);   // each task waits here until the test lets it go
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    std::mutex mutex;
    std::vector<int> started;
    std::vector<int> applied;
    TaskRunner runner(4);
    QObject owner;
    const auto letAllGo = qScopeGuard([&gate] { gate.release(100); });   // a failed check does not hang
    runner.holdTo(1);
    EXPECT_TRUE(runner.isHeld());
    for (int task = 0; task < 4; ++task) {
        runner.run(
            &owner,
            [&, task] {
                const int now = ++running;
                int most = mostAtOnce;
                while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
                }
                {
                    std::lock_guard lock(mutex);
                    started.push_back(task);
                }
                gate.acquire();
                --running;
                return task;
            },
            [&applied](int result) { applied.push_back(result); });
    }
    ASSERT_TRUE(test::WaitUntil([&] { return running == 1; }));
    gate.release();   // the first ends; only the second may start
    ASSERT_TRUE(test::WaitUntil([&] {
        std::lock_guard lock(mutex);
        return started.size() == 2;
    }));
    QTest::qWait(50);
    EXPECT_EQ(running, 1);
    EXPECT_EQ(mostAtOnce, 1);

    runner.release();
    EXPECT_FALSE(runner.isHeld());
    EXPECT_TRUE(test::WaitUntil([&] { return running == 3; })) << "the waiting tasks did not start side by side";
    gate.release(3);
    EXPECT_TRUE(test::WaitUntil([&] { return applied.size() == 4; }));
    {
        // Held, the tasks start in their order; released, the two left start side by side
        // and may note their start in either order.
        std::lock_guard lock(mutex);
        ASSERT_EQ(started.size(), 4u);
        EXPECT_EQ(std::vector<int>(started.begin(), started.begin() + 2), (std::vector<int>{0, 1}));
        std::sort(started.begin() + 2, started.end());
        EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3}));
    }
    std::sort(applied.begin(), applied.end());
    EXPECT_EQ(applied, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(mostAtOnce, 3);
}

} // namespace
} // namespace stolvar
