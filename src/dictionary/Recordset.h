#pragma once
#include "Connection.h"

#include <QString>

#include <memory>
#include <vector>

class AppendStatement;
class TableSnapshot;

namespace modDB {

// All rows of a query, read at open so that RecordCount is exact before the walk. Rows come in
// table order. New rows are appended with AddNew, field assignments and Update. The rows are the
// snapshot the cache holds for the unchanged table, shared with every other reader of it; a
// change by anyone (this process or another) makes the next row set read the table again.
class Recordset
{
public:
    Recordset(ConnectionPtr connection, const QString &source);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    qint64 RecordCount() const;
    void MoveFirst();
    void MoveNext();
    bool EOF_() const { return m_position >= RecordCount(); }

    // The current row's field by column name (see ColumnNames); NULL reads as the empty text.
    QString Fields(const QString &column) const;
    // By column number, for walks that read a few columns of every row.
    QString Fields(int column) const;
    int columnIndex(const QString &column) const;
    bool hasColumn(const QString &column) const;

    void AddNew();
    void setField(const QString &column, const QString &value);
    // Appends and commits the row begun by AddNew; it becomes the current row.
    void Update();

private:
    void checkPosition() const;

    ConnectionPtr m_connection;
    QString m_tableName;
    std::shared_ptr<const TableSnapshot> m_rows;
    std::shared_ptr<TableSnapshot> m_ownRows; // set once this row set has appended a row
    qint64 m_position = 0;
    bool m_adding = false;
    std::vector<QString> m_newRow;
    std::vector<bool> m_newRowSet;
    // The last INSERT, kept for the next row that sets the same columns.
    std::unique_ptr<AppendStatement> m_append;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

} // namespace modDB
