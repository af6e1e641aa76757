#include "DictionaryUpdate.h"

#include "AppendStatement.h"
#include "CipherFile.h"
#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "DreamsTable.h"
#include "KnownLinks.h"
#include "LinkPolicy.h"
#include "SpaceReservation.h"
#include "modDB.h"

#include <thread>
#include <utility>

const QString DictionaryUpdate::Marker = DreamsTable::Marker;

namespace {

using DreamsTable::KeyColumn;
using DreamsTable::LinkColumn;
using DreamsTable::NamesColumn;

// A value from a file that is being refused, on one line and short enough for a message.
QString shortened(const QString &text)
{
    constexpr int Longest = 80;
    QString shown = text.size() <= Longest ? text : text.left(Longest - 3) + QStringLiteral("...");
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return shown;
}

// The first of rows whose link the panes may not show; rows.size() when there is none. Parsing
// a million links takes seconds, so the second half is checked on another thread meanwhile.
template <typename Row> size_t firstUnshowableLink(const std::vector<Row> &rows)
{
    auto firstIn = [&rows](size_t begin, size_t end) {
        for (size_t row = begin; row < end; ++row) {
            if (!LinkPolicy::isShowableLink(rows[row].link))
                return row;
        }
        return rows.size();
    };
    constexpr size_t WorthAThread = 10000;
    if (rows.size() < WorthAThread)
        return firstIn(0, rows.size());
    const size_t half = rows.size() / 2;
    size_t second = rows.size();
    std::thread checker([&] { second = firstIn(half, rows.size()); });
    const size_t first = firstIn(0, half);
    checker.join();
    return first < half ? first : second;
}

// The first of rows whose link the panes may not show, by number, key and link; empty when
// there is none.
template <typename Row> QString unshowableRow(const std::vector<Row> &rows)
{
    const size_t refused = firstUnshowableLink(rows);
    if (refused == rows.size())
        return {};
    return QStringLiteral("Row %1 (\"%2\") links to \"%3\", which is not a web page Somnilex "
                          "shows.")
        .arg(qint64(refused) + 1)
        .arg(shortened(rows[refused].key), shortened(rows[refused].link));
}

} // namespace

DictionaryUpdate::DictionaryUpdate(
    DictionaryCache &cache, QString updatePath, QString dictionaryPath)
    : m_cache(cache)
    , m_updatePath(std::move(updatePath))
    , m_dictionaryPath(std::move(dictionaryPath))
{ }

DictionaryUpdate::Result DictionaryUpdate::run() const
{
    Result result;
    std::vector<UpdateRow> rows;
    if (readUpdate(rows, result))
        merge(rows, result);
    return result;
}

bool DictionaryUpdate::readUpdate(std::vector<UpdateRow> &rows, Result &result) const
{
    // A file that cannot be read as an update has, as far as the user is concerned, nothing
    // in it; the update's own message says so.
    modDB::RecordsetPtr updateSet;
    try {
        updateSet = modDB::openDreams(m_cache, m_updatePath);
    } catch (const DictionaryError &) {
        return false;
    }
    result.updateRows = updateSet->RecordCount();
    if (result.updateRows == 0)
        return false;

    // Every row is checked before anything is written, so a wrong file changes nothing.
    if (!updateSet->hasColumn(NamesColumn) || !updateSet->hasColumn(KeyColumn)
        || !updateSet->hasColumn(LinkColumn)) {
        result.outcome = Outcome::WrongFile;
        return false;
    }
    rows.reserve(size_t(result.updateRows));
    const int names = updateSet->columnIndex(NamesColumn);
    const int keys = updateSet->columnIndex(KeyColumn);
    const int links = updateSet->columnIndex(LinkColumn);
    // The rows up to the first without the marker; the links of those are checked after.
    updateSet->MoveFirst();
    bool marked = true;
    for (qint64 i = 0; i < result.updateRows; ++i) {
        if (updateSet->Fields(names) != Marker) {
            marked = false;
            break;
        }
        rows.push_back({ updateSet->Fields(keys), updateSet->Fields(links) });
        updateSet->MoveNext();
    }
    // Every link ends up in a pane; one the panes may not show has no place in the
    // dictionary. The first row that fails either way is the one reported.
    result.refusedRow = unshowableRow(rows);
    if (!result.refusedRow.isEmpty() || !marked) {
        result.outcome = Outcome::WrongFile;
        return false;
    }
    return true;
}

void DictionaryUpdate::merge(const std::vector<UpdateRow> &rows, Result &result) const
{
    modDB::ConnectionPtr dictionary;
    // Outlives the transaction: see SpaceReservation.
    std::unique_ptr<SpaceReservation> room;
    try {
        modDB::OpenConnection(dictionary, m_cache, m_dictionaryPath);
        // The new pages stay in memory until the commit, so that whatever fails before it has
        // written nothing to the file.
        dictionary->execute("PRAGMA cache_spill = OFF");
        // Taking the write lock before reading means no other writer can add a link between
        // the read and the appends.
        dictionary->BeginTrans();
        appendNewRows(dictionary, rows, result);
        if (m_commitHook)
            m_commitHook();
        // A commit that ran out of room after its first page would leave the file rolled back
        // in content but not in bytes: the journal's copies are encrypted afresh.
        room = std::make_unique<SpaceReservation>(m_dictionaryPath);
        room->reserve(dictionary->file().sizeAfterCommit());
        dictionary->CommitTrans();
    } catch (const std::exception &e) {
        if (room)
            room->giveBack();
        const bool opened = dictionary != nullptr;
        abandon(std::move(dictionary));
        room.reset();
        if (opened)
            resolveJournal();
        const auto *dictionaryError = dynamic_cast<const DictionaryError *>(&e);
        result.outcome = Outcome::Failed;
        result.appended = 0;
        result.duplicates = 0;
        result.error = dictionaryError
            ? dictionaryError->message()
            : QStringLiteral("The dictionary file %1 could not be updated: %2.")
                  .arg(m_dictionaryPath, QString::fromLocal8Bit(e.what()));
        return;
    }
    result.outcome = Outcome::Merged;
    try {
        dictionary->execute("PRAGMA cache_spill = ON");
    } catch (const DictionaryError &) {
        // Only the next merge writes through this handle, and it sets its own.
    }
}

void DictionaryUpdate::appendNewRows(const modDB::ConnectionPtr &dictionary,
    const std::vector<UpdateRow> &rows, Result &result) const
{
    // The links under the write lock, over the connection that holds it. Links appended in this
    // run join the set, so a link twice in the update is appended once.
    CipherFile &file = dictionary->file();
    KnownLinks knownLinks(file, DreamsTable::Table);

    // One INSERT for every new row, made at the first: an update of known links only asks
    // nothing more of the table.
    std::unique_ptr<AppendStatement> append;
    std::vector<QString> values;
    int names = -1, key = -1, link = -1;
    for (const UpdateRow &row : rows) {
        if (!knownLinks.insert(row.link)) {
            ++result.duplicates;
            continue;
        }
        if (!append) {
            const ColumnNames &columns = knownLinks.columns();
            names = columns.require(NamesColumn, DreamsTable::Table, file.path());
            key = columns.require(KeyColumn, DreamsTable::Table, file.path());
            link = columns.require(LinkColumn, DreamsTable::Table, file.path());
            std::vector<bool> sets(size_t(columns.size()), false);
            sets[size_t(names)] = sets[size_t(key)] = sets[size_t(link)] = true;
            append = std::make_unique<AppendStatement>(
                file, DreamsTable::Table, columns.names(), sets);
            values.resize(size_t(columns.size()));
            values[size_t(names)] = Marker;
        }
        values[size_t(key)] = row.key;
        values[size_t(link)] = row.link;
        append->run(values);
        ++result.appended;
        if (m_appendHook)
            m_appendHook(result.appended);
    }
    if (append)
        m_cache.noteOwnWrite(file);
}

void DictionaryUpdate::abandon(modDB::ConnectionPtr dictionary) const
{
    if (!dictionary)
        return;
    try {
        dictionary->RollbackTrans();
    } catch (const DictionaryError &) {
        // Closing the handle below leaves the rest to the journal.
    }
    // A handle that failed half-way is not used again; closing it leaves in the journal what
    // SQLite could not roll back itself.
    m_cache.drop(dictionary->file());
    // Closed here, before the caller resolves the journal.
    dictionary.reset();
}

void DictionaryUpdate::resolveJournal() const
{
    // Opening the file anew rolls back what a failed commit left in its journal now, rather
    // than whenever the file is next read, and takes away a journal of a transaction that
    // never reached its commit.
    try {
        m_cache.open(m_dictionaryPath);
    } catch (const DictionaryError &) {
        // Whoever opens it next will.
    }
}
