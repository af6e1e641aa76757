#pragma once
#include "TextRules.h"
#include <QString>

// How a typed term is compared with stored keywords. Pure functions, no dictionary access.
namespace MatchRules {

// What a search makes of the search box's text, worked out once.
struct SearchTerm
{
    // What keys are matched against: in exact mode trimmed of spaces at both ends, then
    // lower-cased; in wildcard mode lower-cased with its stars removed, not trimmed.
    QString text;
    // The exact-mode term is empty: the Search button refuses it in every mode.
    bool blank = true;
    // The keyword the box names, whose page the Search button shows: stars removed, trimmed,
    // lower-cased.
    QString named;
};
SearchTerm searchTerm(const QString &typed, bool wildcard);
// The text of the exact-mode and wildcard-mode terms alone.
QString exactTerm(const QString &typed);
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
