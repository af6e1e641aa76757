#include "KnownLinks.h"

#include "CipherFile.h"
#include "DictionaryError.h"
#include "DreamsTable.h"
#include "QuoteIdentifier.h"
#include "TableQuery.h"

#include <sqlite3.h>

namespace {

// The stored bytes as QString would give them back: text that is not UTF-8 reads as the
// replacement character, so such bytes are compared in the form they read as.
std::string_view asRead(const char *text, int size, std::string &converted)
{
    for (int i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            converted = QString::fromUtf8(text, size).toStdString();
            return converted;
        }
    }
    return { text, size_t(size) };
}

} // namespace

KnownLinks::KnownLinks(CipherFile &file, const QString &table)
{
    const QByteArray sql
        = QStringLiteral("SELECT * FROM %1").arg(modDB::quoteIdentifier(table)).toUtf8();
    const TableQuery query(file, sql, table);

    m_columns = query.columnNames();
    const int link = m_columns.require(DreamsTable::LinkColumn, table, file.path());

    // Every link first, then the table made once to its size: grown as the rows come, it
    // would be made afresh twenty times.
    std::vector<Slot> read;
    std::string converted;
    int step;
    while ((step = sqlite3_step(query.statement())) == SQLITE_ROW) {
        const auto *text
            = reinterpret_cast<const char *>(sqlite3_column_text(query.statement(), link));
        const std::string_view value = text
            ? asRead(text, sqlite3_column_bytes(query.statement(), link), converted)
            : std::string_view();
        read.push_back({ std::hash<std::string_view>()(value), quint32(m_text.size()),
            quint32(value.size()) });
        m_text += value;
        if (m_text.size() >= Empty)
            throw DictionaryError(
                QStringLiteral("The file %1 holds more links than Somnilex can merge into.")
                    .arg(file.path()));
    }
    if (step != SQLITE_DONE)
        file.fail(QString::fromUtf8(sql));
    size_t size = 1024;
    while (size < 2 * read.size())
        size *= 2;
    m_slots.resize(size);
    for (const Slot &slot : read) {
        Slot &place = m_slots[slotOf(linkAt(slot), slot.hash)];
        if (place.begin == Empty) {
            place = slot;
            ++m_used;
        }
    }
}

std::string_view KnownLinks::linkAt(const Slot &slot) const
{
    return std::string_view(m_text).substr(slot.begin, slot.length);
}

size_t KnownLinks::slotOf(std::string_view link, quint64 hash) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t at = size_t(hash) & mask;; at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.begin == Empty || (slot.hash == hash && linkAt(slot) == link))
            return at;
    }
}

void KnownLinks::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.begin == Empty)
            continue;
        size_t at = size_t(slot.hash) & mask;
        while (m_slots[at].begin != Empty)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

bool KnownLinks::insert(const QString &link)
{
    if (2 * (m_used + 1) > m_slots.size())
        grow();
    const std::string text = link.toStdString();
    const quint64 hash = std::hash<std::string_view>()(text);
    Slot &slot = m_slots[slotOf(text, hash)];
    if (slot.begin != Empty)
        return false;
    if (m_text.size() + text.size() >= Empty)
        throw DictionaryError(QStringLiteral("The update holds more links than Somnilex can "
                                             "merge."));
    slot = { hash, quint32(m_text.size()), quint32(text.size()) };
    m_text += text;
    ++m_used;
    return true;
}
