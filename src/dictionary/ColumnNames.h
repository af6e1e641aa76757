#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

// A table's column names in table order, and the one way the program finds a column by name:
// the name as stored first, else the same name in any ASCII letter case, as SQLite matches
// names. Of two columns that answer alike (a join, say) the first does.
class ColumnNames
{
public:
    ColumnNames() = default;
    explicit ColumnNames(const QStringList &names);

    void append(const QString &name);

    const QStringList &names() const { return m_names; }
    int size() const { return int(m_names.size()); }

    // The column of that name; -1 when there is none.
    int indexOf(const QString &name) const;
    // The same, for a column the caller cannot do without. Throws DictionaryError naming the
    // column, the table and the file.
    int require(const QString &name, const QString &table, const QString &path) const;

private:
    QStringList m_names;
    QHash<QString, int> m_exact;
    QHash<QString, int> m_folded; // by name folded as SQLite folds it
};
