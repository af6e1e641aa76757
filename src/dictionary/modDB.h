#pragma once
#include "Connection.h"
#include "DictionaryError.h"
#include "DictionaryPassword.h"
#include "DreamsTable.h"
#include "QuoteIdentifier.h"
#include "Recordset.h"

#include <QString>

class DictionaryCache;

// Access to dictionary files: encrypted SQLite databases holding the table "dreams". Every
// caller opens a connection and a row set through the run's cache, walks the rows and lets
// both go.
namespace modDB {

// The password files are keyed with, and the one query the program runs.
using ::DictionaryPassword;
using DreamsTable::SelectAllDreams;

// Opens the file at path with the dictionary password. A file that cannot be opened fails with a
// message that says what is known of it: missing, not a database, or (as far as its bytes tell)
// damaged or protected by another password.
void OpenConnection(ConnectionPtr &connection, DictionaryCache &cache, const QString &path);
// Opens a row set for source over connection. A missing table fails with its own message.
void OpenRecordset(RecordsetPtr &recordset, const ConnectionPtr &connection, const QString &source);

// The dreams rows of the dictionary file at path, walked from the first. Throws DictionaryError.
RecordsetPtr openDreams(DictionaryCache &cache, const QString &path);

} // namespace modDB
