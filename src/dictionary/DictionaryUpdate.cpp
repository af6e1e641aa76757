#include "DictionaryUpdate.h"

#include "DreamsTable.h"
#include "modDB.h"

#include <QSet>
#include <utility>
#include <vector>

const QString DictionaryUpdate::Marker = DreamsTable::Marker;

namespace {

using DreamsTable::KeyColumn;
using DreamsTable::LinkColumn;
using DreamsTable::NamesColumn;

struct UpdateRow
{
    QString key;
    QString link;
};

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

    // A file that cannot be read as an update has, as far as the user is concerned, nothing
    // in it; the update's own message says so.
    modDB::RecordsetPtr updateSet;
    try {
        updateSet = modDB::openDreams(m_cache, m_updatePath);
    } catch (const DictionaryError &) {
        return result;
    }
    result.updateRows = updateSet->RecordCount();
    if (result.updateRows == 0)
        return result;

    // Every row is checked before anything is written, so a wrong file changes nothing.
    if (!updateSet->hasColumn(NamesColumn) || !updateSet->hasColumn(KeyColumn)
        || !updateSet->hasColumn(LinkColumn)) {
        result.outcome = Outcome::WrongFile;
        return result;
    }
    std::vector<UpdateRow> rows;
    rows.reserve(size_t(result.updateRows));
    updateSet->MoveFirst();
    for (qint64 i = 0; i < result.updateRows; ++i) {
        if (updateSet->Fields(NamesColumn) != Marker) {
            result.outcome = Outcome::WrongFile;
            return result;
        }
        rows.push_back({ updateSet->Fields(KeyColumn), updateSet->Fields(LinkColumn) });
        updateSet->MoveNext();
    }
    updateSet.reset();

    modDB::ConnectionPtr dictionary;
    try {
        modDB::OpenConnection(dictionary, m_cache, m_dictionaryPath);
        // Taking the write lock before reading means no other writer can add a link between
        // the read and the appends.
        dictionary->BeginTrans();
        // The rows under the write lock, over the connection that holds it.
        modDB::RecordsetPtr dreams;
        modDB::OpenRecordset(dreams, dictionary, modDB::SelectAllDreams);

        // One pass over the dictionary instead of one per update row. Links appended in this
        // run join the set, so a link twice in the update is appended once.
        QSet<QString> knownLinks;
        const qint64 dictionaryRows = dreams->RecordCount();
        knownLinks.reserve(dictionaryRows + result.updateRows);
        if (dictionaryRows > 0) {
            dreams->MoveFirst();
            for (qint64 i = 0; i < dictionaryRows; ++i) {
                knownLinks.insert(dreams->Fields(LinkColumn));
                dreams->MoveNext();
            }
        }

        for (const UpdateRow &row : rows) {
            if (knownLinks.contains(row.link)) {
                ++result.duplicates;
                continue;
            }
            dreams->AddNew();
            dreams->setField(NamesColumn, Marker);
            dreams->setField(KeyColumn, row.key);
            dreams->setField(LinkColumn, row.link);
            dreams->Update();
            knownLinks.insert(row.link);
            ++result.appended;
            if (m_appendHook)
                m_appendHook(result.appended);
        }
        if (m_commitHook)
            m_commitHook();
        dictionary->CommitTrans();
    } catch (const std::exception &e) {
        if (dictionary) {
            try {
                dictionary->RollbackTrans();
            } catch (const DictionaryError &) {
                // Closing the connection below discards the open transaction all the same.
            }
        }
        result.outcome = Outcome::Failed;
        result.appended = 0;
        result.duplicates = 0;
        const auto *dictionaryError = dynamic_cast<const DictionaryError *>(&e);
        result.error = dictionaryError
            ? dictionaryError->message()
            : QStringLiteral("The dictionary file %1 could not be "
                             "updated: %2.")
                  .arg(m_dictionaryPath, QString::fromLocal8Bit(e.what()));
        return result;
    }
    result.outcome = Outcome::Merged;
    return result;
}
