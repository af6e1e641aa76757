#include "modDB.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

#include <cstring>

namespace modDB {

const char *const DictionaryPassword = "Hq4Lz8Wn2Xc6Vb9Tj1";
const QString SelectAllDreams = QStringLiteral("Select * from dreams");

namespace {

QString sqliteMessage(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Why a file that would not unlock is refused. SQLite cannot tell a wrong key from a file that
// is no database at all, so look at the bytes: an encrypted database is whole pages of noise.
QString whyNotUnlocked(const QString &path)
{
    QFile file(path);
    const qint64 size = file.size();
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(16);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return QStringLiteral("The file %1 is an unprotected SQLite database, not a Somnilex "
                              "dictionary.")
                .arg(path);
    if (size >= 1024 && size % 1024 == 0)
        return QStringLiteral("The dictionary file %1 could not be unlocked: it is protected by "
                              "another password.")
                .arg(path);
    return QStringLiteral("The file %1 is not a dictionary database.").arg(path);
}

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char16_t *>(sqlite3_column_text16(stmt, column));
    if (!text)
        return {};
    const int bytes = sqlite3_column_bytes16(stmt, column);
    return QString::fromUtf16(text, bytes / 2);
}

} // namespace

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Connection::Connection(QString path) : m_path(std::move(path))
{
    const QFileInfo info(m_path);
    if (!info.exists())
        throw DictionaryError(QStringLiteral("The dictionary file %1 does not exist.").arg(m_path));
    if (!info.isFile())
        throw DictionaryError(QStringLiteral("%1 is a folder, not a dictionary file.").arg(m_path));
    if (info.size() == 0)
        throw DictionaryError(
                QStringLiteral("The file %1 is empty, not a dictionary database.").arg(m_path));

    const QByteArray nativePath = QFile::encodeName(m_path);
    if (sqlite3_open_v2(nativePath.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK) {
        const QString reason = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DictionaryError(
                QStringLiteral("The dictionary file %1 could not be opened: %2.").arg(m_path, reason));
    }
    sqlite3_busy_timeout(m_db, 2000);
    sqlite3_key(m_db, DictionaryPassword, int(std::strlen(DictionaryPassword)));
    // The key is only tried on first use of the file.
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DictionaryError(whyNotUnlocked(m_path));
    }
}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

void Connection::fail(const QString &what) const
{
    throw DictionaryError(QStringLiteral("The dictionary file %1: %2 failed: %3.")
                                  .arg(m_path, what, sqliteMessage(m_db)));
}

void Connection::execute(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sql));
}

void Connection::BeginTrans()
{
    execute("BEGIN IMMEDIATE");
}

void Connection::CommitTrans()
{
    execute("COMMIT");
}

void Connection::RollbackTrans()
{
    if (!sqlite3_get_autocommit(m_db))
        execute("ROLLBACK");
}

Recordset::Recordset(ConnectionPtr connection, const QString &source)
    : m_connection(std::move(connection))
{
    static const QRegularExpression plainTable(
            QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\w+)\\s*;?\\s*$"),
            QRegularExpression::CaseInsensitiveOption);
    const auto match = plainTable.match(source);
    if (match.hasMatch())
        m_table = match.captured(1);

    sqlite3 *db = m_connection->handle();
    Statement query;
    const QByteArray sql = source.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &query.stmt, nullptr)
        != SQLITE_OK) {
        const QString reason = sqliteMessage(db);
        if (reason.startsWith(QLatin1String("no such table")))
            throw DictionaryError(QStringLiteral("The file %1 has no table %2: it is not a "
                                                 "Somnilex dictionary.")
                                          .arg(m_connection->path(), m_table));
        m_connection->fail(source);
    }

    const int columns = sqlite3_column_count(query.stmt);
    for (int c = 0; c < columns; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query.stmt, c));
        m_columns << name;
        m_columnIndex.insert(name, c);
    }

    int step;
    while ((step = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            m_cells.push_back(columnText(query.stmt, c));
        ++m_rowCount;
    }
    if (step != SQLITE_DONE)
        m_connection->fail(source);
}

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

int Recordset::columnOf(const QString &column) const
{
    const auto it = m_columnIndex.constFind(column);
    if (it == m_columnIndex.constEnd())
        throw DictionaryError(QStringLiteral("The table %1 in %2 has no column %3.")
                                      .arg(m_table.isEmpty() ? QStringLiteral("queried") : m_table,
                                           m_connection->path(), column));
    return it.value();
}

QString Recordset::Fields(const QString &column) const
{
    const int c = columnOf(column);
    if (m_position < 0 || m_position >= m_rowCount)
        throw DictionaryError(QStringLiteral("The dictionary file %1: there is no current row.")
                                      .arg(m_connection->path()));
    return m_cells[size_t(m_position) * size_t(m_columns.size()) + size_t(c)];
}

void Recordset::AddNew()
{
    if (m_table.isEmpty())
        throw DictionaryError(QStringLiteral("The dictionary file %1: rows can only be added to "
                                             "a whole table.")
                                      .arg(m_connection->path()));
    m_adding = true;
    m_newRow.assign(size_t(m_columns.size()), QString());
    m_newRowSet.assign(size_t(m_columns.size()), false);
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
    QStringList names;
    QStringList marks;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_newRowSet[size_t(c)]) {
            names << quoteIdentifier(m_columns[c]);
            marks << QStringLiteral("?");
        }
    }
    const QString sql = names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteIdentifier(m_table), names.join(QLatin1Char(',')),
                           marks.join(QLatin1Char(',')));

    sqlite3 *db = m_connection->handle();
    Statement insert;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &insert.stmt, nullptr)
        != SQLITE_OK)
        m_connection->fail(QStringLiteral("adding a row"));
    int parameter = 1;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!m_newRowSet[size_t(c)])
            continue;
        const QString &value = m_newRow[size_t(c)];
        sqlite3_bind_text16(insert.stmt, parameter++, value.utf16(), int(value.size() * 2),
                            SQLITE_TRANSIENT);
    }
    if (sqlite3_step(insert.stmt) != SQLITE_DONE)
        m_connection->fail(QStringLiteral("adding a row"));

    m_adding = false;
    for (auto &cell : m_newRow)
        m_cells.push_back(std::move(cell));
    m_position = m_rowCount++;
}

void OpenConnection(ConnectionPtr &connection, const QString &path)
{
    connection = std::make_shared<Connection>(path);
}

void OpenRecordset(RecordsetPtr &recordset, const ConnectionPtr &connection, const QString &source)
{
    recordset = std::make_unique<Recordset>(connection, source);
}

} // namespace modDB
