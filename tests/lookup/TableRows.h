#pragma once
// The shared table as a DreamRows view held in memory, failing as a dictionary file can: the
// file is gone or is no database, or its table lacks a column. It notes whether it was read.
#include "DictionaryError.h"
#include "DreamRows.h"
#include "DreamTable.h"

class TableRows : public DreamRows
{
public:
    enum class Fault { None, Missing, Garbled, NoKey, NoLink };

    static inline const QString Path = QStringLiteral("/dreams/dream.dll");

    explicit TableRows(
        Fault fault = Fault::None, std::vector<DreamTable::Row> rows = DreamTable::rows())
        : m_fault(fault)
        , m_rows(std::move(rows))
    {
        for (const DreamTable::Row &row : m_rows)
            m_lowerKeys.push_back(row.key.toLower());
    }

    qint64 count() override
    {
        open();
        return qint64(m_rows.size());
    }
    QString key(qint64 row) override
    {
        column(Fault::NoKey, QStringLiteral("Key"));
        return m_rows.at(size_t(row)).key;
    }
    QString lowerKey(qint64 row) override
    {
        column(Fault::NoKey, QStringLiteral("Key"));
        return m_lowerKeys.at(size_t(row));
    }
    QString link(qint64 row) override
    {
        column(Fault::NoLink, QStringLiteral("Link"));
        return m_rows.at(size_t(row)).link;
    }
    QStringList keys() override
    {
        column(Fault::NoKey, QStringLiteral("Key"));
        QStringList keys;
        for (const DreamTable::Row &row : m_rows)
            keys << row.key;
        return keys;
    }

    bool opened = false;

private:
    void open()
    {
        opened = true;
        if (m_fault == Fault::Missing)
            throw DictionaryError(
                QStringLiteral("The dictionary file %1 does not exist.").arg(Path));
        if (m_fault == Fault::Garbled)
            throw DictionaryError(
                QStringLiteral("The file %1 is not a dictionary database.").arg(Path));
    }
    void column(Fault missing, const QString &name)
    {
        open();
        if (m_fault == missing)
            throw DictionaryError(
                QStringLiteral("The table dreams in %1 has no column %2.").arg(Path, name));
    }

    Fault m_fault;
    std::vector<DreamTable::Row> m_rows;
    std::vector<QString> m_lowerKeys;
};
