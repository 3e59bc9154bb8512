#pragma once

#include "db/Database.h"

#include <QDeadlineTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace stolvar::test {

// Holds a register's connection on another thread, as a busy worker does, from construction
// until release() or a deadline. heldUntilReleased() tells whether release() came first:
// false means the test waited for the connection until the holder gave up.
class HeldConnection
{
public:
    explicit HeldConnection(std::shared_ptr<Database> db, int deadlineMs = 5000)
    {
        std::promise<void> held;
        std::future<void> isHeld = held.get_future();
        m_holder = std::thread([this, db = std::move(db), deadlineMs, held = std::move(held)]() mutable {
            const auto lock = db->lock();
            held.set_value();
            const QDeadlineTimer deadline(deadlineMs);
            while (!m_released && !deadline.hasExpired())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_heldUntilReleased = m_released.load();
        });
        isHeld.wait();
    }
    HeldConnection(const HeldConnection&) = delete;
    HeldConnection& operator=(const HeldConnection&) = delete;
    ~HeldConnection() { release(); }

    void release()
    {
        m_released = true;
        if (m_holder.joinable())
            m_holder.join();
    }
    bool heldUntilReleased()
    {
        release();
        return m_heldUntilReleased;
    }

private:
    std::atomic<bool> m_released{false};
    bool m_heldUntilReleased = false;
    std::thread m_holder;
};

} // namespace stolvar::test
