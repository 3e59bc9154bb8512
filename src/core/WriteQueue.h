#pragma once

#include "core/TaskRunner.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace stolvar {

// The register's edits, stored on a thread of their own one at a time, in the order they were
// asked for. A write and its syncs take a few milliseconds on a fast disk, tens on a slow
// one, and longer while a register just opened is still being checked: the window does not
// wait for them, and they never wait behind the network work of the other workers. Each
// outcome is handed to the UI thread, in the same order.
class WriteQueue
{
public:
    WriteQueue() = default;
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // `store` runs on the queue's thread and must not touch widgets. `landed` receives its
    // result on the UI thread, unless `context` is gone by then or the queue has finished.
    // Once the queue has finished, `store` runs at once, here.
    template <typename Store, typename Landed>
    void post(QObject* context, Store store, Landed landed)
    {
        if (m_thread.isStopped()) {
            store();
            return;
        }
        ++m_unlanded;
        m_thread.run(&m_receiver, std::move(store),
                     [this, guard = QPointer<QObject>(context), landed = std::move(landed)](auto result) mutable {
                         if (guard)
                             landed(std::move(result));
                         --m_unlanded;
                     });
    }

    // True once every edit posted so far is stored and its outcome handed over.
    bool idle() const { return m_unlanded == 0; }

    // At the close: waits until every edit asked for is stored. No outcome is handed over
    // from here on.
    void finish();

private:
    TaskRunner m_thread{1};   // one thread: the edits are stored in the order they were posted
    QObject m_receiver;       // the outcomes' context: lives as long as the queue
    int m_unlanded = 0;
};

} // namespace stolvar
