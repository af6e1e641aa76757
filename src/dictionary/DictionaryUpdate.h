#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

class DictionaryCache;
namespace modDB {
class Connection;
}

// Merges an update file into the dictionary: every row of the update must carry the marker and
// a link the panes may show, and the rows whose Link the dictionary lacks are appended in one
// transaction, so the dictionary ends with all of them or, on any failure, with its rows as they
// were and no journal left behind.
class DictionaryUpdate
{
public:
    enum class Outcome {
        NothingToUpdate, // the update could not be read or has no rows
        WrongFile, // a row lacks the marker or links where no pane may go, or a column is missing
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
        // For WrongFile by a link the panes may not show: that row, by number, key and link.
        QString refusedRow;
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
    struct UpdateRow
    {
        QString key;
        QString link;
    };
    // Reads and checks every row of the update; false when there is nothing to merge, with
    // the outcome in result.
    bool readUpdate(std::vector<UpdateRow> &rows, Result &result) const;
    void merge(const std::vector<UpdateRow> &rows, Result &result) const;
    void appendNewRows(const std::shared_ptr<modDB::Connection> &dictionary,
        const std::vector<UpdateRow> &rows, Result &result) const;
    // Rolls back and lets go of a dictionary handle that failed.
    void abandon(std::shared_ptr<modDB::Connection> dictionary) const;
    void resolveJournal() const;

    DictionaryCache &m_cache;
    QString m_updatePath;
    QString m_dictionaryPath;
    std::function<void(qint64)> m_appendHook;
    std::function<void()> m_commitHook;
};
