#include "Recordset.h"

#include "AppendStatement.h"
#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "LoweredColumn.h"
#include "TableSnapshot.h"

#include <algorithm>

namespace modDB {

namespace {

// The table a query reads when it is "select * from" one table; rows can be added to such a
// query only.
QString tableOf(const QString &source)
{
    QString text = source.simplified();
    if (text.endsWith(QLatin1Char(';')))
        text = text.chopped(1).trimmed();
    const QStringList words = text.split(QLatin1Char(' '));
    if (words.size() != 4 || words[0].compare(QLatin1String("select"), Qt::CaseInsensitive) != 0
        || words[1] != QLatin1String("*")
        || words[2].compare(QLatin1String("from"), Qt::CaseInsensitive) != 0)
        return {};
    for (const QChar c : words[3]) {
        if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return {};
    }
    return words[3];
}

} // namespace

Recordset::Recordset(ConnectionPtr connection, const QString &source)
    : m_connection(std::move(connection))
    , m_source(source)
    , m_tableName(tableOf(source))
{
    m_rows = m_connection->cache().rows(m_connection->file(), source, m_tableName);
    m_rowCount = m_rows->rowCount();
}

Recordset::~Recordset() = default;

void Recordset::MoveFirst()
{
    if (m_rowCount == 0)
        throw DictionaryError(QStringLiteral("The dictionary file %1 has no rows to move to.")
                                  .arg(m_connection->path()));
    m_position = 0;
}

void Recordset::MoveNext()
{
    if (m_position < m_rowCount)
        ++m_position;
}

void Recordset::Move(qint64 rows)
{
    m_position = std::min(m_position + std::max<qint64>(rows, 0), m_rowCount);
}

bool Recordset::hasColumn(const QString &column) const
{
    return m_rows->indexOf(column) >= 0;
}

int Recordset::columnOf(const QString &column) const
{
    const int index = m_rows->indexOf(column);
    if (index < 0)
        throw DictionaryError(
            QStringLiteral("The table %1 in %2 has no column %3.")
                .arg(m_tableName.isEmpty() ? QStringLiteral("queried") : m_tableName,
                    m_connection->path(), column));
    return index;
}

void Recordset::checkPosition() const
{
    if (m_position < 0 || m_position >= m_rowCount)
        throw DictionaryError(QStringLiteral("The dictionary file %1: there is no current row.")
                                  .arg(m_connection->path()));
}

const QString &Recordset::Fields(const QString &column) const
{
    return Fields(columnOf(column));
}

const QString &Recordset::LowerFields(const QString &column)
{
    return LowerFields(columnOf(column));
}

const QString &Recordset::Fields(int column) const
{
    checkPosition();
    if (m_fields.size() <= size_t(column))
        m_fields.resize(size_t(column) + 1);
    QString &field = m_fields[size_t(column)];
    field = m_rows->cell(m_position, column);
    return field;
}

const QString &Recordset::LowerFields(int column)
{
    checkPosition();
    m_lowerField = LowerColumn(column).at(m_position).toString();
    return m_lowerField;
}

const LoweredColumn &Recordset::LowerColumn(int column)
{
    if (const LoweredColumn *lowered = m_rows->lowered(column))
        return *lowered;
    refine(m_rows->withLowered(column));
    return *m_rows->lowered(column);
}

void Recordset::refine(TableSnapshot table)
{
    if (m_ownRows) {
        m_ownRows = std::make_shared<TableSnapshot>(std::move(table));
        m_rows = m_ownRows;
    } else {
        m_rows = m_connection->cache().refined(
            m_connection->file(), m_source, m_rows, std::move(table));
    }
}

const QStringList &Recordset::Column(const QString &column)
{
    const int c = columnOf(column);
    if (!m_rows->hasStrings(c))
        refine(m_rows->withStrings(c));
    return m_rows->column(c);
}

void Recordset::AddNew()
{
    if (m_tableName.isEmpty())
        throw DictionaryError(QStringLiteral("The dictionary file %1: rows can only be added to "
                                             "a whole table.")
                                  .arg(m_connection->path()));
    m_adding = true;
    m_newRow.assign(size_t(m_rows->columns().size()), QString());
    m_newRowSet.assign(size_t(m_rows->columns().size()), false);
}

void Recordset::setField(const QString &column, const QString &value)
{
    const int c = columnOf(column);
    if (!m_adding)
        throw DictionaryError(QStringLiteral("The dictionary file %1: fields can only be set on a "
                                             "new row.")
                                  .arg(m_connection->path()));
    m_newRow[size_t(c)] = value;
    m_newRowSet[size_t(c)] = true;
}

void Recordset::Update()
{
    if (!m_adding)
        return;
    if (!m_append || m_append->sets() != m_newRowSet)
        m_append = std::make_unique<AppendStatement>(
            m_connection->file(), m_tableName, m_rows->columns(), m_newRowSet);
    m_append->run(m_newRow);
    m_connection->cache().noteOwnWrite(m_connection->file());

    // The shared snapshot stays as it was for others; this row set keeps its own copy from
    // the first appended row on.
    if (!m_ownRows) {
        m_ownRows = std::make_shared<TableSnapshot>(*m_rows);
        m_rows = m_ownRows;
    }
    m_adding = false;
    m_ownRows->append(std::move(m_newRow));
    m_newRow.clear();
    m_position = m_ownRows->rowCount() - 1;
    m_rowCount = m_ownRows->rowCount();
}

} // namespace modDB
