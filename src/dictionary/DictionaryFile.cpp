#include "DictionaryFile.h"
#include "DictionaryCache.h"
#include "DictionaryWriter.h"
#include "DreamsTable.h"
#include "TableQuery.h"
#include "modDB.h"

#include <sqlite3.h>

namespace DictionaryFile {

namespace {

QByteArray cell(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QByteArray::fromRawData(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

} // namespace

void write(const QString &path, const std::vector<DictionaryRow> &rows)
{
    DictionaryWriter writer(path, DictionaryWriter::Existing::Replace);
    for (const DictionaryRow &row : rows)
        writer.add(row);
    writer.commit();
}

std::vector<DictionaryRow> read(const QString &path)
{
    DictionaryCache cache;
    return read(cache, path);
}

std::vector<DictionaryRow> read(DictionaryCache &cache, const QString &path)
{
    const modDB::RecordsetPtr rs = modDB::openDreams(cache, path);
    std::vector<DictionaryRow> rows;
    rows.reserve(size_t(rs->RecordCount()));
    if (rs->RecordCount() == 0)
        return rows;
    rs->MoveFirst();
    for (qint64 i = 0; i < rs->RecordCount(); ++i) {
        rows.push_back({ rs->Fields(DreamsTable::KeyColumn), rs->Fields(DreamsTable::LinkColumn),
            rs->Fields(DreamsTable::NamesColumn) });
        rs->MoveNext();
    }
    return rows;
}

void probe(const QString &path)
{
    DictionaryCache cache;
    modDB::ConnectionPtr connection;
    modDB::OpenConnection(connection, cache, path);
    // A file without the table is no dictionary of ours.
    const TableQuery query(connection->file(), modDB::SelectAllDreams.toUtf8(), DreamsTable::Table);
}

qint64 walk(const QString &path, const std::function<void(const StoredRow &)> &visit)
{
    // The program's own open, for its checks and messages; the rows are then read with a
    // statement of our own, since a row set holds the whole table in memory.
    DictionaryCache cache;
    modDB::ConnectionPtr connection;
    modDB::OpenConnection(connection, cache, path);
    const TableQuery query(connection->file(), modDB::SelectAllDreams.toUtf8(), DreamsTable::Table);
    const ColumnNames columns = query.columnNames();
    const int key = columns.require(DreamsTable::KeyColumn, DreamsTable::Table, path);
    const int link = columns.require(DreamsTable::LinkColumn, DreamsTable::Table, path);
    const int names = columns.require(DreamsTable::NamesColumn, DreamsTable::Table, path);

    qint64 count = 0;
    StoredRow row;
    int step;
    while ((step = sqlite3_step(query.statement())) == SQLITE_ROW) {
        row.key = cell(query.statement(), key);
        row.link = cell(query.statement(), link);
        row.names = cell(query.statement(), names);
        visit(row);
        ++count;
    }
    if (step != SQLITE_DONE)
        connection->fail(QStringLiteral("reading row %1").arg(count + 1));
    return count;
}

} // namespace DictionaryFile
