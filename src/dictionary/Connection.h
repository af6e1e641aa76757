#pragma once
#include <QString>

#include <memory>

class CipherFile;
class DictionaryCache;
struct sqlite3;

namespace modDB {

// A connection to a dictionary file as the program's handlers hold one: the file's unlocked
// handle, shared through the cache with every other connection to the unchanged file.
class Connection
{
public:
    // Throws DictionaryError saying what is known of a file that cannot be opened.
    Connection(DictionaryCache &cache, QString path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    sqlite3 *handle() const;
    CipherFile &file() const { return *m_file; }
    DictionaryCache &cache() const { return m_cache; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // Runs one statement that returns no rows; throws DictionaryError naming the file.
    void execute(const char *sql);
    [[noreturn]] void fail(const QString &what) const;

private:
    DictionaryCache &m_cache;
    QString m_path;
    std::shared_ptr<CipherFile> m_file;
};

using ConnectionPtr = std::shared_ptr<Connection>;

} // namespace modDB
