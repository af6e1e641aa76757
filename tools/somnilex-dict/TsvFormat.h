#pragma once
#include "DictionaryFile.h"
#include <QString>
#include <stdexcept>
#include <vector>

// The tab-separated text form of a dictionary: a header "Key<TAB>Link<TAB>Names", then one row
// per line.
namespace TsvFormat {

class ParseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Throws ParseError naming the first bad line.
std::vector<DictionaryRow> parse(const QString &text);
QString format(const std::vector<DictionaryRow> &rows);

} // namespace TsvFormat
