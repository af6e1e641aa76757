#pragma once
// A file system layer over SQLite's own, registered as the default while it lives, whose
// writes and deletes a test can watch, hold up or fail: the only way to stop or break a commit
// at a chosen step, and not by the clock. Files opened through it must be closed before it goes.
#include <sqlite3.h>

#include <cstring>
#include <functional>

class ShimVfs
{
public:
    enum class File { Database, Journal, Other };

    // Asked before every write; SQLITE_OK lets it through, another code fails it.
    std::function<int(File file)> beforeWrite;
    // Told before (done false) and after (done true) every file is deleted.
    std::function<void(const char *name, bool done)> aroundDelete;

    ShimVfs()
    {
        m_shim.owner = this;
        m_shim.real = sqlite3_vfs_find(nullptr);
        m_shim.vfs = *m_shim.real;
        m_shim.vfs.pNext = nullptr;
        m_shim.vfs.zName = "somnilex-test-shim";
        m_shim.vfs.szOsFile = int(sizeof(ShimFile)) + m_shim.real->szOsFile;
        m_shim.vfs.xOpen = vfsOpen;
        m_shim.vfs.xDelete = vfsDelete;
        m_registered = sqlite3_vfs_register(&m_shim.vfs, 1) == SQLITE_OK;
    }
    ~ShimVfs()
    {
        if (m_registered)
            sqlite3_vfs_unregister(&m_shim.vfs);
    }
    ShimVfs(const ShimVfs &) = delete;
    ShimVfs &operator=(const ShimVfs &) = delete;

    bool registered() const { return m_registered; }

private:
    struct Shim
    {
        sqlite3_vfs vfs; // first, so that SQLite's pointer to it is a pointer to the whole
        sqlite3_vfs *real = nullptr;
        ShimVfs *owner = nullptr;
    };
    struct ShimFile
    {
        sqlite3_file base;
        Shim *shim;
        File kind;
        // SQLite's own file follows in the same allocation.
        sqlite3_file *real() { return reinterpret_cast<sqlite3_file *>(this + 1); }
    };

    static ShimFile *shimFile(sqlite3_file *f) { return reinterpret_cast<ShimFile *>(f); }
    static sqlite3_file *realFile(sqlite3_file *f) { return shimFile(f)->real(); }

    static int fileClose(sqlite3_file *f) { return realFile(f)->pMethods->xClose(realFile(f)); }
    static int fileRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
    {
        return realFile(f)->pMethods->xRead(realFile(f), buffer, amount, offset);
    }
    static int fileWrite(sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset)
    {
        ShimVfs *owner = shimFile(f)->shim->owner;
        if (owner->beforeWrite) {
            const int rc = owner->beforeWrite(shimFile(f)->kind);
            if (rc != SQLITE_OK)
                return rc;
        }
        return realFile(f)->pMethods->xWrite(realFile(f), buffer, amount, offset);
    }
    static int fileTruncate(sqlite3_file *f, sqlite3_int64 size)
    {
        return realFile(f)->pMethods->xTruncate(realFile(f), size);
    }
    static int fileSync(sqlite3_file *f, int flags)
    {
        return realFile(f)->pMethods->xSync(realFile(f), flags);
    }
    static int fileSize(sqlite3_file *f, sqlite3_int64 *size)
    {
        return realFile(f)->pMethods->xFileSize(realFile(f), size);
    }
    static int fileLock(sqlite3_file *f, int level)
    {
        return realFile(f)->pMethods->xLock(realFile(f), level);
    }
    static int fileUnlock(sqlite3_file *f, int level)
    {
        return realFile(f)->pMethods->xUnlock(realFile(f), level);
    }
    static int fileCheckReservedLock(sqlite3_file *f, int *out)
    {
        return realFile(f)->pMethods->xCheckReservedLock(realFile(f), out);
    }
    static int fileControl(sqlite3_file *f, int op, void *arg)
    {
        return realFile(f)->pMethods->xFileControl(realFile(f), op, arg);
    }
    static int fileSectorSize(sqlite3_file *f)
    {
        return realFile(f)->pMethods->xSectorSize(realFile(f));
    }
    static int fileDeviceCharacteristics(sqlite3_file *f)
    {
        return realFile(f)->pMethods->xDeviceCharacteristics(realFile(f));
    }

    static const sqlite3_io_methods *methods()
    {
        // Version 1: no shared memory and no memory mapping, which a rollback journal does
        // not use.
        static const sqlite3_io_methods shimMethods
            = { 1, fileClose, fileRead, fileWrite, fileTruncate, fileSync, fileSize, fileLock,
                  fileUnlock, fileCheckReservedLock, fileControl, fileSectorSize,
                  fileDeviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr };
        return &shimMethods;
    }

    static int vfsOpen(sqlite3_vfs *vfs, const char *name, sqlite3_file *f, int flags, int *out)
    {
        auto *shim = reinterpret_cast<Shim *>(vfs);
        ShimFile *file = shimFile(f);
        file->base.pMethods = nullptr;
        file->shim = shim;
        file->kind = (flags & SQLITE_OPEN_MAIN_DB) ? File::Database
            : (flags & SQLITE_OPEN_MAIN_JOURNAL)   ? File::Journal
                                                   : File::Other;
        const int rc = shim->real->xOpen(shim->real, name, file->real(), flags, out);
        if (file->real()->pMethods)
            file->base.pMethods = methods();
        return rc;
    }

    static int vfsDelete(sqlite3_vfs *vfs, const char *name, int syncFolder)
    {
        auto *shim = reinterpret_cast<Shim *>(vfs);
        if (shim->owner->aroundDelete)
            shim->owner->aroundDelete(name, false);
        const int rc = shim->real->xDelete(shim->real, name, syncFolder);
        if (shim->owner->aroundDelete)
            shim->owner->aroundDelete(name, true);
        return rc;
    }

    Shim m_shim;
    bool m_registered = false;
};
