#pragma once
#include "ColumnNames.h"

#include <QByteArray>
#include <QString>

class CipherFile;
struct sqlite3_stmt;

// A statement that reads a table of a dictionary file, prepared at once and finalised with the
// object. A file without the table is said to be no dictionary.
class TableQuery
{
public:
    // Throws DictionaryError when sql cannot be prepared on file; tableName names the table in
    // the message.
    TableQuery(CipherFile &file, const QByteArray &sql, const QString &tableName);
    ~TableQuery();
    TableQuery(const TableQuery &) = delete;
    TableQuery &operator=(const TableQuery &) = delete;

    sqlite3_stmt *statement() const { return m_stmt; }
    // The names of the columns the statement returns, in their order.
    ColumnNames columnNames() const;

private:
    sqlite3_stmt *m_stmt = nullptr;
};
