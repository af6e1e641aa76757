// Runs one dictionary update in a process of its own, for the test that kills it part-way.
// Arguments: update file, dictionary file, and where to pause:
//   append:N  after the Nth appended row
//   write:N   while committing, before the Nth write to the dictionary file
//   unlink    while committing, before the journal is deleted (the dictionary is written)
//   unlinked  while committing, just after the journal is deleted
//   never     not at all
// At the pause it prints PAUSED and waits for a line on its input: any line lets it go on, the
// end of the input ends it at once, as a crash would. Prints MERGED and the count when done.
#include "DictionaryCache.h"
#include "DictionaryUpdate.h"

#include <QCoreApplication>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Stage { Never, Append, Write, Unlink, Unlinked };

// A file system layer over SQLite's own that pauses the process at one step of the commit: the
// only way to stop it between the journal and the database writes, and not by the clock.
struct PausingVfs
{
    sqlite3_vfs vfs; // first, so that SQLite's pointer to it is a pointer to the whole
    sqlite3_vfs *real = nullptr;
    Stage stage = Stage::Never;
    qint64 count = 0;
    bool committing = false;
    qint64 writes = 0;
};

struct PausingFile
{
    sqlite3_file base;
    PausingVfs *owner;
    bool database;
    // SQLite's own file follows in the same allocation.
    sqlite3_file *real() { return reinterpret_cast<sqlite3_file *>(this + 1); }
};

void pause()
{
    std::printf("PAUSED\n");
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin))
        std::_Exit(3);
}

PausingFile *pausingFile(sqlite3_file *file)
{
    return reinterpret_cast<PausingFile *>(file);
}

sqlite3_file *realFile(sqlite3_file *file)
{
    return pausingFile(file)->real();
}

int fileClose(sqlite3_file *f)
{
    return realFile(f)->pMethods->xClose(realFile(f));
}
int fileRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
{
    return realFile(f)->pMethods->xRead(realFile(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset)
{
    PausingFile *file = pausingFile(f);
    PausingVfs *owner = file->owner;
    if (file->database && owner->committing && owner->stage == Stage::Write
        && ++owner->writes == owner->count)
        pause();
    return realFile(f)->pMethods->xWrite(realFile(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    return realFile(f)->pMethods->xTruncate(realFile(f), size);
}
int fileSync(sqlite3_file *f, int flags)
{
    return realFile(f)->pMethods->xSync(realFile(f), flags);
}
int fileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return realFile(f)->pMethods->xFileSize(realFile(f), size);
}
int fileLock(sqlite3_file *f, int level)
{
    return realFile(f)->pMethods->xLock(realFile(f), level);
}
int fileUnlock(sqlite3_file *f, int level)
{
    return realFile(f)->pMethods->xUnlock(realFile(f), level);
}
int fileCheckReservedLock(sqlite3_file *f, int *out)
{
    return realFile(f)->pMethods->xCheckReservedLock(realFile(f), out);
}
int fileControl(sqlite3_file *f, int op, void *arg)
{
    return realFile(f)->pMethods->xFileControl(realFile(f), op, arg);
}
int fileSectorSize(sqlite3_file *f)
{
    return realFile(f)->pMethods->xSectorSize(realFile(f));
}
int fileDeviceCharacteristics(sqlite3_file *f)
{
    return realFile(f)->pMethods->xDeviceCharacteristics(realFile(f));
}

// Version 1: no shared memory and no memory mapping, which a rollback journal does not use.
const sqlite3_io_methods PausingMethods = {
    1,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int vfsOpen(sqlite3_vfs *vfs, const char *name, sqlite3_file *f, int flags, int *outFlags)
{
    auto *owner = reinterpret_cast<PausingVfs *>(vfs);
    PausingFile *file = pausingFile(f);
    file->base.pMethods = nullptr;
    file->owner = owner;
    // Only the dictionary is written; the update file is read alone.
    file->database = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const int rc = owner->real->xOpen(owner->real, name, file->real(), flags, outFlags);
    if (file->real()->pMethods)
        file->base.pMethods = &PausingMethods;
    return rc;
}

int vfsDelete(sqlite3_vfs *vfs, const char *name, int syncFolder)
{
    auto *owner = reinterpret_cast<PausingVfs *>(vfs);
    const size_t length = std::strlen(name);
    const bool journal
        = owner->committing && length > 8 && std::strcmp(name + length - 8, "-journal") == 0;
    if (journal && owner->stage == Stage::Unlink)
        pause();
    const int rc = owner->real->xDelete(owner->real, name, syncFolder);
    if (journal && owner->stage == Stage::Unlinked)
        pause();
    return rc;
}

bool parseStage(const QString &text, Stage &stage, qint64 &count)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok = parts.size() == 1;
    if (parts.size() == 2)
        count = parts[1].toLongLong(&ok);
    if (!ok)
        return false;
    const QString &name = parts[0];
    if (name == QLatin1String("never") && parts.size() == 1)
        stage = Stage::Never;
    else if (name == QLatin1String("append") && parts.size() == 2)
        stage = Stage::Append;
    else if (name == QLatin1String("write") && parts.size() == 2)
        stage = Stage::Write;
    else if (name == QLatin1String("unlink") && parts.size() == 1)
        stage = Stage::Unlink;
    else if (name == QLatin1String("unlinked") && parts.size() == 1)
        stage = Stage::Unlinked;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    PausingVfs pausing;
    if (args.size() != 4 || !parseStage(args.at(3), pausing.stage, pausing.count))
        return 2;

    pausing.real = sqlite3_vfs_find(nullptr);
    if (!pausing.real)
        return 2;
    pausing.vfs = *pausing.real;
    pausing.vfs.pNext = nullptr;
    pausing.vfs.zName = "pausing";
    pausing.vfs.szOsFile = int(sizeof(PausingFile)) + pausing.real->szOsFile;
    pausing.vfs.xOpen = vfsOpen;
    pausing.vfs.xDelete = vfsDelete;
    if (sqlite3_vfs_register(&pausing.vfs, 1) != SQLITE_OK)
        return 2;

    DictionaryCache cache;
    DictionaryUpdate update(cache, args.at(1), args.at(2));
    update.setAppendHook([&pausing](qint64 appended) {
        if (pausing.stage == Stage::Append && appended == pausing.count)
            pause();
    });
    update.setCommitHook([&pausing] { pausing.committing = true; });
    const DictionaryUpdate::Result result = update.run();
    if (result.outcome != DictionaryUpdate::Outcome::Merged)
        return 1;
    std::printf("MERGED %lld\n", static_cast<long long>(result.appended));
    return 0;
}
