#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class CipherFile;

// The rows of one query as read at one moment, kept column by column in table order. A column
// searched in any letter case gets lower-cased copies in a snapshot of its own, made from this
// one (sharing its rows) and kept in step by append, so that each search lowers nothing.
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
    // The same rows, with lower-cased copies of column besides.
    TableSnapshot withLowered(int column) const;

    const QStringList &columns() const { return m_columns; }
    qint64 rowCount() const { return m_rowCount; }

    // The column of that name in any ASCII case, the name as stored first; -1 if none.
    int indexOf(const QString &name) const;
    const QString &cell(qint64 row, int column) const { return m_cells[size_t(column)][row]; }
    // Every value of one column in table order.
    const QStringList &column(int column) const { return m_cells[size_t(column)]; }
    // The lower-cased cell; null for a column without lower-cased copies (see withLowered).
    const QString *lowerCell(qint64 row, int column) const
    {
        const QStringList &lowered = m_lowered[size_t(column)];
        return row < lowered.size() ? &lowered[row] : nullptr;
    }

    // Adds a row, one value per column, after the last.
    void append(std::vector<QString> row);

    // SQLite matches column names without regard to ASCII letter case, and only ASCII.
    static QString foldColumnName(const QString &name);

private:
    QStringList m_columns;
    QHash<QString, int> m_columnIndex; // by name as stored
    QHash<QString, int> m_foldedColumnIndex; // by name folded as SQLite folds it
    std::vector<QStringList> m_cells; // by column
    std::vector<QStringList> m_lowered; // by column; empty for a column without copies
    std::vector<bool> m_keepsLowered; // by column: whether m_lowered holds its copies
    qint64 m_rowCount = 0;
};
