#pragma once
#include "Connection.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class AppendStatement;
class LoweredColumn;
class TableSnapshot;

namespace modDB {

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
    // Moves rows ahead at once, stopping at EOF as MoveNext does.
    void Move(qint64 rows);
    bool EOF_() const { return m_position >= m_rowCount; }

    // The current row's field by column name, matched in any ASCII case as SQLite matches
    // names; NULL reads as the empty text.
    const QString &Fields(const QString &column) const;
    // The same, lower-cased as QString::toLower does. The first call for a column lowers the
    // whole column once, for this row set and every later one over the unchanged table.
    const QString &LowerFields(const QString &column);
    // By column number, for walks that read one column of every row.
    int columnIndex(const QString &column) const { return columnOf(column); }
    const QString &Fields(int column) const;
    const QString &LowerFields(int column);
    // The whole column lower-cased, for searches over every row; made as LowerFields makes it,
    // and good until this row set next lowers another column or appends.
    const LoweredColumn &LowerColumn(int column);
    // Every value of one column in table order, shared while the table is unchanged. The
    // first call for a column makes its strings once, for this row set and every later one
    // over the unchanged table; good until this row set next asks for another column whole or
    // appends.
    const QStringList &Column(const QString &column);
    bool hasColumn(const QString &column) const;

    void AddNew();
    void setField(const QString &column, const QString &value);
    // Appends and commits the row begun by AddNew; it becomes the current row.
    void Update();

private:
    int columnOf(const QString &column) const;
    // Puts table, made from this row set's rows, in their place.
    void refine(TableSnapshot table);
    void checkPosition() const;

    ConnectionPtr m_connection;
    QString m_source;
    QString m_tableName;
    std::shared_ptr<const TableSnapshot> m_rows;
    std::shared_ptr<TableSnapshot> m_ownRows; // set once this row set has appended a row
    qint64 m_rowCount = 0;
    qint64 m_position = 0;
    bool m_adding = false;
    std::vector<QString> m_newRow;
    std::vector<bool> m_newRowSet;
    QString m_lowerField; // the last value LowerFields gave
    mutable std::vector<QString> m_fields; // by column, the last value Fields gave
    // The last INSERT, kept for the next row that sets the same columns.
    std::unique_ptr<AppendStatement> m_append;
};

using RecordsetPtr = std::unique_ptr<Recordset>;

} // namespace modDB
