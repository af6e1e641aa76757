#include "DreamRows.h"

#include "MatchRules.h"

namespace {

template <typename Matches>
std::vector<qint64> rowsWhere(DreamRows &rows, const QString &term, Matches matches)
{
    std::vector<qint64> found;
    const qint64 count = rows.count();
    for (qint64 row = 0; row < count; ++row) {
        if (matches(rows.lowerKey(row), term))
            found.push_back(row);
    }
    return found;
}

} // namespace

std::vector<qint64> DreamRows::rowsBeginningWith(const QString &term)
{
    return rowsWhere(*this, term, MatchRules::lowerKeyMatchesExact);
}

std::vector<qint64> DreamRows::rowsContaining(const QString &term)
{
    return rowsWhere(*this, term, MatchRules::lowerKeyMatchesWildcard);
}

qint64 DreamRows::firstRowOf(const QString &lowerTerm)
{
    const qint64 rows = count();
    for (qint64 row = 0; row < rows; ++row) {
        if (lowerKey(row) == lowerTerm)
            return row;
    }
    return -1;
}

QStringList DreamRows::keysOf(const std::vector<qint64> &rows)
{
    QStringList listed;
    listed.reserve(qsizetype(rows.size()));
    for (const qint64 row : rows)
        listed.append(key(row));
    return listed;
}
