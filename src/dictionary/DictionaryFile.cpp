#include "DictionaryFile.h"
#include "DictionaryCache.h"
#include "DictionaryWriter.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <sqlite3.h>

namespace DictionaryFile {

namespace {

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

QByteArray cell(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QByteArray::fromRawData(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

// The one query over the table, prepared through the program's own open, for its checks and
// messages. A file without the table is no dictionary of ours.
void prepareAll(Statement &query, const modDB::ConnectionPtr &connection, const QString &path)
{
    const QByteArray sql = modDB::SelectAllDreams.toUtf8();
    if (sqlite3_prepare_v2(
            connection->handle(), sql.constData(), int(sql.size()), &query.stmt, nullptr)
        == SQLITE_OK)
        return;
    if (QString::fromUtf8(sqlite3_errmsg(connection->handle()))
            .startsWith(QLatin1String("no such table")))
        throw DictionaryError(QStringLiteral("The file %1 has no table dreams: it is not a "
                                             "Somnilex dictionary.")
                                  .arg(path),
            DictionaryError::Cause::Damaged);
    connection->fail(modDB::SelectAllDreams);
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
    Statement query;
    prepareAll(query, connection, path);
}

qint64 walk(const QString &path, const std::function<void(const StoredRow &)> &visit)
{
    // The rows are read with a statement of our own, since a row set holds the whole table in
    // memory.
    DictionaryCache cache;
    modDB::ConnectionPtr connection;
    modDB::OpenConnection(connection, cache, path);
    Statement query;
    prepareAll(query, connection, path);

    int columns[3] = { -1, -1, -1 };
    const char *const names[3] = { "Key", "Link", "Names" };
    for (int c = 0; c < sqlite3_column_count(query.stmt); ++c) {
        for (int i = 0; i < 3; ++i) {
            // Column names are matched without case, as SQLite matches them.
            if (columns[i] < 0 && qstricmp(sqlite3_column_name(query.stmt, c), names[i]) == 0)
                columns[i] = c;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (columns[i] < 0)
            throw DictionaryError(QStringLiteral("The table dreams in %1 has no column %2.")
                                      .arg(path, QString::fromLatin1(names[i])));
    }

    qint64 count = 0;
    StoredRow row;
    int step;
    while ((step = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        row.key = cell(query.stmt, columns[0]);
        row.link = cell(query.stmt, columns[1]);
        row.names = cell(query.stmt, columns[2]);
        visit(row);
        ++count;
    }
    if (step != SQLITE_DONE)
        connection->fail(QStringLiteral("reading row %1").arg(count + 1));
    return count;
}

} // namespace DictionaryFile
