#pragma once
#include "ColumnNames.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class CipherFile;

// The Links a dictionary table holds, read in one pass of that column alone and kept as UTF-8
// in one block, so that a merge of a million rows asks a table of numbers instead of keeping
// a million strings. Two links are the same when their texts are, as QString compares them.
class KnownLinks
{
public:
    // Reads every row of table in file. Throws DictionaryError when the table cannot be read
    // or has no Link column (named in any ASCII case, as SQLite matches names).
    KnownLinks(CipherFile &file, const QString &table);

    // The table's column names as stored, in table order.
    const ColumnNames &columns() const { return m_columns; }

    // Adds link; false when it was known already.
    bool insert(const QString &link);

private:
    static constexpr quint32 Empty = 0xffffffffu; // the begin of a slot that holds no link
    struct Slot
    {
        quint64 hash = 0;
        quint32 begin = Empty; // where the link starts in m_text
        quint32 length = 0;
    };
    std::string_view linkAt(const Slot &slot) const;
    // Where the link of that hash is, or the empty slot where it would go.
    size_t slotOf(std::string_view link, quint64 hash) const;
    void grow();

    ColumnNames m_columns;
    std::string m_text; // every link, back to back
    std::vector<Slot> m_slots; // open addressing, a power of two in size, at most half full
    size_t m_used = 0;
};
