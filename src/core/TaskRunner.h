#pragma once

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace stolvar {

// Runs work on background threads and hands each result to the UI thread. The work
// function must not touch widgets; the apply function runs on the thread of `context`
// (queued) and is dropped when the context is gone.
class TaskRunner
{
public:
    explicit TaskRunner(int maxThreads = 4) { m_pool.setMaxThreadCount(maxThreads); }
    ~TaskRunner() { m_pool.waitForDone(); }

    template <typename Work, typename Apply>
    void run(QObject* context, Work work, Apply apply)
    {
        QPointer<QObject> guard(context);
        m_pool.start([guard, work = std::move(work), apply = std::move(apply)]() mutable {
            auto result = work();
            if (!guard)
                return;
            QMetaObject::invokeMethod(
                guard.data(),
                [guard, apply = std::move(apply), result = std::move(result)]() mutable {
                    if (guard)
                        apply(std::move(result));
                },
                Qt::QueuedConnection);
        });
    }

    // Waits until every started task has finished its work (not its apply step).
    void waitForDone() { m_pool.waitForDone(); }
    QThreadPool& pool() { return m_pool; }

private:
    QThreadPool m_pool;
};

// Admits one run at a time: start() returns false while a run is active.
class SingleFlight
{
public:
    bool tryStart() { return !m_busy.exchange(true); }
    void finish() { m_busy = false; }
    bool busy() const { return m_busy; }

private:
    std::atomic<bool> m_busy{false};
};

// Numbers the runs of one kind of task so that only the newest result is applied.
class Generation
{
public:
    quint64 next() { return ++m_value; }
    bool isCurrent(quint64 generation) const { return generation == m_value.load(); }

private:
    std::atomic<quint64> m_value{0};
};

} // namespace stolvar
