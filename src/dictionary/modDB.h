#pragma once
#include "DictionaryError.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;

// Access to dictionary files: encrypted SQLite databases holding the table "dreams".
// Every caller opens a connection and a row set, walks the rows and lets both go.
namespace modDB {

// The password every dictionary and update file is keyed with.
extern const char *const DictionaryPassword;
// The one query the program runs.
extern const QString SelectAllDreams;

// An open, unlocked database file.
class Connection
{
public:
    explicit Connection(QString path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // Runs one statement that returns no rows; throws DictionaryError naming the file.
    void execute(const char *sql);
    [[noreturn]] void fail(const QString &what) const;

private:
    QString m_path;
    sqlite3 *m_db = nullptr;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// All rows of a query, read at open so that RecordCount is exact before the walk. Rows come in
// table order. New rows are appended with AddNew, field assignments and Update.
class Recordset
{
public:
    Recordset(ConnectionPtr connection, const QString &source);

    qint64 RecordCount() const { return m_rowCount; }
    void MoveFirst();
    void MoveNext();
    bool EOF_() const { return m_position >= m_rowCount; }

    // The current row's field by column name; NULL reads as the empty text.
    QString Fields(const QString &column) const;
    bool hasColumn(const QString &column) const { return m_columnIndex.contains(column); }

    void AddNew();
    void setField(const QString &column, const QString &value);
    // Appends and commits the row begun by AddNew; it becomes the current row.
    void Update();

private:
    int columnOf(const QString &column) const;

    ConnectionPtr m_connection;
    QString m_table;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    std::vector<QString> m_cells; // row after row
    qint64 m_rowCount = 0;
    qint64 m_position = 0;
    bool m_adding = false;
    std::vector<QString> m_newRow;
    std::vector<bool> m_newRowSet;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

// Opens the file at path with the dictionary password. A missing file, a file that is not a
// database, and one protected by another password each fail with their own message.
void OpenConnection(ConnectionPtr &connection, const QString &path);
// Opens a row set for source over connection. A missing table fails with its own message.
void OpenRecordset(RecordsetPtr &recordset, const ConnectionPtr &connection, const QString &source);

// Quotes a name for use as an SQL identifier.
QString quoteIdentifier(const QString &name);

} // namespace modDB
