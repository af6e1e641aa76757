#pragma once
#include "DictionaryError.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Access to dictionary files: encrypted SQLite databases holding the table "dreams".
// Every caller opens a connection and a row set, walks the rows and lets both go.
namespace modDB {

// The password every dictionary and update file is keyed with.
extern const char *const DictionaryPassword;
// The one query the program runs.
extern const QString SelectAllDreams;

class Database;
struct Table;

// An open, unlocked database file. Connections to one file share one open handle for the run,
// so the key is derived once; a file replaced on disk is opened anew.
class Connection
{
public:
    explicit Connection(QString path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    sqlite3 *handle() const;
    Database &database() const { return *m_database; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // Runs one statement that returns no rows; throws DictionaryError naming the file.
    void execute(const char *sql);
    [[noreturn]] void fail(const QString &what) const;

private:
    QString m_path;
    std::shared_ptr<Database> m_database;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// All rows of a query, read at open so that RecordCount is exact before the walk. Rows come in
// table order. New rows are appended with AddNew, field assignments and Update. The rows are a
// snapshot shared with other row sets over the same unchanged table; a change by anyone (this
// process or another) makes the next row set read the table again.
class Recordset
{
public:
    Recordset(ConnectionPtr connection, const QString &source);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    qint64 RecordCount() const { return m_rowCount; }
    void MoveFirst();
    void MoveNext();
    bool EOF_() const { return m_position >= m_rowCount; }

    // The current row's field by column name, matched in any ASCII case as SQLite matches
    // names; NULL reads as the empty text.
    const QString &Fields(const QString &column) const;
    // The same, lower-cased; computed once per snapshot of the table.
    const QString &LowerFields(const QString &column) const;
    // By column number, for walks that read one column of every row.
    int columnIndex(const QString &column) const { return columnOf(column); }
    const QString &Fields(int column) const;
    const QString &LowerFields(int column) const;
    // Every value of one column in table order, shared while the table is unchanged.
    const QStringList &Column(const QString &column) const;
    bool hasColumn(const QString &column) const;

    void AddNew();
    void setField(const QString &column, const QString &value);
    // Appends and commits the row begun by AddNew; it becomes the current row.
    void Update();

private:
    int columnOf(const QString &column) const;

    void checkPosition() const;

    ConnectionPtr m_connection;
    QString m_tableName;
    std::shared_ptr<const Table> m_rows;
    std::shared_ptr<Table> m_ownRows; // set once this row set has appended a row
    qint64 m_rowCount = 0;
    qint64 m_position = 0;
    bool m_adding = false;
    std::vector<QString> m_newRow;
    std::vector<bool> m_newRowSet;
    // The last INSERT and the columns it sets, kept for the next row that sets the same ones:
    // an update appends thousands of rows alike.
    sqlite3_stmt *m_insert = nullptr;
    std::vector<bool> m_insertColumns;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

// Opens the file at path with the dictionary password. A file that cannot be opened fails with a
// message that says what is known of it: missing, not a database, or (as far as its bytes tell)
// damaged or protected by another password.
void OpenConnection(ConnectionPtr &connection, const QString &path);
// Opens a row set for source over connection. A missing table fails with its own message.
void OpenRecordset(RecordsetPtr &recordset, const ConnectionPtr &connection, const QString &source);

// Quotes a name for use as an SQL identifier.
QString quoteIdentifier(const QString &name);

} // namespace modDB
