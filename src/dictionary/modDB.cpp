#include "modDB.h"

namespace modDB {

void OpenConnection(ConnectionPtr &connection, DictionaryCache &cache, const QString &path)
{
    connection = std::make_shared<Connection>(cache, path);
}

void OpenRecordset(RecordsetPtr &recordset, const ConnectionPtr &connection, const QString &source)
{
    recordset = std::make_unique<Recordset>(connection, source);
}

RecordsetPtr openDreams(DictionaryCache &cache, const QString &path)
{
    ConnectionPtr connection;
    OpenConnection(connection, cache, path);
    return std::make_unique<Recordset>(connection, SelectAllDreams);
}

} // namespace modDB
