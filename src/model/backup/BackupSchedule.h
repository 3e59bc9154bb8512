#pragma once

#include <QDate>

namespace stolvar {

// When the open register is backed up by itself: once a day, at the first quiet moment
// (no write for kQuietMs) after its first write of that day; and at close when it was
// written since its last backup. Writes are seen through the connection's change counter,
// looked at from time to time; `elapsedMs` is a monotonic clock.
class BackupSchedule
{
public:
    static constexpr qint64 kQuietMs = 30000;

    // A register was connected: its counter stands at `changes`, and nothing is owed.
    void reset(qint64 changes);
    // Notes the counter; true when the day's backup is due now.
    bool dailyDue(qint64 changes, const QDate& today, qint64 elapsedMs);
    // The day's backup was tried (whatever came of it): the next try is tomorrow, so that
    // a pulled USB stick is not tried again all day.
    void tried(const QDate& today) { m_triedDay = today; }
    // A backup succeeded with the counter at `changes`.
    void backedUp(qint64 changes) { m_backedUpAt = changes; }
    bool writtenSinceBackup(qint64 changes) const { return changes != m_backedUpAt; }

private:
    qint64 m_backedUpAt = 0;
    qint64 m_seen = 0;
    qint64 m_lastWriteMs = 0;
    QDate m_lastWriteDay;
    QDate m_triedDay;
};

} // namespace stolvar
