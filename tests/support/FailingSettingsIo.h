#pragma once

#include "core/SettingsStore.h"

#include <atomic>

namespace stolvar::test {

// The real Temp.ini with injected faults: from the `failWritesFrom`-th write on (1 for
// every write, 0 never) the file is not replaced, as in a read-only folder (the reason is
// kReason); with `failReads` an existing file cannot be read. Counts the writes tried.
class FailingSettingsIo : public SettingsFileIo
{
public:
    explicit FailingSettingsIo(int failWritesFrom = 1, bool failReads = false)
        : m_failWritesFrom(failWritesFrom), m_failReads(failReads)
    {
    }

    ReadStatus read(const QString& path, QByteArray* bytes) const override
    {
        const ReadStatus status = SettingsFileIo::read(path, bytes);
        return m_failReads && status == ReadStatus::Ok ? ReadStatus::Failed : status;
    }
    bool replace(const QString& path, const QByteArray& bytes, QString* reason) const override
    {
        const int n = ++m_writes;
        if (m_failWritesFrom > 0 && n >= m_failWritesFrom) {
            *reason = kReason;
            return false;
        }
        return SettingsFileIo::replace(path, bytes, reason);
    }
    int writes() const { return m_writes; }

    static inline const QString kReason = QStringLiteral("没有写入权限");

private:
    const int m_failWritesFrom;
    const bool m_failReads;
    mutable std::atomic<int> m_writes{0};
};

} // namespace stolvar::test
