#include "core/WriteQueue.h"
#include "support/Wait.h"

#include <QSemaphore>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace stolvar {
namespace {

// Edits that note when and where they are stored, and how many are stored at once.
class WriteQueueTest : public ::testing::Test
{
protected:
    void post(int edit, QObject* context = nullptr)
    {
        queue.post(context ? context : &owner, [this, edit] { return store(edit); },
                   [this](int result) {
                       landedOnUiThread = landedOnUiThread && QThread::currentThread() == owner.thread();
                       landed.push_back(result);
                   });
    }
    int store(int edit)
    {
        const int atOnce = ++storing;
        gate.acquire();
        gate.release();
        {
            std::lock_guard lock(mutex);
            stored.push_back(edit);
            mostAtOnce = std::max(mostAtOnce, atOnce);
            storedOffUiThread = storedOffUiThread && QThread::currentThread() != owner.thread();
        }
        --storing;
        return edit;
    }
    std::vector<int> storedSoFar()
    {
        std::lock_guard lock(mutex);
        return stored;
    }

    WriteQueue queue;
    QObject owner;
    QSemaphore gate{1};   // taken by the test to hold a store where it is
    std::mutex mutex;
    std::vector<int> stored;
    std::vector<int> landed;
    std::atomic<int> storing{0};
    int mostAtOnce = 0;
    bool storedOffUiThread = true;
    bool landedOnUiThread = true;
};

TEST_F(WriteQueueTest, EditsAreStoredOneAtATimeOffTheUiThreadAndLandInTheirOrder)
{
    std::vector<int> expected;
    for (int edit = 0; edit < 50; ++edit) {
        post(edit);
        expected.push_back(edit);
    }
    EXPECT_FALSE(queue.idle());
    ASSERT_TRUE(test::WaitUntil([&] { return queue.idle(); }));
    EXPECT_EQ(storedSoFar(), expected);
    EXPECT_EQ(landed, expected);
    EXPECT_EQ(mostAtOnce, 1) << "two edits were stored at the same time";
    EXPECT_TRUE(storedOffUiThread);
    EXPECT_TRUE(landedOnUiThread);

    // An edit asked for by an outcome waits behind the ones asked for before it.
    landed.clear();
    queue.post(&owner, [] { return 0; }, [this](int) { post(2); });
    post(1);
    ASSERT_TRUE(test::WaitUntil([&] { return queue.idle(); }));
    EXPECT_EQ(landed, (std::vector<int>{1, 2}));

    // An edit whose asker is gone is stored all the same, and the ones after it land.
    landed.clear();
    auto gone = std::make_unique<QObject>();
    post(1003, gone.get());
    post(4);
    gone.reset();
    ASSERT_TRUE(test::WaitUntil([&] { return queue.idle(); }));
    const std::vector<int> all = storedSoFar();
    EXPECT_EQ(all.back(), 4);
    EXPECT_EQ(std::count(all.begin(), all.end(), 1003), 1);
    EXPECT_EQ(landed, (std::vector<int>{4}));
}

// The close: one edit is being stored and others wait. The close waits for every one, in
// order, and none lands; one asked for after the close is stored at once.
TEST_F(WriteQueueTest, TheCloseStoresEveryEditInOrderAndLandsNone)
{
    gate.acquire();
    post(0);
    ASSERT_TRUE(test::WaitUntil([&] { return storing == 1; }));
    post(1);
    post(2);
    gate.release();
    queue.finish();
    EXPECT_EQ(storedSoFar(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(queue.idle());
    QCoreApplication::processEvents();
    EXPECT_TRUE(landed.empty());

    post(3);
    EXPECT_EQ(storedSoFar(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(queue.idle());
}

} // namespace
} // namespace stolvar
