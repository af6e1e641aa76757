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
    // Asked whatever the handle says: after an I/O error SQLite may have ended the transaction
    // itself, and a ROLLBACK with none open only says so.
    if (sqlite3_exec(handle(), "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK
        && !sqlite3_get_autocommit(handle()))
        fail(QStringLiteral("ROLLBACK"));
    m_cache.noteOwnWrite(*m_file);
}

} // namespace modDB
