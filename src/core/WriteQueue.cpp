#include "core/WriteQueue.h"

namespace stolvar {

void WriteQueue::finish()
{
    m_thread.stop();
    m_thread.waitForDone();
    m_unlanded = 0;
}

} // namespace stolvar
