// Any bytes as a dictionary file, opened and read the ways the program and the tool do: the
// only acceptable failure is a DictionaryError.
#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "DictionaryFile.h"
#include "SnapshotDreamRows.h"
#include "TsvFormat.h"
#include "modDB.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void readAsTheProgramDoes(const modDB::ConnectionPtr &connection)
{
    modDB::RecordsetPtr rs;
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    if (rs->RecordCount() == 0)
        return;
    rs->MoveFirst();
    for (qint64 i = 0; i < rs->RecordCount(); ++i) {
        rs->Fields(QStringLiteral("Key"));
        rs->Fields(QStringLiteral("Link"));
        rs->Fields(QStringLiteral("Names"));
        rs->MoveNext();
    }
}

// The lookups read the rows by number, and search the lower-cased Keys.
void lookUpAsTheProgramDoes(DictionaryCache &cache, const QString &path)
{
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(cache, path);
    rows->keys();
    const qint64 count = rows->count();
    for (qint64 row = 0; row < count; ++row) {
        rows->lowerKey(row);
        rows->link(row);
    }
    rows->keysOf(rows->rowsContaining(QStringLiteral("a")));
    rows->firstRowOf(QStringLiteral("snake"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static quint64 inputs = 0;
    // A new name for every input: the program keeps a file it opened open while the file looks
    // the same, and two inputs of one size written within a clock tick would look the same.
    const QString path = folder.filePath(QStringLiteral("input-%1.dll").arg(++inputs));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    // Deriving the key takes most of the time, so each input is unlocked once: the program
    // keeps the open file for the row set and for the tool's walk alike.
    DictionaryCache cache;
    modDB::ConnectionPtr connection;
    try {
        modDB::OpenConnection(connection, cache, path);
    } catch (const DictionaryError &) {
        QFile::remove(path);
        return 0;
    }
    try {
        readAsTheProgramDoes(connection);
    } catch (const DictionaryError &) { }
    try {
        lookUpAsTheProgramDoes(cache, path);
    } catch (const DictionaryError &) { }
    try {
        DictionaryFile::walk(path, [](const StoredRow &row) { TsvFormat::formatRow(row); });
    } catch (const DictionaryError &) { }
    QFile::remove(path);
    return 0;
}
