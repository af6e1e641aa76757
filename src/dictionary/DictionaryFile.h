#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class DictionaryCache;

// One row of the dreams table as files are made from.
struct DictionaryRow
{
    QString key;
    QString link;
    QString names;

    bool operator==(const DictionaryRow &other) const
    {
        return key == other.key && link == other.link && names == other.names;
    }
};

// One row's cells byte for byte as the file holds them: UTF-8, unless something other than
// this program wrote the file.
struct StoredRow
{
    QByteArray key;
    QByteArray link;
    QByteArray names;

    bool operator==(const StoredRow &other) const
    {
        return key == other.key && link == other.link && names == other.names;
    }
};

namespace DictionaryFile {

// Writes a new dictionary (or update) file holding rows in their order, replacing any file of
// that name once the new one is complete; a failure leaves no half-made file and an existing
// file untouched. Throws DictionaryError. DictionaryWriter does the same row by row.
void write(const QString &path, const std::vector<DictionaryRow> &rows);

// All rows of a dictionary file, in table order. Throws DictionaryError.
std::vector<DictionaryRow> read(DictionaryCache &cache, const QString &path);
// The same through a handle of its own, as another program would read the file: for a tool
// that reads one file once, and for tests that check what is on disk.
std::vector<DictionaryRow> read(const QString &path);

// Opens the file as the program does and finds its table of symbols, without reading the rows.
// Throws DictionaryError, with the cause Damaged when the bytes are no dictionary of ours.
void probe(const QString &path);

// Hands every row of a dictionary file to visit, in table order, one at a time, so that a file
// of any size takes little memory. The row's cells are valid only during the call. Returns the
// number of rows. Opens the file as the program does; throws DictionaryError.
qint64 walk(const QString &path, const std::function<void(const StoredRow &)> &visit);

} // namespace DictionaryFile
