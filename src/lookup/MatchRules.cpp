#include "MatchRules.h"
#include "modDict.h"

namespace MatchRules {

SearchTerm searchTerm(const QString &typed, bool wildcard)
{
    // Lower-casing neither makes nor removes a space or a star, so the order of the three steps
    // does not change the result.
    const QString lower = typed.toLower();
    const QString starless = modDict::StripWildcards(lower);
    SearchTerm term;
    const QString exact = trimSpaces(lower);
    term.named = trimSpaces(starless);
    term.blank = exact.isEmpty();
    term.text = wildcard ? starless : exact;
    return term;
}

QString exactTerm(const QString &typed)
{
    return searchTerm(typed, false).text;
}

QString wildcardTerm(const QString &typed)
{
    return searchTerm(typed, true).text;
}

// The whole key is lower-cased before it is compared. Cutting the key to the term's length
// first would give the same answer for nearly every text, but not for the one capital whose
// lower case is two characters long (U+0130): cut first, "İstanbul" would no longer begin with
// the lower-cased "İstanbul", nor contain the lower-cased "İst".
bool lowerKeyMatchesExact(const QString &lowerKey, const QString &term)
{
    // Tested apart: a null key (a NULL field) does not start with even the empty text.
    return term.isEmpty() || lowerKey.startsWith(term);
}

bool lowerKeyMatchesWildcard(const QString &lowerKey, const QString &term)
{
    return !lowerKey.isEmpty() && (term.isEmpty() || lowerKey.contains(term));
}

bool matchesExact(const QString &key, const QString &term)
{
    return lowerKeyMatchesExact(key.toLower(), term);
}

bool matchesWildcard(const QString &key, const QString &term)
{
    return lowerKeyMatchesWildcard(key.toLower(), term);
}

} // namespace MatchRules
