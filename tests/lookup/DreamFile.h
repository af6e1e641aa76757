#pragma once
// The shared table written to a real dictionary file, whole or with a column under another
// name, as another program could have made it.
#include "DictionaryFile.h"
#include "DreamTable.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

#include <cstring>

namespace DreamFile {

inline void write(
    const QString &path, const std::vector<DreamTable::Row> &rows = DreamTable::rows())
{
    std::vector<DictionaryRow> written;
    for (const DreamTable::Row &row : rows)
        written.push_back({ row.key, row.link, DreamsTable::Marker });
    DictionaryFile::write(path, written);
}

// Rewrites the file through a connection of its own, with the column missing ("Key" or "Link")
// under another name.
inline void writeWithout(const QString &path, const QString &missing)
{
    write(path);
    const QString key = missing == "Key" ? QStringLiteral("Keyword") : QStringLiteral("Key");
    const QString link = missing == "Link" ? QStringLiteral("Address") : QStringLiteral("Link");
    const QByteArray sql = QStringLiteral("CREATE TABLE t (%1 TEXT, %2 TEXT, Names TEXT);"
                                          "INSERT INTO t SELECT Key, Link, Names FROM dreams;"
                                          "DROP TABLE dreams; ALTER TABLE t RENAME TO dreams;")
                               .arg(key, link)
                               .toUtf8();
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_key(db, modDB::DictionaryPassword, int(std::strlen(modDB::DictionaryPassword)));
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

} // namespace DreamFile
