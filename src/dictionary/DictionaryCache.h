#pragma once
#include "FileStamp.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class CipherFile;
class TableSnapshot;

// The dictionary files a run has open, by path, each with the rows last read from it. Opening
// a file derives its key, which is slow by design, so the few files a run reads stay unlocked
// while they are unchanged, and their rows are read again only after someone wrote to them.
// The application owns one and hands it to every reader of the dictionary.
class DictionaryCache
{
public:
    DictionaryCache();
    ~DictionaryCache();
    DictionaryCache(const DictionaryCache &) = delete;
    DictionaryCache &operator=(const DictionaryCache &) = delete;

    // The file at path, unlocked: the handle already open when the file is the same as when it
    // was opened, else a new one. Throws DictionaryError.
    std::shared_ptr<CipherFile> open(const QString &path);

    // The rows of source in file as the table holds them now: the last snapshot while nobody
    // has written to the file since, else a new one. Throws DictionaryError.
    std::shared_ptr<const TableSnapshot> rows(
        CipherFile &file, const QString &source, const QString &tableName);
    // table, made from rows of source in file (more of its columns as strings, or lowered):
    // while rows are the last snapshot read, table takes its place for every later row set.
    std::shared_ptr<const TableSnapshot> refined(const CipherFile &file, const QString &source,
        const std::shared_ptr<const TableSnapshot> &rows, TableSnapshot table);

    // Our own writes change the file without making its handle stale.
    void noteOwnWrite(const CipherFile &file);

    // Forgets file: the next open of its path opens it anew. Whoever still holds the handle
    // keeps it until they let it go.
    void drop(const CipherFile &file);

    // How many files are open through this cache.
    int fileCount() const { return int(m_entries.size()); }

private:
    struct Snapshot
    {
        std::shared_ptr<const TableSnapshot> table;
        qint64 dataVersion = -1;
        int ownChanges = -1;
    };
    struct Entry
    {
        std::shared_ptr<CipherFile> file;
        QString absolutePath;
        FileStamp stamp;
        QHash<QString, Snapshot> snapshots;
    };
    Entry *entryOf(const CipherFile &file);

    std::vector<Entry> m_entries; // most recently used first
};
