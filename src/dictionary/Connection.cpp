#include "Connection.h"

#include "CipherFile.h"
#include "DictionaryCache.h"

#include <sqlite3.h>

namespace modDB {

Connection::Connection(DictionaryCache &cache, QString path)
    : m_cache(cache)
    , m_path(std::move(path))
    , m_file(cache.open(m_path))
{ }

Connection::~Connection() = default;

sqlite3 *Connection::handle() const
{
    return m_file->handle();
}

void Connection::fail(const QString &what) const
{
    m_file->fail(what);
}

void Connection::execute(const char *sql)
{
    m_file->execute(sql);
    m_cache.noteOwnWrite(*m_file);
}

void Connection::BeginTrans()
{
    execute("BEGIN IMMEDIATE");
}

void Connection::CommitTrans()
{
    execute("COMMIT");
}

void Connection::RollbackTrans()
{
    if (!sqlite3_get_autocommit(handle()))
        execute("ROLLBACK");
}

} // namespace modDB
