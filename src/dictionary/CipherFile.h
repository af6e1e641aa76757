#pragma once
#include <QByteArray>
#include <QString>

struct sqlite3;

// One dictionary file, opened with its key and proven to unlock: an encrypted SQLite database.
// A file that will not open is refused with a message that says what is known of it.
class CipherFile
{
public:
    // Throws DictionaryError naming the file: missing, a folder, empty, locked by another
    // program, or (as far as its bytes tell) not a database of ours.
    CipherFile(QString path, const QByteArray &key);
    ~CipherFile();
    CipherFile(const CipherFile &) = delete;
    CipherFile &operator=(const CipherFile &) = delete;

    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }

    // Runs statements that return no rows; throws DictionaryError naming the file.
    void execute(const char *sql);
    // Moves whenever another connection commits to the file.
    qint64 dataVersion();
    // The file's size once the open transaction is committed.
    qint64 sizeAfterCommit();
    // Rows this handle has written since it was opened.
    int ownChanges() const;

    // Throws DictionaryError: what failed on this file, with SQLite's reason.
    [[noreturn]] void fail(const QString &what) const;

    // Why a file that would not unlock is refused. SQLite cannot tell a wrong key from a
    // damaged file or from noise, so this says only what the file's bytes prove.
    static QString whyNotUnlocked(const QString &path);

private:
    qint64 integerPragma(const char *sql);
    void removeLeftoverJournal();

    QString m_path;
    sqlite3 *m_db = nullptr;
};
