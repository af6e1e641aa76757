// The lookup bench's floors: the fastest way found to give a handler's answer from memory.
#pragma once

#include "MatchRules.h"

#include <QElapsedTimer>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The same answers as the handlers give, from indexes over the keys made once, as a program
// would keep them beside its rows. Every answer ends in what the handler also ends in: a
// QStringList of the listed keys (copies sharing the stored text), or the link to show.
class Floors
{
public:
    Floors(std::vector<QString> keys, std::vector<QString> links)
        : m_keys(std::move(keys))
        , m_links(std::move(links))
    {
        QElapsedTimer timer;
        timer.start();
        m_start.reserve(m_keys.size() + 1);
        for (const QString &key : m_keys) {
            m_start.push_back(m_lower.size());
            m_lower += key.toLower().toStdString();
            m_lower += '\0';
        }
        m_start.push_back(m_lower.size());
        bufferMs = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        m_sorted.reserve(m_keys.size());
        for (size_t row = 0; row < m_keys.size(); ++row)
            m_sorted.emplace_back(lowerKey(row), row);
        std::sort(m_sorted.begin(), m_sorted.end());
        sortedMs = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        // From the last row up, so that the first row of a key is the one left.
        m_firstRow.reserve(qsizetype(m_keys.size()));
        for (size_t row = m_keys.size(); row-- > 0;)
            m_firstRow.insert(m_keys[row].toLower(), row);
        hashMs = double(timer.nsecsElapsed()) / 1e6;
    }

    const std::vector<QString> &keys() const { return m_keys; }
    bool isFirstOfItsKey(size_t row) const
    {
        return m_firstRow.value(m_keys[row].toLower()) == row;
    }

    // Fill and restore: every key, copied one by one into a list the size of the table.
    QStringList all() const
    {
        QStringList listed;
        listed.reserve(qsizetype(m_keys.size()));
        for (const QString &key : m_keys)
            listed.append(key);
        return listed;
    }

    // Wildcard: every lower-cased key in UTF-8 in one buffer, each ended by a NUL (which no
    // typed term holds, so no match runs from one key into the next), with the offset where
    // each begins. The term is looked for with find over the whole buffer (std::string_view's
    // find, or glibc's memmem: the faster is taken); each hit gives its row by a binary search
    // of the offsets, and the scan goes on from the next key, so the rows come in table order.
    // UTF-8 is self-synchronising: a byte match is a match of whole characters.
    template <typename Find> QStringList containing(const QString &typed, Find find) const
    {
        const std::string term = MatchRules::wildcardTerm(typed).toStdString();
        QStringList listed;
        if (term.empty()) {
            for (const QString &key : m_keys) {
                if (!key.isEmpty())
                    listed.append(key);
            }
            return listed;
        }
        const std::string_view buffer(m_lower);
        size_t from = 0;
        auto start = m_start.begin();
        while (from < buffer.size()) {
            const size_t hit = find(buffer, term, from);
            if (hit == std::string_view::npos)
                break;
            start = std::upper_bound(start, m_start.end(), hit);
            const size_t row = size_t(start - m_start.begin()) - 1;
            listed.append(m_keys[row]);
            from = *start;
        }
        return listed;
    }

    // Exact: (lower-cased key, row) pairs sorted once; the keys with the term as prefix are one
    // run found with std::lower_bound, whose rows are then sorted back into table order.
    QStringList beginningWith(const QString &typed) const
    {
        const std::string term = MatchRules::exactTerm(typed).toStdString();
        auto it = std::lower_bound(
            m_sorted.begin(), m_sorted.end(), std::pair<std::string_view, size_t>(term, 0));
        std::vector<size_t> rows;
        for (; it != m_sorted.end() && it->first.substr(0, term.size()) == term; ++it)
            rows.push_back(it->second);
        std::sort(rows.begin(), rows.end());
        QStringList listed;
        listed.reserve(qsizetype(rows.size()));
        for (const size_t row : rows)
            listed.append(m_keys[row]);
        return listed;
    }

    // Display: a hash from each lower-cased key to its first row, whose link is returned; the
    // lower-cased term when no key is that term.
    QString linkOf(const QString &selected) const
    {
        const QString term = MatchRules::trimSpaces(selected).toLower();
        const auto it = m_firstRow.constFind(term);
        return it == m_firstRow.constEnd() ? term : m_links[*it];
    }

    double bufferMs = 0, sortedMs = 0, hashMs = 0;

private:
    std::string_view lowerKey(size_t row) const
    {
        return std::string_view(m_lower).substr(m_start[row], m_start[row + 1] - m_start[row] - 1);
    }

    std::vector<QString> m_keys;
    std::vector<QString> m_links;
    std::string m_lower;
    std::vector<size_t> m_start;
    std::vector<std::pair<std::string_view, size_t>> m_sorted;
    QHash<QString, size_t> m_firstRow;
};

inline size_t findInView(std::string_view buffer, const std::string &term, size_t from)
{
    return buffer.find(term, from);
}

inline size_t findWithMemmem(std::string_view buffer, const std::string &term, size_t from)
{
    const void *hit
        = ::memmem(buffer.data() + from, buffer.size() - from, term.data(), term.size());
    return hit ? size_t(static_cast<const char *>(hit) - buffer.data()) : std::string_view::npos;
}
