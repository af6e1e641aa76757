#include "TableSnapshot.h"

#include "CipherFile.h"
#include "DictionaryError.h"
#include "LoweredColumn.h"
#include "TableQuery.h"

#include <sqlite3.h>

#include <limits>

TableSnapshot TableSnapshot::read(CipherFile &file, const QString &source, const QString &tableName)
{
    TableSnapshot table;
    const QByteArray sql = source.toUtf8();
    const TableQuery query(file, sql, tableName);

    table.m_columns = query.columnNames();
    const int columns = table.m_columns.size();
    table.m_cells.resize(size_t(columns));
    table.m_lowered.resize(size_t(columns));
    table.m_text.resize(size_t(columns));
    for (auto &text : table.m_text)
        text = std::make_shared<Text>();

    // Kept in UTF-8 as SQLite gives it: a string per cell would cost more in the allocator
    // than the reading itself, and most columns are never listed.
    int step;
    while ((step = sqlite3_step(query.statement())) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            Text &column = *table.m_text[size_t(c)];
            const auto *text
                = reinterpret_cast<const char *>(sqlite3_column_text(query.statement(), c));
            if (text)
                column.bytes.append(text, sqlite3_column_bytes(query.statement(), c));
            if (column.bytes.size() > std::numeric_limits<quint32>::max())
                throw DictionaryError(QStringLiteral("The file %1 holds more text than Somnilex "
                                                     "can read.")
                                          .arg(file.path()));
            column.ends.append(quint32(column.bytes.size()));
            column.nulls.push_back(!text);
        }
        ++table.m_rowCount;
    }
    if (step != SQLITE_DONE)
        file.fail(source);
    return table;
}

QString TableSnapshot::cell(qint64 row, int column) const
{
    const Text *text = m_text[size_t(column)].get();
    if (!text)
        return m_cells[size_t(column)][row];
    if (text->nulls[size_t(row)])
        return {};
    const qsizetype begin = row == 0 ? 0 : text->ends[row - 1];
    return QString::fromUtf8(text->bytes.constData() + begin, text->ends[row] - begin);
}

TableSnapshot TableSnapshot::withStrings(int column) const
{
    TableSnapshot table = *this;
    if (hasStrings(column))
        return table;
    QStringList &strings = table.m_cells[size_t(column)];
    strings.reserve(m_rowCount);
    for (qint64 row = 0; row < m_rowCount; ++row)
        strings.append(cell(row, column));
    table.m_text[size_t(column)].reset();
    return table;
}

TableSnapshot TableSnapshot::withLowered(int column) const
{
    TableSnapshot table = withStrings(column);
    std::shared_ptr<LoweredColumn> &lowered = table.m_lowered[size_t(column)];
    if (!lowered)
        lowered = std::make_shared<LoweredColumn>(table.m_cells[size_t(column)]);
    return table;
}

TableSnapshot::~TableSnapshot()
{
    // The texts are let go row after row, in the order they were made: freed column by column
    // they leave the allocator merging scattered blocks, a tenth of a cold read's time.
    std::vector<QString *> owned;
    for (QStringList &column : m_cells) {
        if (column.size() == m_rowCount && column.isDetached())
            owned.push_back(column.data());
    }
    if (owned.empty())
        return;
    for (qint64 row = 0; row < m_rowCount; ++row) {
        for (QString *column : owned)
            column[row] = QString();
    }
}

void TableSnapshot::append(std::vector<QString> row)
{
    for (size_t c = 0; c < m_cells.size(); ++c) {
        if (std::shared_ptr<Text> &text = m_text[c]) {
            if (text.use_count() > 1)
                text = std::make_shared<Text>(*text);
            if (!row[c].isNull())
                text->bytes.append(row[c].toUtf8());
            text->ends.append(quint32(text->bytes.size()));
            text->nulls.push_back(row[c].isNull());
        }
        if (std::shared_ptr<LoweredColumn> &lowered = m_lowered[c]) {
            if (lowered.use_count() > 1)
                lowered = std::make_shared<LoweredColumn>(*lowered);
            lowered->append(row[c]);
        }
        if (!m_text[c])
            m_cells[c].append(std::move(row[c]));
    }
    ++m_rowCount;
}
