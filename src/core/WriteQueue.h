#pragma once

#include "core/TaskRunner.h"

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>

namespace stolvar {

// The register's edits, stored on a worker one at a time and in the order they were asked
// for. A write and its syncs take a few milliseconds on a fast disk, tens on a slow one, and
// longer while a register just opened is still being checked: the window does not wait for
// them. Each outcome is handed to the UI thread, in the same order. Edits that still wait
// when the program closes are stored by storeWaiting(); their outcomes are dropped then.
class WriteQueue
{
public:
    explicit WriteQueue(TaskRunner& tasks) : m_tasks(tasks) {}
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // `store` runs on a worker and must not touch widgets. `landed` receives its result on
    // the UI thread, unless `context` is gone by then.
    template <typename Store, typename Landed>
    void post(QObject* context, Store store, Landed landed)
    {
        ++m_unlanded;
        m_waiting.push_back([guard = QPointer<QObject>(context), store = std::move(store),
                             landed = std::move(landed)]() mutable -> Landing {
            auto result = store();
            return [guard, landed = std::move(landed), result = std::move(result)]() mutable {
                if (guard)
                    landed(std::move(result));
            };
        });
        if (!m_storing)
            storeNext();
    }

    // True once every edit posted so far is stored and its outcome handed over.
    bool idle() const { return m_unlanded == 0; }

    // At the close, once the workers are done: stores what still waits, here and in order.
    void storeWaiting();

private:
    using Landing = std::function<void()>;

    void storeNext();

    TaskRunner& m_tasks;
    QObject m_receiver;   // the landings' context: lives as long as the queue
    std::deque<std::function<Landing()>> m_waiting;
    bool m_storing = false;
    int m_unlanded = 0;
};

} // namespace stolvar
