#include "core/WriteQueue.h"

#include <utility>

namespace stolvar {

// The next edit starts storing before the last one's outcome is shown, so a message box
// the outcome opens does not hold back the edits behind it.
void WriteQueue::storeNext()
{
    // Once the program is closing nothing starts on a worker: what waits is left to storeWaiting().
    m_storing = !m_waiting.empty() && !m_tasks.isStopped();
    if (!m_storing)
        return;
    std::function<Landing()> store = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_tasks.run(&m_receiver, std::move(store), [this](Landing landing) {
        storeNext();
        landing();
        --m_unlanded;
    });
}

void WriteQueue::storeWaiting()
{
    for (const std::function<Landing()>& store : std::exchange(m_waiting, {}))
        store();
    m_unlanded = 0;
}

} // namespace stolvar
