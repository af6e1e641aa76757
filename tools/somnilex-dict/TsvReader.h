#pragma once
#include "DictionaryFile.h"

#include <QIODevice>

// Reads the tab-separated form of a dictionary (see TsvFormat) one line at a time, so that a
// file of any size takes the memory of one row. The header is checked before the first row.
class TsvReader
{
public:
    explicit TsvReader(QIODevice &input)
        : m_input(input)
    { }

    // The next row's cells as they are to be stored; false after the last. Throws
    // TsvFormat::ParseError naming the line: a wrong header, a line that is not UTF-8, a wrong
    // number of fields or a bad escape.
    bool next(StoredRow &row);

    // The number of the line read last; the header is line 1.
    qint64 lineNumber() const { return m_line; }

private:
    bool readLine();
    [[noreturn]] void fail(const QString &what) const;

    QIODevice &m_input;
    QByteArray m_text;
    qint64 m_line = 0;
};
