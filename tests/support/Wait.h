#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <functional>

namespace stolvar::test {

// Processes events until the condition holds or the time is up; returns the condition.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace stolvar::test
