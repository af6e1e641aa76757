#include "LoweredColumn.h"

#include "DictionaryError.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

std::u16string_view units(QStringView text)
{
    return { text.utf16(), size_t(text.size()) };
}

// Appends value.toLower() to text, without a string of its own for the plain ASCII of most
// values.
void appendLowered(QString &text, const QString &value)
{
    for (const QChar c : value) {
        if (c.unicode() >= 0x80) {
            text += value.toLower();
            return;
        }
    }
    const qsizetype at = text.size();
    text += value;
    QChar *out = text.data() + at;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t u = out[i].unicode();
        if (u >= 'A' && u <= 'Z')
            out[i] = QChar(char16_t(u + ('a' - 'A')));
    }
}

} // namespace

LoweredColumn::LoweredColumn(const QStringList &values)
{
    qsizetype total = 0;
    for (const QString &value : values)
        total += value.size();
    if (total > qsizetype(std::numeric_limits<quint32>::max()))
        throw DictionaryError(QStringLiteral("A column holds more text than Somnilex can search."));
    m_text.reserve(total);
    m_start.reserve(size_t(values.size()) + 1);
    for (const QString &value : values) {
        m_start.push_back(quint32(m_text.size()));
        appendLowered(m_text, value);
    }
    m_start.push_back(quint32(m_text.size()));
    m_text.squeeze();

    // Sorted by the first four units packed in one number (a shorter value padded with zero
    // units, which keeps the order of the texts), and by the whole texts only where those tie:
    // most comparisons then stay in the array being sorted.
    struct Entry
    {
        quint64 head;
        quint32 row;
    };
    std::vector<Entry> entries(size_t(values.size()));
    for (size_t row = 0; row < entries.size(); ++row) {
        const QStringView value = at(qint64(row));
        quint64 head = 0;
        for (qsizetype i = 0; i < 4; ++i)
            head = (head << 16) | (i < value.size() ? value[i].unicode() : 0u);
        entries[row] = { head, quint32(row) };
    }
    std::sort(entries.begin(), entries.end(), [this](const Entry &a, const Entry &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int order = units(at(a.row)).compare(units(at(b.row)));
        return order < 0 || (order == 0 && a.row < b.row);
    });
    m_byValue.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        m_byValue[i] = entries[i].row;
}

std::vector<quint32>::const_iterator LoweredColumn::lowerBound(QStringView term) const
{
    return std::lower_bound(m_byValue.begin(), m_byValue.end(), term,
        [this](quint32 row, QStringView value) { return units(at(row)) < units(value); });
}

std::vector<qint64> LoweredColumn::rowsBeginningWith(QStringView term) const
{
    std::vector<qint64> rows;
    if (term.isEmpty()) {
        rows.resize(size_t(rowCount()));
        for (size_t row = 0; row < rows.size(); ++row)
            rows[row] = qint64(row);
        return rows;
    }
    // Every value that begins with term sorts after term and before any value that does not.
    for (auto it = lowerBound(term); it != m_byValue.end() && at(*it).startsWith(term); ++it)
        rows.push_back(*it);
    std::sort(rows.begin(), rows.end());
    return rows;
}

qsizetype LoweredColumn::find(QStringView term, qsizetype from) const
{
    const auto *const text = reinterpret_cast<const char16_t *>(m_text.constData());
    const char16_t *const wanted = term.utf16();
    const qsizetype size = m_text.size();
    const qsizetype length = term.size();
    const size_t bytes = size_t(length) * sizeof(char16_t);
    qsizetype at = from;
#ifdef __SSE2__
    // Eight places at a time: those whose first and last units are the term's are compared in
    // full.
    const __m128i first = _mm_set1_epi16(short(wanted[0]));
    const __m128i last = _mm_set1_epi16(short(wanted[length - 1]));
    for (; at + length - 1 + 8 <= size; at += 8) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        const __m128i ends
            = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + length - 1));
        auto candidates = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(starts, first), _mm_cmpeq_epi16(ends, last))));
        while (candidates != 0) {
            const int bit = __builtin_ctz(candidates);
            const qsizetype place = at + bit / 2;
            if (std::memcmp(text + place, wanted, bytes) == 0)
                return place;
            candidates &= ~(3u << unsigned(bit));
        }
    }
#endif
    for (; at + length <= size; ++at) {
        if (text[at] == wanted[0] && std::memcmp(text + at, wanted, bytes) == 0)
            return at;
    }
    return -1;
}

std::vector<qint64> LoweredColumn::rowsContaining(QStringView term) const
{
    std::vector<qint64> rows;
    if (term.isEmpty()) {
        for (qint64 row = 0; row < rowCount(); ++row) {
            if (length(row) > 0)
                rows.push_back(row);
        }
        return rows;
    }
    // The values have no separator between them, so a hit is a match only when it ends
    // inside the value it begins in; either way the search goes on from the next value, and
    // the rows come in table order.
    auto next = m_start.begin() + 1;
    qsizetype from = 0;
    qsizetype hit;
    while ((hit = find(term, from)) >= 0) {
        // The hits come in order, most a few rows after the last: galloping from there
        // stays in memory just read, where a search of every row would not.
        auto below = next;
        auto above = next;
        for (qsizetype step = 1; above != m_start.end() && *above <= hit; step *= 2) {
            below = above;
            above = m_start.end() - above > step ? above + step : m_start.end();
        }
        next = std::upper_bound(below, above, quint32(hit));
        const qint64 row = qint64(next - m_start.begin()) - 1;
        if (hit + term.size() <= *next)
            rows.push_back(row);
        from = *next;
    }
    return rows;
}

qint64 LoweredColumn::firstRowOf(QStringView term) const
{
    const auto it = lowerBound(term);
    return it != m_byValue.end() && at(*it) == term ? qint64(*it) : -1;
}

void LoweredColumn::append(const QString &value)
{
    const auto row = quint32(rowCount());
    appendLowered(m_text, value);
    m_start.push_back(quint32(m_text.size()));
    // After every equal value: the new row is the last in table order.
    const QStringView lowered = at(row);
    const auto place = std::upper_bound(m_byValue.begin(), m_byValue.end(), lowered,
        [this](QStringView value, quint32 other) { return units(value) < units(at(other)); });
    m_byValue.insert(place, row);
}
