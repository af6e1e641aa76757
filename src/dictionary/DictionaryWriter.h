#pragma once
#include "DictionaryFile.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// Makes a new dictionary (or update) file row by row. The rows go into a hidden file beside the
// destination, named ".NAME.somnilex-partial-PID-..." so that a later run can tell ours from
// the user's files; it takes the destination's name only in commit(). A writer destroyed
// before commit() removes it, so a failure leaves no half-made file and an existing file as it
// was. Every failure throws DictionaryError saying what went wrong in plain words.
class DictionaryWriter
{
public:
    enum class Existing { Refuse, Replace };

    // Checks the destination and starts the hidden file; removes the hidden files that runs
    // killed earlier left for this destination.
    DictionaryWriter(QString path, Existing existing);
    ~DictionaryWriter();
    DictionaryWriter(const DictionaryWriter &) = delete;
    DictionaryWriter &operator=(const DictionaryWriter &) = delete;

    // Cells go in as given, byte for byte.
    void add(const StoredRow &row);
    void add(const DictionaryRow &row);
    // Finishes the file and gives it the destination's name; with Existing::Refuse a file
    // that has meanwhile appeared there is left alone and the write fails.
    void commit();

    qint64 rowCount() const { return m_rows; }
    const QString &partialPath() const { return m_partial; }

private:
    void checkDestination() const;
    void removeStalePartials() const;
    void createPartial();
    void open();
    void moveIntoPlace();
    void discard();
    void check(int rc, const QString &what) const;
    [[noreturn]] void fail(const QString &what, const QString &reason) const;

    QString m_path;
    Existing m_existing;
    QString m_partial;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_insert = nullptr;
    qint64 m_rows = 0;
};
