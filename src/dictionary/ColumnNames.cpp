#include "ColumnNames.h"

#include "DictionaryError.h"

namespace {

// SQLite folds only ASCII letters: "Ärger" and "äRGER" are two names to it.
QString folded(const QString &name)
{
    QString text = name;
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

} // namespace

ColumnNames::ColumnNames(const QStringList &names)
{
    for (const QString &name : names)
        append(name);
}

void ColumnNames::append(const QString &name)
{
    const int column = int(m_names.size());
    m_names << name;
    if (!m_exact.contains(name))
        m_exact.emplace(name, column);
    const QString key = folded(name);
    if (!m_folded.contains(key))
        m_folded.emplace(key, column);
}

int ColumnNames::indexOf(const QString &name) const
{
    const auto exact = m_exact.constFind(name);
    if (exact != m_exact.constEnd())
        return exact.value();
    return m_folded.value(folded(name), -1);
}

int ColumnNames::require(const QString &name, const QString &table, const QString &path) const
{
    const int column = indexOf(name);
    if (column < 0)
        throw DictionaryError(
            QStringLiteral("The table %1 in %2 has no column %3.").arg(table, path, name));
    return column;
}
