#pragma once
// Dictionary files made by hand, and read and written the way the program's handlers do, for
// the dictionary suites.
#include "DictionaryCache.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QFile>
#include <QStringList>
#include <QTest>

#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace DictionaryAccess {

// An encrypted database made by hand: another password, or tables of our choosing.
inline void makeDatabase(const QString &path, const char *password, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    if (password)
        sqlite3_key(db, password, int(std::strlen(password)));
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

using DreamsRows = std::shared_ptr<const TableSnapshot>;

// The dreams rows the cache holds for the file at path.
inline DreamsRows dreamsIn(DictionaryCache &cache, const QString &path)
{
    return cache.rows(*cache.open(path), modDB::SelectAllDreams, DreamsTable::Table);
}

// Every Key of the file, by the full-table scan.
inline QStringList keysIn(DictionaryCache &cache, const QString &path)
{
    const modDB::RecordsetPtr rs = modDB::openDreams(cache, path);
    QStringList keys;
    if (rs->RecordCount() == 0)
        return keys;
    rs->MoveFirst();
    for (qint64 i = 0; i < rs->RecordCount(); ++i) {
        keys << rs->Fields("Key");
        rs->MoveNext();
    }
    return keys;
}

// Why the scan fails; empty when it does not.
inline QString openFailure(DictionaryCache &cache, const QString &path)
{
    try {
        keysIn(cache, path);
    } catch (const DictionaryError &e) {
        return e.message();
    }
    return {};
}

// Appends a row with only its Key set, through a row set.
inline void append(DictionaryCache &cache, const QString &path, const QString &key)
{
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, cache, path);
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->AddNew();
    rs->setField("Key", key);
    rs->Update();
}

} // namespace DictionaryAccess
