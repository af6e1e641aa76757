#include "modDB.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace modDB {

const char *const DictionaryPassword = "Hq4Lz8Wn2Xc6Vb9Tj1";
const QString SelectAllDreams = QStringLiteral("Select * from dreams");

namespace {

QString sqliteMessage(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Whether bytes look like an encrypted page: random noise uses nearly every byte value, text and
// most other formats use far fewer.
bool looksLikeNoise(const QByteArray &bytes)
{
    bool seen[256] = {};
    int distinct = 0;
    for (const char byte : bytes) {
        bool &mark = seen[static_cast<unsigned char>(byte)];
        if (!mark) {
            mark = true;
            ++distinct;
        }
    }
    // 512 random bytes show about 221 distinct values; text shows fewer than a hundred.
    return distinct >= bytes.size() * 160 / 512;
}

// Why a file that would not unlock is refused. SQLite cannot tell a wrong key from a damaged
// file or from noise, so say only what the bytes prove: an encrypted database is whole pages
// of noise, and a file that is not cannot be one of ours.
QString whyNotUnlocked(const QString &path)
{
    constexpr qint64 SmallestPage = 512;
    QFile file(path);
    const qint64 size = file.size();
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(SmallestPage);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return QStringLiteral("The file %1 is an unprotected SQLite database, not a Somnilex "
                              "dictionary.")
            .arg(path);
    if (size >= SmallestPage && size % SmallestPage == 0 && looksLikeNoise(head))
        return QStringLiteral("The file %1 is not a dictionary file or is protected by another "
                              "password.")
            .arg(path);
    return QStringLiteral("The file %1 is not a dictionary database.").arg(path);
}

// SQLite matches column names without regard to ASCII letter case, and only ASCII.
QString foldColumnName(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// Text is stored as UTF-8; reading it as such spares SQLite a conversion per cell.
QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    if (!text)
        return {};
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

} // namespace

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The rows of one query as read at one moment.
struct Table
{
    QStringList columns;
    QHash<QString, int> columnIndex; // by name as stored
    QHash<QString, int> foldedColumnIndex; // by name folded as SQLite folds it
    std::vector<QString> cells; // row after row
    qint64 rowCount = 0;
    // Lower-cased columns and whole columns, made when first asked for.
    mutable std::vector<std::vector<QString>> lowered; // by column; empty until asked for
    mutable QHash<int, QStringList> wholeColumns;

    // The column of that name in any ASCII case, the name as stored first; -1 if none.
    int indexOf(const QString &name) const
    {
        const auto exact = columnIndex.constFind(name);
        if (exact != columnIndex.constEnd())
            return exact.value();
        return foldedColumnIndex.value(foldColumnName(name), -1);
    }
    const QString &cell(qint64 row, int column) const
    {
        return cells[size_t(row) * size_t(columns.size()) + size_t(column)];
    }
    const QString &lowerCell(qint64 row, int column) const
    {
        if (lowered.empty())
            lowered.resize(size_t(columns.size()));
        std::vector<QString> &lower = lowered[size_t(column)];
        if (lower.empty() && rowCount > 0) {
            lower.reserve(size_t(rowCount));
            for (qint64 r = 0; r < rowCount; ++r)
                lower.push_back(cell(r, column).toLower());
        }
        return lower[size_t(row)];
    }
    const QStringList &column(int c) const
    {
        auto it = wholeColumns.find(c);
        if (it == wholeColumns.end()) {
            QStringList values;
            values.reserve(rowCount);
            for (qint64 r = 0; r < rowCount; ++r)
                values.append(cell(r, c));
            it = wholeColumns.insert(c, std::move(values));
        }
        return it.value();
    }
    void forgetDerived()
    {
        lowered.clear();
        wholeColumns.clear();
    }
};

namespace {

// What tells one state of a file from another: a file replaced on disk, or written by anyone,
// has another stamp.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp &o) const
    {
        return size == o.size && modified == o.modified && inode == o.inode && device == o.device;
    }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};

FileStamp stampOf(const QString &path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        stamp.size = info.st_size;
        stamp.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        stamp.inode = info.st_ino;
        stamp.device = info.st_dev;
    }
#else
    const QFileInfo info(path);
    if (info.exists()) {
        stamp.size = info.size();
        stamp.modified = info.lastModified().toMSecsSinceEpoch();
        stamp.inode = quint64(info.birthTime().toMSecsSinceEpoch());
    }
#endif
    return stamp;
}

void checkIsDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DictionaryError(QStringLiteral("The dictionary file %1 does not exist.").arg(path));
    if (!info.isFile())
        throw DictionaryError(QStringLiteral("%1 is a folder, not a dictionary file.").arg(path));
    if (info.size() == 0)
        throw DictionaryError(
            QStringLiteral("The file %1 is empty, not a dictionary database.").arg(path));
}

} // namespace

// One open, unlocked file, shared by every connection to it while the file stays the same.
class Database
{
public:
    explicit Database(QString path);
    ~Database() { sqlite3_close(m_db); }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }
    bool isCurrent() const { return stampOf(m_path) == m_stamp; }
    // Our own writes change the file; they do not make the handle stale.
    void noteOwnWrite() { m_stamp = stampOf(m_path); }

    // The rows of source as the table holds them now.
    std::shared_ptr<const Table> rows(const QString &source, const QString &tableName);

    [[noreturn]] void fail(const QString &what) const
    {
        throw DictionaryError(QStringLiteral("The dictionary file %1: %2 failed: %3.")
                                  .arg(m_path, what, sqliteMessage(m_db)));
    }

private:
    qint64 dataVersion();

    struct Snapshot
    {
        std::shared_ptr<const Table> table;
        qint64 dataVersion = -1;
        int ownChanges = -1;
    };

    QString m_path;
    FileStamp m_stamp;
    sqlite3 *m_db = nullptr;
    QHash<QString, Snapshot> m_snapshots;
};

Database::Database(QString path)
    : m_path(std::move(path))
{
    checkIsDatabaseFile(m_path);
    m_stamp = stampOf(m_path);
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
    const int rc
        = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr)
        & 0xff;
    if (rc != SQLITE_OK) {
        const QString reason = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        // A file another program is writing cannot be read either; that says nothing of its
        // password.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throw DictionaryError(QStringLiteral("The dictionary file %1 is locked by another "
                                                 "program: %2.")
                                      .arg(m_path, reason));
        if (rc == SQLITE_NOTADB)
            throw DictionaryError(whyNotUnlocked(m_path));
        throw DictionaryError(
            QStringLiteral("The dictionary file %1 could not be read: %2.").arg(m_path, reason));
    }
}

qint64 Database::dataVersion()
{
    Statement query;
    if (sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &query.stmt, nullptr) != SQLITE_OK
        || sqlite3_step(query.stmt) != SQLITE_ROW)
        fail(QStringLiteral("reading the data version"));
    return sqlite3_column_int64(query.stmt, 0);
}

std::shared_ptr<const Table> Database::rows(const QString &source, const QString &tableName)
{
    // data_version moves when another connection commits; total_changes when this one writes.
    const qint64 version = dataVersion();
    const int ownChanges = sqlite3_total_changes(m_db);
    const auto cached = m_snapshots.constFind(source);
    if (cached != m_snapshots.constEnd() && cached->dataVersion == version
        && cached->ownChanges == ownChanges)
        return cached->table;

    auto table = std::make_shared<Table>();
    Statement query;
    const QByteArray sql = source.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &query.stmt, nullptr)
        != SQLITE_OK) {
        const QString reason = sqliteMessage(m_db);
        if (reason.startsWith(QLatin1String("no such table")))
            throw DictionaryError(QStringLiteral("The file %1 has no table %2: it is not a "
                                                 "Somnilex dictionary.")
                                      .arg(m_path, tableName));
        fail(source);
    }

    const int columns = sqlite3_column_count(query.stmt);
    for (int c = 0; c < columns; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query.stmt, c));
        table->columns << name;
        // Of two like-named columns (a join, say) the first answers.
        if (!table->columnIndex.contains(name))
            table->columnIndex.insert(name, c);
        const QString folded = foldColumnName(name);
        if (!table->foldedColumnIndex.contains(folded))
            table->foldedColumnIndex.insert(folded, c);
    }
    int step;
    while ((step = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            table->cells.push_back(columnText(query.stmt, c));
        ++table->rowCount;
    }
    if (step != SQLITE_DONE)
        fail(source);
    m_snapshots.insert(source, { table, version, ownChanges });
    return table;
}

namespace {

// The files opened in this run, most recently used first. A handful is plenty: the program
// reads the dictionary and, now and then, an update file.
std::vector<std::shared_ptr<Database>> &openFiles()
{
    static std::vector<std::shared_ptr<Database>> files;
    return files;
}

std::shared_ptr<Database> openDatabase(const QString &path)
{
    constexpr size_t Kept = 4;
    auto &files = openFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (QFileInfo((*it)->path()).absoluteFilePath() != absolute)
            continue;
        std::shared_ptr<Database> database = *it;
        files.erase(it);
        if (database->isCurrent()) {
            files.insert(files.begin(), database);
            return database;
        }
        break; // replaced or changed on disk: open it anew
    }
    auto database = std::make_shared<Database>(path);
    files.insert(files.begin(), database);
    if (files.size() > Kept)
        files.resize(Kept);
    return database;
}

} // namespace

Connection::Connection(QString path)
    : m_path(std::move(path))
{
    m_database = openDatabase(m_path);
}

Connection::~Connection() = default;

sqlite3 *Connection::handle() const
{
    return m_database->handle();
}

void Connection::fail(const QString &what) const
{
    m_database->fail(what);
}

void Connection::execute(const char *sql)
{
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sql));
    m_database->noteOwnWrite();
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
    if (!sqlite3_get_autocommit(handle()))
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
        m_tableName = match.captured(1);
    m_rows = m_connection->database().rows(source, m_tableName);
    m_rowCount = m_rows->rowCount;
}

Recordset::~Recordset()
{
    sqlite3_finalize(m_insert);
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

const QString &Recordset::LowerFields(const QString &column) const
{
    return LowerFields(columnOf(column));
}

const QString &Recordset::Fields(int column) const
{
    checkPosition();
    return m_rows->cell(m_position, column);
}

const QString &Recordset::LowerFields(int column) const
{
    checkPosition();
    return m_rows->lowerCell(m_position, column);
}

const QStringList &Recordset::Column(const QString &column) const
{
    return m_rows->column(columnOf(column));
}

void Recordset::AddNew()
{
    if (m_tableName.isEmpty())
        throw DictionaryError(QStringLiteral("The dictionary file %1: rows can only be added to "
                                             "a whole table.")
                                  .arg(m_connection->path()));
    m_adding = true;
    m_newRow.assign(size_t(m_rows->columns.size()), QString());
    m_newRowSet.assign(size_t(m_rows->columns.size()), false);
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
    const QStringList &columns = m_rows->columns;
    sqlite3 *db = m_connection->handle();
    if (!m_insert || m_insertColumns != m_newRowSet) {
        sqlite3_finalize(m_insert);
        m_insert = nullptr;
        QStringList names;
        QStringList marks;
        for (int c = 0; c < columns.size(); ++c) {
            if (m_newRowSet[size_t(c)]) {
                names << quoteIdentifier(columns[c]);
                marks << QStringLiteral("?");
            }
        }
        const QString sql = names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(m_tableName))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoteIdentifier(m_tableName), names.join(QLatin1Char(',')),
                      marks.join(QLatin1Char(',')));
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_insert, nullptr)
            != SQLITE_OK) {
            sqlite3_finalize(m_insert);
            m_insert = nullptr;
            m_connection->fail(QStringLiteral("adding a row"));
        }
        m_insertColumns = m_newRowSet;
    }

    int parameter = 1;
    for (int c = 0; c < columns.size(); ++c) {
        if (!m_newRowSet[size_t(c)])
            continue;
        const QByteArray value = m_newRow[size_t(c)].toUtf8();
        sqlite3_bind_text(
            m_insert, parameter++, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    const int step = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    sqlite3_clear_bindings(m_insert);
    if (step != SQLITE_DONE)
        m_connection->fail(QStringLiteral("adding a row"));
    m_connection->database().noteOwnWrite();

    // The shared snapshot stays as it was for others; this row set keeps its own copy from
    // the first appended row on.
    if (!m_ownRows) {
        m_ownRows = std::make_shared<Table>(*m_rows);
        m_rows = m_ownRows;
    }
    m_ownRows->forgetDerived();
    m_adding = false;
    for (auto &cell : m_newRow)
        m_ownRows->cells.push_back(std::move(cell));
    m_position = m_ownRows->rowCount++;
    m_rowCount = m_ownRows->rowCount;
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
