#include "storage/sqlite/SqliteCoalescedWrites.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

namespace osago {

namespace {

constexpr int kBufferBytes = 4 << 20;
// The default VFS writes at most 128 KB - 1 in one call (a longer write is cut to its length modulo 128 KB), so a
// buffer goes out in pieces of 64 KB.
constexpr int kPieceBytes = 64 << 10;

sqlite3_vfs* g_defaultVfs = nullptr;
// Marks the VFS whose files have each block handed to the disk as it is written.
const int kWritebackAsWritten = 1;

// SQLite allocates the default VFS's file right after this one, in the same block (szOsFile).
struct CoalescedFile
{
    sqlite3_file header; // first: SQLite sees a CoalescedFile as its sqlite3_file
    sqlite3_file* real = nullptr;
    std::unique_ptr<char[]> buffer; // empty for files other than a main database: their writes go straight on
    sqlite3_int64 bufferOffset = 0;
    int buffered = 0;
    int writebackFd = -1; // only to tell the kernel to start writing a block out

    int flush()
    {
        if (buffered == 0)
            return SQLITE_OK;
        const int written = buffered;
        buffered = 0;
        int rc = SQLITE_OK;
        for (int piece = 0; piece < written && rc == SQLITE_OK; piece += kPieceBytes)
            rc = real->pMethods->xWrite(real, buffer.get() + piece, std::min(kPieceBytes, written - piece),
                                        bufferOffset + piece);
        if (rc == SQLITE_OK && writebackFd >= 0)
            sync_file_range(writebackFd, bufferOffset, written, SYNC_FILE_RANGE_WRITE);
        return rc;
    }
};

CoalescedFile& coalesced(sqlite3_file* file)
{
    return *reinterpret_cast<CoalescedFile*>(file);
}

int writeCoalesced(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    CoalescedFile& self = coalesced(file);
    if (!self.buffer)
        return self.real->pMethods->xWrite(self.real, data, amount, offset);
    if (self.buffered > 0 && offset == self.bufferOffset + self.buffered && self.buffered + amount <= kBufferBytes) {
        std::memcpy(self.buffer.get() + self.buffered, data, std::size_t(amount));
        self.buffered += amount;
        return SQLITE_OK;
    }
    // A write elsewhere, perhaps over bytes still in the buffer: those go first, so the later write wins.
    if (const int rc = self.flush(); rc != SQLITE_OK)
        return rc;
    if (amount > kPieceBytes)
        return self.real->pMethods->xWrite(self.real, data, amount, offset);
    std::memcpy(self.buffer.get(), data, std::size_t(amount));
    self.bufferOffset = offset;
    self.buffered = amount;
    return SQLITE_OK;
}

// The calls that need the file as written so far: `method` of the default VFS's file, once the buffer is out.
template <auto method, typename... Arguments>
int afterFlush(sqlite3_file* file, Arguments... arguments)
{
    CoalescedFile& self = coalesced(file);
    const int rc = self.flush();
    return rc != SQLITE_OK ? rc : (self.real->pMethods->*method)(self.real, arguments...);
}

int closeCoalesced(sqlite3_file* file)
{
    CoalescedFile& self = coalesced(file);
    int rc = self.flush();
    const int closed = self.real->pMethods->xClose(self.real);
    if (rc == SQLITE_OK)
        rc = closed;
    if (self.writebackFd >= 0)
        ::close(self.writebackFd);
    self.~CoalescedFile();
    return rc;
}

sqlite3_file* realOf(sqlite3_file* file)
{
    return coalesced(file).real;
}

// The other calls go to the default VFS's file as they are. File controls do not flush: SQLite sends a size hint
// before writing each new page, which would empty the buffer at every page.
const sqlite3_io_methods kMethods = {
    3,
    &closeCoalesced,
    &afterFlush<&sqlite3_io_methods::xRead, void*, int, sqlite3_int64>,
    &writeCoalesced,
    &afterFlush<&sqlite3_io_methods::xTruncate, sqlite3_int64>,
    &afterFlush<&sqlite3_io_methods::xSync, int>,
    &afterFlush<&sqlite3_io_methods::xFileSize, sqlite3_int64*>,
    [](sqlite3_file* file, int level) { return realOf(file)->pMethods->xLock(realOf(file), level); },
    &afterFlush<&sqlite3_io_methods::xUnlock, int>,
    [](sqlite3_file* file, int* reserved) {
        return realOf(file)->pMethods->xCheckReservedLock(realOf(file), reserved);
    },
    [](sqlite3_file* file, int op, void* argument) {
        return realOf(file)->pMethods->xFileControl(realOf(file), op, argument);
    },
    [](sqlite3_file* file) { return realOf(file)->pMethods->xSectorSize(realOf(file)); },
    [](sqlite3_file* file) { return realOf(file)->pMethods->xDeviceCharacteristics(realOf(file)); },
    [](sqlite3_file* file, int region, int size, int extend, void volatile** memory) {
        return realOf(file)->pMethods->xShmMap(realOf(file), region, size, extend, memory);
    },
    [](sqlite3_file* file, int offset, int count, int flags) {
        return realOf(file)->pMethods->xShmLock(realOf(file), offset, count, flags);
    },
    [](sqlite3_file* file) { realOf(file)->pMethods->xShmBarrier(realOf(file)); },
    [](sqlite3_file* file, int deleting) { return realOf(file)->pMethods->xShmUnmap(realOf(file), deleting); },
    &afterFlush<&sqlite3_io_methods::xFetch, sqlite3_int64, int, void**>,
    [](sqlite3_file* file, sqlite3_int64 offset, void* pages) {
        return realOf(file)->pMethods->xUnfetch(realOf(file), offset, pages);
    },
};

int openCoalesced(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* self = new (file) CoalescedFile;
    self->header.pMethods = nullptr;
    self->real = reinterpret_cast<sqlite3_file*>(self + 1);
    const int rc = g_defaultVfs->xOpen(g_defaultVfs, name, self->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (self->real->pMethods)
            self->real->pMethods->xClose(self->real);
        self->~CoalescedFile();
        return rc;
    }
    if ((flags & SQLITE_OPEN_MAIN_DB) && name) {
        self->buffer.reset(new (std::nothrow) char[kBufferBytes]);
        if (vfs->pAppData == &kWritebackAsWritten)
            self->writebackFd = ::open(name, O_RDONLY | O_CLOEXEC);
    }
    self->header.pMethods = &kMethods;
    return SQLITE_OK;
}

} // namespace

const char* coalescedWritesVfs(Writeback writeback)
{
    static std::array<sqlite3_vfs, 2> vfs;
    static std::once_flag registered;
    std::call_once(registered, [] {
        g_defaultVfs = sqlite3_vfs_find(nullptr);
        const std::array<const char*, 2> names{"osago-coalesced-writes", "osago-coalesced-writes-on-disk"};
        for (std::size_t i = 0; i < vfs.size(); ++i) {
            // The default VFS's own calls other than opening do not depend on which VFS structure they are given.
            vfs[i] = *g_defaultVfs;
            vfs[i].zName = names[i];
            vfs[i].szOsFile = int(sizeof(CoalescedFile)) + g_defaultVfs->szOsFile;
            vfs[i].xOpen = &openCoalesced;
            vfs[i].pAppData = i == 1 ? const_cast<int*>(&kWritebackAsWritten) : nullptr;
            vfs[i].pNext = nullptr;
            sqlite3_vfs_register(&vfs[i], 0);
        }
    });
    return vfs[writeback == Writeback::AsWritten ? 1 : 0].zName;
}

} // namespace osago
