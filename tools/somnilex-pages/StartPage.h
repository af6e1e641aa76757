#pragma once
#include "SymbolSource.h"
#include <QString>
#include <vector>

// The start page's generated parts: the A-Z index of every symbol, and the search index that
// the page's own script reads (start.js), so that the meanings can be searched with no server.
namespace StartPage {

// The index heading a keyword files under: its first letter, upper case, or "#" when it
// begins with anything but a letter from A to Z.
QString letterOf(const QString &key);

// Fills the template's {{COUNT}}, {{LETTERS}} (jump links, A to Z, unused letters not linked)
// and {{INDEX}} (one section per letter). Expects the symbols in the order to list them.
QString indexPage(const QString &pageTemplate, const std::vector<Symbol> &symbols);

// A text as the search compares it: lower case, words (runs of letters and digits) joined by
// single spaces, so that a whole word is found as " word " in " " + text + " ".
QString words(const QString &text);

// The meaning's first sentence, shown beside a symbol.
QString lead(const QString &meaning);

// The script that hands the page its data: one assignment of a JSON array with, per symbol,
// [keyword, page, words of the keyword, words of the meaning and variations, lead].
QString searchIndex(const std::vector<Symbol> &symbols);

} // namespace StartPage
