#pragma once
#include "DictionaryFile.h"

#include <QIODevice>

// Reads the tab-separated form of a dictionary (see TsvFormat) one line at a time, in blocks,
// so that a file of any size takes the memory of one row. The header is checked before the
// first row. A line may be at most LongestLine bytes long: input that never ends a line (a
// device, a pipe, a file of zeros) is stopped there rather than held.
class TsvReader
{
public:
    static constexpr qint64 LongestLine = 1 << 20;

    explicit TsvReader(QIODevice &input)
        : m_input(input)
    { }

    // The next row's cells as they are to be stored; false after the last. Throws
    // TsvFormat::ParseError naming the line: a wrong header, a line that is not UTF-8, a wrong
    // number of fields, a bad escape, or a line longer than LongestLine.
    bool next(StoredRow &row);

    // The number of the line read last; the header is line 1.
    qint64 lineNumber() const { return m_line; }

private:
    bool readLine();
    // Adds a block of input to the buffer; false at the end of the input.
    bool fill();
    [[noreturn]] void fail(const QString &what) const;

    QIODevice &m_input;
    QByteArray m_buffer;
    qsizetype m_start = 0; // where the next line begins in the buffer
    QByteArray m_text;
    qint64 m_line = 0;
};
