#include "model/backup/BackupSchedule.h"

namespace stolvar {

void BackupSchedule::reset(qint64 changes)
{
    *this = BackupSchedule();
    m_backedUpAt = m_seen = changes;
}

bool BackupSchedule::dailyDue(qint64 changes, const QDate& today, qint64 elapsedMs)
{
    if (changes != m_seen) {
        m_seen = changes;
        m_lastWriteMs = elapsedMs;
        m_lastWriteDay = today;
    }
    return m_triedDay != today && m_lastWriteDay == today && writtenSinceBackup(changes)
           && elapsedMs - m_lastWriteMs >= kQuietMs;
}

} // namespace stolvar
