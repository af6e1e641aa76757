#pragma once
#include <QString>
#include <QStringList>

#include <vector>

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
    virtual QString key(qint64 row) = 0;
    virtual QString lowerKey(qint64 row) = 0;
    virtual QString link(qint64 row) = 0;
    // Every Key in table order, in one piece: a list of the whole table is the commonest read.
    virtual QStringList keys() = 0;

    // The searches over every row, in one call each so that a view may answer from an index.
    // Unless a view has a faster way, they ask lowerKey of every row in turn.
    // The rows whose lower-cased Key begins with, or contains, term (already lower-cased; see
    // MatchRules), in table order.
    virtual std::vector<qint64> rowsBeginningWith(const QString &term);
    virtual std::vector<qint64> rowsContaining(const QString &term);
    // The first row whose lower-cased Key is lowerTerm; -1 when none is.
    virtual qint64 firstRowOf(const QString &lowerTerm);
    // The Keys of rows, in the order given.
    virtual QStringList keysOf(const std::vector<qint64> &rows);
};
