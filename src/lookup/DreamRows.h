#pragma once
#include <QString>
#include <QStringList>

// The dictionary's dreams rows as the lookup decisions read them: in table order, by row number,
// nothing written. Reading may open the dictionary (a view opens it when first asked), so every
// call may throw DictionaryError: the file cannot be opened, or the table lacks the column asked
// for. A column is looked for only when one of its fields is asked for, so a table without Link
// serves every search and fails only the display that finds a row.
class DreamRows
{
public:
    virtual ~DreamRows() = default;

    virtual qint64 count() = 0;
    // The row's Key as stored, and the same lower-cased; row is 0 to count() - 1.
    virtual const QString &key(qint64 row) = 0;
    virtual const QString &lowerKey(qint64 row) = 0;
    virtual const QString &link(qint64 row) = 0;
    // Every Key in table order, in one piece: a list of the whole table is the commonest read.
    virtual QStringList keys() = 0;
};
