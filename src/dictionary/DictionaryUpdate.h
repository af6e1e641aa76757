#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>

class DictionaryCache;

// Merges an update file into the dictionary: every row of the update must carry the marker,
// and the rows whose Link the dictionary lacks are appended in one transaction, so the
// dictionary ends with all of them or, on any failure, exactly as it was.
class DictionaryUpdate
{
public:
    enum class Outcome {
        NothingToUpdate, // the update could not be read or has no rows
        WrongFile, // some row lacks the marker, or the table lacks a needed column
        Merged, // every new row is in the dictionary (possibly none)
        Failed, // the dictionary could not be opened or written; it is unchanged
    };

    struct Result
    {
        Outcome outcome = Outcome::NothingToUpdate;
        qint64 updateRows = 0;
        qint64 appended = 0;
        qint64 duplicates = 0;
        // Why the dictionary was not written, naming the file; set for Failed only.
        QString error;
    };

    // The marker every update row carries and every appended row gets.
    static const QString Marker;

    // Both files are opened through cache.
    DictionaryUpdate(DictionaryCache &cache, QString updatePath, QString dictionaryPath);

    // Called inside the transaction after each appended row with the number appended so far;
    // lets tests stop or fail the merge part-way. An exception it throws fails
    // the merge like a failed append.
    void setAppendHook(std::function<void(qint64 appended)> hook)
    {
        m_appendHook = std::move(hook);
    }

    // Called inside the transaction once every new row is appended, just before the commit;
    // lets tests stop the merge while it commits. An exception it throws fails the merge.
    void setCommitHook(std::function<void()> hook) { m_commitHook = std::move(hook); }

    Result run() const;

private:
    DictionaryCache &m_cache;
    QString m_updatePath;
    QString m_dictionaryPath;
    std::function<void(qint64)> m_appendHook;
    std::function<void()> m_commitHook;
};
