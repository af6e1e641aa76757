#include "TsvReader.h"
#include "TsvFormat.h"

namespace {

// Large enough that a pipe or a file goes by in few reads, small beside the longest line.
constexpr qint64 Block = qint64(64) * 1024;

} // namespace

bool TsvReader::fill()
{
    // What was read already is dropped first, so the buffer holds one line at most.
    if (m_start > 0) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    const qsizetype held = m_buffer.size();
    m_buffer.resize(held + Block);
    const qint64 got = m_input.read(m_buffer.data() + held, Block);
    m_buffer.resize(held + qMax<qint64>(got, 0));
    if (got < 0)
        fail(QStringLiteral("could not read it: %1").arg(m_input.errorString()));
    return got > 0;
}

bool TsvReader::readLine()
{
    qsizetype end = m_buffer.indexOf('\n', m_start);
    bool more = true;
    while (end < 0 && more) {
        // Counted before the line end is found, so input that never ends a line stops here.
        if (m_buffer.size() - m_start > LongestLine)
            break;
        const qsizetype searched = m_buffer.size() - m_start;
        more = fill();
        end = m_buffer.indexOf('\n', m_start + searched);
    }
    const qsizetype stop = end < 0 ? m_buffer.size() : end;
    if (stop == m_start && end < 0)
        return false;
    ++m_line;
    if (stop - m_start > LongestLine)
        fail(QStringLiteral("it is longer than 1 MiB (%1 bytes), the most a row may take")
                 .arg(LongestLine));
    m_text = m_buffer.mid(m_start, stop - m_start);
    m_start = end < 0 ? m_buffer.size() : end + 1;
    if (m_text.endsWith('\r'))
        m_text.chop(1);
    return true;
}

bool TsvReader::next(StoredRow &row)
{
    if (m_line == 0) {
        const bool any = readLine();
        // Editors on Windows like to begin a UTF-8 file with a byte order mark.
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_text.remove(0, 3);
        if (!any || m_text != TsvFormat::Header) {
            m_line = 1;
            fail(QStringLiteral("the header must be Key<TAB>Link<TAB>Names"));
        }
    }
    if (!readLine())
        return false;

    const char *const begin = m_text.constData();
    const char *const end = begin + m_text.size();
    for (const char *p = begin; p < end;) {
        const int length = TsvFormat::utf8SequenceLength(p, end);
        if (length == 0)
            fail(QStringLiteral("byte %1 is not valid UTF-8").arg(p - begin + 1));
        p += length;
    }

    const qsizetype firstTab = m_text.indexOf('\t');
    const qsizetype secondTab = firstTab < 0 ? -1 : m_text.indexOf('\t', firstTab + 1);
    if (secondTab < 0 || m_text.indexOf('\t', secondTab + 1) >= 0)
        fail(QStringLiteral("expected 3 tab-separated fields, found %1")
                 .arg(m_text.count('\t') + 1));
    try {
        row.key = TsvFormat::unescape(m_text.left(firstTab));
        row.link = TsvFormat::unescape(m_text.mid(firstTab + 1, secondTab - firstTab - 1));
        row.names = TsvFormat::unescape(m_text.mid(secondTab + 1));
    } catch (const TsvFormat::ParseError &e) {
        fail(QString::fromUtf8(e.what()));
    }
    return true;
}

void TsvReader::fail(const QString &what) const
{
    throw TsvFormat::ParseError(QStringLiteral("line %1: %2").arg(m_line).arg(what).toStdString());
}
