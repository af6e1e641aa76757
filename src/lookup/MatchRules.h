#pragma once
#include "TextRules.h"
#include <QString>

// How a typed term is compared with stored keywords. Pure functions, no dictionary access.
namespace MatchRules {

// The exact-mode term: trimmed of spaces at both ends, then lower-cased.
QString exactTerm(const QString &typed);
// The wildcard-mode term: lower-cased, stars removed, not trimmed.
QString wildcardTerm(const QString &typed);
using TextRules::trimSpaces;

// Exact mode: the lower-cased key begins with term (already lower-cased by the caller). An empty
// term matches every key, the empty key included.
bool matchesExact(const QString &key, const QString &term);
// Wildcard mode: the lower-cased key contains term (already lower-cased). An empty term matches
// every non-empty key; the empty key never matches.
bool matchesWildcard(const QString &key, const QString &term);
// The same two rules on a key already lower-cased with QString::toLower, as row sets keep it.
bool lowerKeyMatchesExact(const QString &lowerKey, const QString &term);
bool lowerKeyMatchesWildcard(const QString &lowerKey, const QString &term);

} // namespace MatchRules
