#include "MatchRules.h"
#include "modDict.h"

namespace MatchRules {

QString exactTerm(const QString &typed)
{
    return trimSpaces(typed).toLower();
}

QString wildcardTerm(const QString &typed)
{
    return modDict::StripWildcards(typed.toLower());
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
