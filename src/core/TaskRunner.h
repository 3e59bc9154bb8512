#pragma once

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace stolvar {

// Raised once, when the program closes; work that waits on the network watches it and
// gives up at once.
using StopFlag = std::shared_ptr<const std::atomic<bool>>;

// Runs work on background threads and hands each result to the UI thread. The work
// function must not touch widgets; the apply function runs on the thread of `context`
// (queued) and is dropped when the context is gone or the runner has been stopped.
class TaskRunner
{
public:
    explicit TaskRunner(int maxThreads = 4) : m_maxThreads(maxThreads) { m_pool.setMaxThreadCount(maxThreads); }
    ~TaskRunner() { m_pool.waitForDone(); }

    template <typename Work, typename Apply>
    void run(QObject* context, Work work, Apply apply)
    {
        if (*m_stopped)
            return;
        QPointer<QObject> guard(context);
        m_pool.start([guard, stopped = m_stopped, work = std::move(work), apply = std::move(apply)]() mutable {
            auto result = work();
            if (!guard || *stopped)
                return;
            QMetaObject::invokeMethod(
                guard.data(),
                [guard, stopped, apply = std::move(apply), result = std::move(result)]() mutable {
                    if (guard && !*stopped)
                        apply(std::move(result));
                },
                Qt::QueuedConnection);
        });
    }

    // The program is closing: no work starts from now on, no result is applied, and
    // network waits that watch stopFlag() end.
    void stop() { *m_stopped = true; }
    bool isStopped() const { return *m_stopped; }
    StopFlag stopFlag() const { return m_stopped; }

    // Waits until every started task has finished its work (not its apply step).
    void waitForDone() { m_pool.waitForDone(); }
    // The same within `msecs`; false when work is still running then.
    bool waitForDone(int msecs) { return m_pool.waitForDone(msecs); }
    QThreadPool& pool() { return m_pool; }

    // Until release(), at most `threads` tasks run at once and the others wait their turn
    // in order: the start-up leaves the processor to the window's first painting.
    void holdTo(int threads) { m_pool.setMaxThreadCount(std::clamp(threads, 1, m_maxThreads)); }
    void release() { m_pool.setMaxThreadCount(m_maxThreads); }
    bool isHeld() const { return m_pool.maxThreadCount() < m_maxThreads; }

private:
    const int m_maxThreads;
    std::shared_ptr<std::atomic<bool>> m_stopped = std::make_shared<std::atomic<bool>>(false);
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
