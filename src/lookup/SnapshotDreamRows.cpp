#include "SnapshotDreamRows.h"

#include "DictionaryCache.h"
#include "DreamsTable.h"
#include "LoweredColumn.h"
#include "TableSnapshot.h"

namespace {

using DreamsTable::KeyColumn;
using DreamsTable::LinkColumn;

// A thin view over the snapshot of the table: rows by number, and searches answered from the
// lower-cased Keys kept beside them. Keys asked for whole or searched are made once, in the
// cache's snapshot, for every later view of the unchanged file.
class SnapshotDreamRows final : public DreamRows
{
public:
    SnapshotDreamRows(DictionaryCache &dictionary, QString path)
        : m_dictionary(dictionary)
        , m_path(std::move(path))
    { }

    qint64 count() override { return rows().rowCount(); }
    QString key(qint64 row) override { return rows().cell(row, column(m_key, KeyColumn)); }
    QString lowerKey(qint64 row) override { return loweredKeys().at(row).toString(); }
    QString link(qint64 row) override { return rows().cell(row, column(m_link, LinkColumn)); }
    QStringList keys() override { return keyStrings(); }

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
        const QStringList &keys = keyStrings();
        listed.reserve(qsizetype(rows.size()));
        for (const qint64 row : rows)
            listed.append(keys.at(row));
        return listed;
    }

private:
    const TableSnapshot &rows()
    {
        if (!m_rows) {
            m_file = m_dictionary.open(m_path);
            m_rows = m_dictionary.rows(*m_file, DreamsTable::SelectAllDreams, DreamsTable::Table);
        }
        return *m_rows;
    }

    int column(int &known, const QString &name)
    {
        if (known < 0)
            known = rows().columnNames().require(name, DreamsTable::Table, m_path);
        return known;
    }

    const QStringList &keyStrings()
    {
        const int key = column(m_key, KeyColumn);
        if (!m_rows->hasStrings(key))
            refine(m_rows->withStrings(key));
        return m_rows->column(key);
    }

    const LoweredColumn &loweredKeys()
    {
        const int key = column(m_key, KeyColumn);
        if (!m_rows->lowered(key))
            refine(m_rows->withLowered(key));
        return *m_rows->lowered(key);
    }

    void refine(TableSnapshot table)
    {
        m_rows
            = m_dictionary.refined(*m_file, DreamsTable::SelectAllDreams, m_rows, std::move(table));
    }

    DictionaryCache &m_dictionary;
    QString m_path;
    std::shared_ptr<CipherFile> m_file;
    std::shared_ptr<const TableSnapshot> m_rows;
    int m_key = -1;
    int m_link = -1;
};

} // namespace

std::unique_ptr<DreamRows> dreamRowsAt(DictionaryCache &dictionary, const QString &path)
{
    return std::make_unique<SnapshotDreamRows>(dictionary, path);
}
