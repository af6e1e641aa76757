#pragma once
#include "DictionaryFile.h"
#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <vector>

// The tab-separated text form of a dictionary: a header "Key<TAB>Link<TAB>Names", then one row
// per line, in UTF-8. So that any cell fits on one line and comes back byte for byte, a cell is
// written with escapes: \t for a tab, \n for a line feed, \r for a carriage return, \\ for a
// backslash, and \xHH (two hexadecimal digits) for any other control byte and for a byte that
// is not part of valid UTF-8. A backslash followed by anything else is an error.
namespace TsvFormat {

class ParseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

extern const QByteArray Header;

// A cell as stored (any bytes) in its written form: valid UTF-8, no tab, line feed or carriage
// return.
QByteArray escape(const QByteArray &cell);
// The stored bytes of a written cell. Throws ParseError (without a line number).
QByteArray unescape(const QByteArray &field);

// The length of the valid UTF-8 sequence that starts at begin (1 to 4), or 0 where none does:
// a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF or a cut-off
// sequence.
int utf8SequenceLength(const char *begin, const char *end);

// One row as a line, with its line feed.
QByteArray formatRow(const StoredRow &row);

// A whole text, for files small enough to hold in memory; TsvReader reads any size. parse()
// throws ParseError naming the first bad line.
std::vector<StoredRow> parse(const QByteArray &text);
QByteArray format(const std::vector<StoredRow> &rows);
QString format(const std::vector<DictionaryRow> &rows);

} // namespace TsvFormat
