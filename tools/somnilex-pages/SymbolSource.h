#pragma once
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

// The dictionary's source text: entries of the form
//
//   ## Keyword
//   One paragraph of meaning, possibly wrapped over several lines.
//
//   - A variation of the dream: its reading.
//
//   See also: Other keyword; Another one
struct Variation
{
    QString situation;
    QString reading;
};

struct Symbol
{
    QString key;
    QString meaning;
    std::vector<Variation> variations;
    QStringList seeAlso;
    QString origin; // "file:line", for messages
};

namespace SymbolSource {

class Error : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Parses one source text; origin names it in messages. Throws Error.
std::vector<Symbol> parse(const QString &text, const QString &origin);
std::vector<Symbol> parseFile(const QString &path);

// The page name of a keyword: lower case, runs of other characters turned into one "-".
QString slug(const QString &key);

// Checks a whole set: keys unique ignoring case and by page name, a meaning on every entry,
// and every "see also" naming a key of known. Throws Error listing what is wrong.
void validate(const std::vector<Symbol> &symbols, const std::vector<Symbol> &known);

} // namespace SymbolSource
