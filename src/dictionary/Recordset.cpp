#include "Recordset.h"

#include "AppendStatement.h"
#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "TableSnapshot.h"

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
    , m_tableName(tableOf(source))
    , m_rows(m_connection->cache().rows(m_connection->file(), source, m_tableName))
{ }

Recordset::~Recordset() = default;

qint64 Recordset::RecordCount() const
{
    return m_rows->rowCount();
}

void Recordset::MoveFirst()
{
    if (RecordCount() == 0)
        throw DictionaryError(QStringLiteral("The dictionary file %1 has no rows to move to.")
                                  .arg(m_connection->path()));
    m_position = 0;
}

void Recordset::MoveNext()
{
    if (m_position < RecordCount())
        ++m_position;
}

bool Recordset::hasColumn(const QString &column) const
{
    return m_rows->indexOf(column) >= 0;
}

int Recordset::columnIndex(const QString &column) const
{
    return m_rows->columnNames().require(column,
        m_tableName.isEmpty() ? QStringLiteral("queried") : m_tableName, m_connection->path());
}

void Recordset::checkPosition() const
{
    if (m_position < 0 || m_position >= RecordCount())
        throw DictionaryError(QStringLiteral("The dictionary file %1: there is no current row.")
                                  .arg(m_connection->path()));
}

QString Recordset::Fields(const QString &column) const
{
    return Fields(columnIndex(column));
}

QString Recordset::Fields(int column) const
{
    checkPosition();
    return m_rows->cell(m_position, column);
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
    const int c = columnIndex(column);
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
}

} // namespace modDB
