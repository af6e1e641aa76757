#include "DictionaryCache.h"

#include "CipherFile.h"
#include "DictionaryPassword.h"
#include "TableSnapshot.h"

#include <QFileInfo>

namespace {

// A handful is plenty: a run reads the dictionary and, now and then, an update file.
constexpr size_t Kept = 4;

} // namespace

DictionaryCache::DictionaryCache() = default;

DictionaryCache::~DictionaryCache() = default;

std::shared_ptr<CipherFile> DictionaryCache::open(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->absolutePath != absolute)
            continue;
        Entry entry = std::move(*it);
        m_entries.erase(it);
        if (entry.stamp == FileStamp::of(path)) {
            m_entries.insert(m_entries.begin(), std::move(entry));
            return m_entries.front().file;
        }
        break; // replaced or changed on disk: open it anew
    }
    Entry entry;
    entry.stamp = FileStamp::of(path);
    entry.file = std::make_shared<CipherFile>(path, QByteArray(DictionaryPassword));
    entry.absolutePath = absolute;
    m_entries.insert(m_entries.begin(), std::move(entry));
    if (m_entries.size() > Kept)
        m_entries.resize(Kept);
    return m_entries.front().file;
}

DictionaryCache::Entry *DictionaryCache::entryOf(const CipherFile &file)
{
    for (Entry &entry : m_entries) {
        if (entry.file.get() == &file)
            return &entry;
    }
    return nullptr;
}

std::shared_ptr<const TableSnapshot> DictionaryCache::rows(
    CipherFile &file, const QString &source, const QString &tableName)
{
    // data_version moves when another connection commits; the change count when this one
    // writes.
    const qint64 version = file.dataVersion();
    const int ownChanges = file.ownChanges();
    Entry *entry = entryOf(file);
    if (entry) {
        const auto cached = entry->snapshots.constFind(source);
        if (cached != entry->snapshots.constEnd() && cached->dataVersion == version
            && cached->ownChanges == ownChanges)
            return cached->table;
    }
    auto table
        = std::make_shared<const TableSnapshot>(TableSnapshot::read(file, source, tableName));
    if (entry) {
        // Rows read before the last write are of no use to anyone any more.
        entry->snapshots.removeIf([&](const auto &snapshot) {
            return snapshot.value().dataVersion != version
                || snapshot.value().ownChanges != ownChanges;
        });
        entry->snapshots.insert(source, { table, version, ownChanges });
    }
    return table;
}

std::shared_ptr<const TableSnapshot> DictionaryCache::refined(const CipherFile &file,
    const QString &source, const std::shared_ptr<const TableSnapshot> &rows,
    TableSnapshot refinement)
{
    auto table = std::make_shared<const TableSnapshot>(std::move(refinement));
    if (Entry *entry = entryOf(file)) {
        const auto cached = entry->snapshots.find(source);
        if (cached != entry->snapshots.end() && cached->table == rows)
            cached->table = table;
    }
    return table;
}

void DictionaryCache::noteOwnWrite(const CipherFile &file)
{
    if (Entry *entry = entryOf(file))
        entry->stamp = FileStamp::of(file.path());
}

void DictionaryCache::drop(const CipherFile &file)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->file.get() == &file) {
            m_entries.erase(it);
            return;
        }
    }
}
