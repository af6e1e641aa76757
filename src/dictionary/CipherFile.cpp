#include "CipherFile.h"

#include "DictionaryError.h"
#include "PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

QString sqliteMessage(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Whether bytes look like an encrypted page: random noise uses nearly every byte value, text and
// most other formats use far fewer.
bool looksLikeNoise(const QByteArray &bytes)
{
    bool seen[256] = {};
    int distinct = 0;
    for (const char byte : bytes) {
        bool &mark = seen[static_cast<unsigned char>(byte)];
        if (!mark) {
            mark = true;
            ++distinct;
        }
    }
    // 512 random bytes show about 221 distinct values; text shows fewer than a hundred.
    return distinct >= bytes.size() * 160 / 512;
}

// Damaged pages and wrong keys look the same to SQLite; either way the bytes are no dictionary.
DictionaryError::Cause causeOf(int code)
{
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? DictionaryError::Cause::Damaged
                                                           : DictionaryError::Cause::Other;
}

void checkIsDatabaseFile(const QString &path)
{
    // Asked before SQLite opens it: a named pipe would stall the open, a device never ends.
    const PlainFile::Kind kind = PlainFile::kindOf(path, true);
    if (kind == PlainFile::Kind::Missing)
        throw DictionaryError(QStringLiteral("The dictionary file %1 does not exist.").arg(path));
    if (kind != PlainFile::Kind::Regular)
        throw DictionaryError(QStringLiteral("%1 is %2, not a dictionary file.")
                                  .arg(path, PlainFile::describe(kind)));
    if (QFileInfo(path).size() == 0)
        throw DictionaryError(
            QStringLiteral("The file %1 is empty, not a dictionary database.").arg(path),
            DictionaryError::Cause::Damaged);
}

} // namespace

CipherFile::CipherFile(QString path, const QByteArray &key)
    : m_path(std::move(path))
{
    checkIsDatabaseFile(m_path);
    const QByteArray nativePath = QFile::encodeName(m_path);
    if (sqlite3_open_v2(nativePath.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK) {
        const QString reason = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DictionaryError(
            QStringLiteral("The dictionary file %1 could not be opened: %2.").arg(m_path, reason));
    }
    sqlite3_busy_timeout(m_db, 2000);
    sqlite3_key(m_db, key.constData(), int(key.size()));
    // The key is only tried on first use of the file. The read also rolls back what a writer
    // that was cut short left in a hot journal.
    const int rc
        = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr)
        & 0xff;
    if (rc != SQLITE_OK) {
        const QString reason = sqliteMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        // A file another program is writing cannot be read either; that says nothing of its
        // password.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throw DictionaryError(QStringLiteral("The dictionary file %1 is locked by another "
                                                 "program: %2.")
                                      .arg(m_path, reason));
        if (rc == SQLITE_NOTADB)
            throw DictionaryError(whyNotUnlocked(m_path), DictionaryError::Cause::Damaged);
        throw DictionaryError(
            QStringLiteral("The dictionary file %1 could not be read: %2.").arg(m_path, reason),
            causeOf(rc));
    }
    removeLeftoverJournal();
}

CipherFile::~CipherFile()
{
    // Statements still open elsewhere keep the handle until they are finalized.
    sqlite3_close_v2(m_db);
}

void CipherFile::execute(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sql));
}

qint64 CipherFile::integerPragma(const char *sql)
{
    sqlite3_stmt *query = nullptr;
    const bool read = sqlite3_prepare_v2(m_db, sql, -1, &query, nullptr) == SQLITE_OK
        && sqlite3_step(query) == SQLITE_ROW;
    const qint64 value = read ? sqlite3_column_int64(query, 0) : -1;
    sqlite3_finalize(query);
    if (!read)
        fail(QString::fromUtf8(sql));
    return value;
}

qint64 CipherFile::dataVersion()
{
    return integerPragma("PRAGMA data_version");
}

qint64 CipherFile::sizeAfterCommit()
{
    return integerPragma("PRAGMA page_count") * integerPragma("PRAGMA page_size");
}

void CipherFile::removeLeftoverJournal()
{
    // The probe has rolled back a journal of a commit that was cut short. One still there was
    // left by a writer stopped before its commit began, which SQLite leaves alone. Leaving the
    // persistent journal mode deletes it, under the write lock, so never while a writer lives.
    if (QFileInfo::exists(m_path + QStringLiteral("-journal")))
        sqlite3_exec(m_db, "PRAGMA journal_mode = PERSIST; PRAGMA journal_mode = DELETE;", nullptr,
            nullptr, nullptr);
}

int CipherFile::ownChanges() const
{
    return sqlite3_total_changes(m_db);
}

void CipherFile::fail(const QString &what) const
{
    throw DictionaryError(QStringLiteral("The dictionary file %1: %2 failed: %3.")
                              .arg(m_path, what, sqliteMessage(m_db)),
        causeOf(m_db ? sqlite3_errcode(m_db) & 0xff : SQLITE_NOMEM));
}

QString CipherFile::whyNotUnlocked(const QString &path)
{
    // An encrypted database is whole pages of noise, and a file that is not cannot be one of
    // ours.
    constexpr qint64 SmallestPage = 512;
    QFile file(path);
    const qint64 size = file.size();
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(SmallestPage);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return QStringLiteral("The file %1 is an unprotected SQLite database, not a Somnilex "
                              "dictionary.")
            .arg(path);
    if (size >= SmallestPage && size % SmallestPage == 0 && looksLikeNoise(head))
        return QStringLiteral("The file %1 is not a dictionary file or is protected by another "
                              "password.")
            .arg(path);
    return QStringLiteral("The file %1 is not a dictionary database.").arg(path);
}
