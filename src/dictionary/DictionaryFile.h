#pragma once
#include <QString>
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

namespace DictionaryFile {

// Writes a new dictionary (or update) file holding rows in their order. The file is built
// beside its destination and renamed over it only once complete, so a failure leaves no
// half-made file and an existing file untouched. Throws DictionaryError.
void write(const QString &path, const std::vector<DictionaryRow> &rows);

// All rows of a dictionary file, in table order. Throws DictionaryError.
std::vector<DictionaryRow> read(DictionaryCache &cache, const QString &path);
// The same through a handle of its own, as another program would read the file: for a tool
// that reads one file once, and for tests that check what is on disk.
std::vector<DictionaryRow> read(const QString &path);

} // namespace DictionaryFile
