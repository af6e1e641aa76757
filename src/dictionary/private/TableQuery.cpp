#include "TableQuery.h"

#include "CipherFile.h"
#include "DictionaryError.h"

#include <sqlite3.h>

TableQuery::TableQuery(CipherFile &file, const QByteArray &sql, const QString &tableName)
{
    if (sqlite3_prepare_v2(file.handle(), sql.constData(), int(sql.size()), &m_stmt, nullptr)
        == SQLITE_OK)
        return;
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    if (QString::fromUtf8(sqlite3_errmsg(file.handle())).startsWith(QLatin1String("no such table")))
        throw DictionaryError(
            QStringLiteral("The file %1 has no table %2: it is not a Somnilex dictionary.")
                .arg(file.path(), tableName),
            DictionaryError::Cause::Damaged);
    file.fail(QString::fromUtf8(sql));
}

TableQuery::~TableQuery()
{
    sqlite3_finalize(m_stmt);
}

ColumnNames TableQuery::columnNames() const
{
    ColumnNames names;
    const int columns = sqlite3_column_count(m_stmt);
    for (int c = 0; c < columns; ++c)
        names.append(QString::fromUtf8(sqlite3_column_name(m_stmt, c)));
    return names;
}
