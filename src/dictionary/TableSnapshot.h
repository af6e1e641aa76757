#pragma once
#include "ColumnNames.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CipherFile;
class LoweredColumn;

// The rows of one query as read at one moment, kept column by column in table order. Each
// column is kept as read, its UTF-8 texts back to back in one block, until it is asked for as a
// whole: then a snapshot of its own, made from this one (sharing its rows), holds it as strings
// (withStrings). A column searched in any letter case gets lower-cased copies (see
// LoweredColumn) the same way (withLowered). Both are kept in step by append, so that no list
// or search converts or lowers anything twice, and a million rows cost one string each only in
// the column that is listed.
class TableSnapshot
{
public:
    // Reads every row of source from file. tableName is the table source reads, for the
    // message when the file lacks it. Throws DictionaryError.
    static TableSnapshot read(CipherFile &file, const QString &source, const QString &tableName);
    TableSnapshot() = default;
    TableSnapshot(const TableSnapshot &) = default;
    TableSnapshot(TableSnapshot &&) = default;
    TableSnapshot &operator=(const TableSnapshot &) = default;
    TableSnapshot &operator=(TableSnapshot &&) = default;
    ~TableSnapshot();
    // The same rows, with column held as strings.
    TableSnapshot withStrings(int column) const;
    // The same rows, with column held as strings and lower-cased copies of it besides.
    TableSnapshot withLowered(int column) const;

    const QStringList &columns() const { return m_columns.names(); }
    const ColumnNames &columnNames() const { return m_columns; }
    qint64 rowCount() const { return m_rowCount; }

    // The column of that name (see ColumnNames); -1 if none.
    int indexOf(const QString &name) const { return m_columns.indexOf(name); }
    // The cell's text; null for NULL.
    QString cell(qint64 row, int column) const;
    // Every value of a column held as strings, in table order; see withStrings.
    bool hasStrings(int column) const { return !m_text[size_t(column)]; }
    const QStringList &column(int column) const { return m_cells[size_t(column)]; }
    // The column's lower-cased copies; null for a column without them (see withLowered).
    const LoweredColumn *lowered(int column) const { return m_lowered[size_t(column)].get(); }

    // Adds a row, one value per column, after the last.
    void append(std::vector<QString> row);

private:
    ColumnNames m_columns;
    // A column as read: every non-NULL text in UTF-8, back to back.
    struct Text
    {
        QByteArray bytes;
        QList<quint32> ends; // where each row's text ends in bytes
        std::vector<bool> nulls;
    };
    // By column; null once the column is held as strings. Shared by the copies of a snapshot
    // until one of them appends.
    std::vector<std::shared_ptr<Text>> m_text;
    std::vector<QStringList> m_cells; // by column; empty for a column kept as read
    // By column; null for a column without copies. Shared by the copies of a snapshot until
    // one of them appends.
    std::vector<std::shared_ptr<LoweredColumn>> m_lowered;
    qint64 m_rowCount = 0;
};
