#include "RecordsetDreamRows.h"

#include "DictionaryCache.h"
#include "DreamsTable.h"
#include "LoweredColumn.h"
#include "modDB.h"

namespace {

using DreamsTable::KeyColumn;
using DreamsTable::LinkColumn;

// The rows through one connection and row set, the row set's cursor following the row asked
// for: the decisions walk forward, one row after the other.
class RecordsetDreamRows final : public DreamRows
{
public:
    RecordsetDreamRows(DictionaryCache &dictionary, QString path)
        : m_dictionary(dictionary)
        , m_path(std::move(path))
    { }

    qint64 count() override { return recordset().RecordCount(); }
    const QString &key(qint64 row) override { return at(row).Fields(column(m_key, KeyColumn)); }
    const QString &lowerKey(qint64 row) override
    {
        return at(row).LowerFields(column(m_key, KeyColumn));
    }
    const QString &link(qint64 row) override { return at(row).Fields(column(m_link, LinkColumn)); }
    QStringList keys() override { return recordset().Column(KeyColumn); }

    // Answered from the lower-cased Keys the dictionary store keeps beside its rows.
    std::vector<qint64> rowsBeginningWith(const QString &term) override
    {
        return count() == 0 ? std::vector<qint64>() : loweredKeys().rowsBeginningWith(term);
    }
    std::vector<qint64> rowsContaining(const QString &term) override
    {
        return count() == 0 ? std::vector<qint64>() : loweredKeys().rowsContaining(term);
    }
    qint64 firstRowOf(const QString &lowerTerm) override
    {
        return count() == 0 ? -1 : loweredKeys().firstRowOf(lowerTerm);
    }
    QStringList keysOf(const std::vector<qint64> &rows) override
    {
        QStringList listed;
        if (rows.empty())
            return listed;
        const QStringList &keys = recordset().Column(KeyColumn);
        listed.reserve(qsizetype(rows.size()));
        for (const qint64 row : rows)
            listed.append(keys.at(row));
        return listed;
    }

private:
    modDB::Recordset &recordset()
    {
        if (!m_recordset)
            m_recordset = modDB::openDreams(m_dictionary, m_path);
        return *m_recordset;
    }

    modDB::Recordset &at(qint64 row)
    {
        modDB::Recordset &rs = recordset();
        if (m_row < 0 || row < m_row) {
            rs.MoveFirst();
            m_row = 0;
        }
        rs.Move(row - m_row);
        m_row = row;
        return rs;
    }

    const LoweredColumn &loweredKeys() { return recordset().LowerColumn(column(m_key, KeyColumn)); }

    int column(int &known, const QString &name)
    {
        if (known < 0)
            known = recordset().columnIndex(name);
        return known;
    }

    DictionaryCache &m_dictionary;
    QString m_path;
    modDB::RecordsetPtr m_recordset;
    qint64 m_row = -1; // where the row set's cursor is; -1 before the first move
    int m_key = -1;
    int m_link = -1;
};

} // namespace

std::unique_ptr<DreamRows> dreamRowsAt(DictionaryCache &dictionary, const QString &path)
{
    return std::make_unique<RecordsetDreamRows>(dictionary, path);
}
