#include "support/FaultVfs.h"

#include <sqlcipher/sqlite3.h>

#include <cstring>
#include <stdexcept>

namespace stolvar::test {

namespace {

struct State {
    std::atomic<unsigned> kinds{0};
    std::atomic<long long> failAt{0};
    std::atomic<long long> counted{0};
    std::atomic<long long> failures{0};
    std::atomic<int> writeError{SQLITE_IOERR_WRITE};
};

State g_state;
sqlite3_vfs g_vfs;
sqlite3_vfs* g_real = nullptr;

// Our file: the real VFS's file follows it in the same allocation.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<FaultFile*>(file)->real;
}

// True when this call is the one to fail.
bool Fails(unsigned kind)
{
    if ((g_state.kinds & kind) == 0)
        return false;
    const long long n = ++g_state.counted;
    if (n != g_state.failAt)
        return false;
    ++g_state.failures;
    return true;
}

int Close(sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); }

int Read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    if (Fails(FaultVfs::kRead))
        return SQLITE_IOERR_READ;
    return Real(f)->pMethods->xRead(Real(f), buffer, amount, offset);
}

int Write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (Fails(FaultVfs::kWrite))
        return g_state.writeError;
    return Real(f)->pMethods->xWrite(Real(f), buffer, amount, offset);
}

int Truncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (Fails(FaultVfs::kWrite))
        return SQLITE_IOERR_TRUNCATE;
    return Real(f)->pMethods->xTruncate(Real(f), size);
}

int Sync(sqlite3_file* f, int flags)
{
    if (Fails(FaultVfs::kSync))
        return SQLITE_IOERR_FSYNC;
    return Real(f)->pMethods->xSync(Real(f), flags);
}

int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); }
int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); }
int FileControl(sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); }
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }
int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) { return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags); }
void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int deleteFlag) { return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag); }
// Memory-mapped reads would bypass xRead: refused, so SQLite reads through it.
int Fetch(sqlite3_file*, sqlite3_int64, int, void** out)
{
    *out = nullptr;
    return SQLITE_OK;
}
int Unfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

const sqlite3_io_methods kMethods = {
    3, Close, Read, Write, Truncate, Sync, FileSize, Lock, Unlock, CheckReservedLock, FileControl, SectorSize,
    DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier, ShmUnmap, Fetch, Unfetch,
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* ours = reinterpret_cast<FaultFile*>(file);
    ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
    const int rc = g_real->xOpen(g_real, name, ours->real, flags, outFlags);
    ours->base.pMethods = ours->real->pMethods ? &kMethods : nullptr;
    return rc;
}

} // namespace

FaultVfs::FaultVfs()
{
    if (g_real)
        throw std::logic_error("one FaultVfs at a time");
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;   // the VFS-level calls (paths, access, time) are the real ones
    g_vfs.iVersion = g_real->iVersion;
    g_vfs.szOsFile = int(sizeof(FaultFile)) + g_real->szOsFile;
    g_vfs.pNext = nullptr;
    g_vfs.zName = "stolvar-fault";
    g_vfs.xOpen = Open;
    disarm();
    sqlite3_vfs_register(&g_vfs, 1);
}

void FaultVfs::setWriteError(int code)
{
    g_state.writeError = code;
}

FaultVfs::~FaultVfs()
{
    g_state.writeError = SQLITE_IOERR_WRITE;
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_real, 1);
    g_real = nullptr;
}

void FaultVfs::arm(long long failAt, unsigned kinds)
{
    g_state.kinds = 0;
    g_state.counted = 0;
    g_state.failures = 0;
    g_state.failAt = failAt;
    g_state.kinds = kinds;
}

long long FaultVfs::counted() const
{
    return g_state.counted;
}

long long FaultVfs::failures() const
{
    return g_state.failures;
}

} // namespace stolvar::test
