#include "MatchRules.h"
#include "modDict.h"

namespace MatchRules {

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString exactTerm(const QString &typed)
{
    return trimSpaces(typed).toLower();
}

QString wildcardTerm(const QString &typed)
{
    return modDict::StripWildcards(typed.toLower());
}

// The rules cut the stored key first and lower-case the piece. Lower-casing nearly always keeps
// a text's length, and then cutting and lower-casing commute; the few characters whose lower
// case is longer take the literal route.
bool matchesExact(const QString &key, const QString &term)
{
    const QString lower = key.toLower();
    if (lower.size() == key.size())
        return lower.startsWith(term);
    return key.size() >= term.size() && key.left(term.size()).toLower() == term;
}

bool matchesWildcard(const QString &key, const QString &term)
{
    if (key.isEmpty())
        return false;
    if (term.isEmpty())
        return true;
    const QString lower = key.toLower();
    if (lower.size() == key.size())
        return lower.contains(term);
    for (qsizetype p = 0; p < key.size(); ++p) {
        if (key.mid(p, term.size()).toLower() == term)
            return true;
    }
    return false;
}

bool matchesKeyword(const QString &key, const QString &lowerTerm)
{
    return key.toLower() == lowerTerm;
}

} // namespace MatchRules
