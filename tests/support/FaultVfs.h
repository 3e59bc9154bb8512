#pragma once

#include <atomic>

namespace stolvar::test {

// A test-only SQLite VFS that wraps the default one and fails one chosen I/O call: the
// Nth read, write (or truncate) or sync counted since the last arm(). While an object
// lives it is the default VFS, so every connection opened meanwhile goes through it.
// One at a time.
class FaultVfs
{
public:
    enum Kind : unsigned { kRead = 1, kWrite = 2, kSync = 4, kAll = 7 };

    FaultVfs();
    ~FaultVfs();
    FaultVfs(const FaultVfs&) = delete;
    FaultVfs& operator=(const FaultVfs&) = delete;

    // Starts counting afresh; the `failAt`th counted call (1-based) fails, 0: none does.
    void arm(long long failAt, unsigned kinds = kAll);
    // Stops failing and counting.
    void disarm() { arm(0, 0); }
    // What a failed write returns: an I/O error (the default), or SQLITE_FULL as the real
    // file system does when the disk is full.
    void setWriteError(int code);
    long long counted() const;    // calls of the armed kinds since arm()
    long long failures() const;   // calls failed since arm()
};

} // namespace stolvar::test
