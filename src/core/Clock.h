#pragma once

#include <QDateTime>

namespace stolvar {

// The source of "now" for every rule that counts days. Dates in this program are
// wall-clock values (the clerk's local calendar) held in QDateTime with Qt::UTC,
// so that adding days and taking differences never meets a time-zone shift.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;   // local date and time of day
    QDateTime today() const;         // midnight of now
};

// A clock that tests set and move by hand.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }
    void advanceDays(int days) { m_now = m_now.addDays(days); }

private:
    QDateTime m_now;
};

} // namespace stolvar
