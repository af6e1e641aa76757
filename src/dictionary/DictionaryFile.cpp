#include "DictionaryFile.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

namespace DictionaryFile {

namespace {

void check(int rc, sqlite3 *db, const QString &path, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw DictionaryError(QStringLiteral("Could not write %1 (%2): %3.")
                                      .arg(path, QString::fromUtf8(what),
                                           QString::fromUtf8(sqlite3_errmsg(db))));
}

void writeRows(sqlite3 *db, const QString &path, const std::vector<DictionaryRow> &rows)
{
    check(sqlite3_key(db, modDB::DictionaryPassword, int(std::strlen(modDB::DictionaryPassword))),
          db, path, "setting the password");
    check(sqlite3_exec(db, "CREATE TABLE dreams (Key TEXT, Link TEXT, Names TEXT);", nullptr,
                       nullptr, nullptr),
          db, path, "creating the table");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, path, "starting");
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO dreams (Key, Link, Names) VALUES (?, ?, ?)", -1,
                             &insert, nullptr),
          db, path, "preparing");
    try {
        for (const DictionaryRow &row : rows) {
            sqlite3_bind_text16(insert, 1, row.key.utf16(), int(row.key.size() * 2),
                                SQLITE_STATIC);
            sqlite3_bind_text16(insert, 2, row.link.utf16(), int(row.link.size() * 2),
                                SQLITE_STATIC);
            sqlite3_bind_text16(insert, 3, row.names.utf16(), int(row.names.size() * 2),
                                SQLITE_STATIC);
            check(sqlite3_step(insert), db, path, "adding a row");
            sqlite3_reset(insert);
        }
    } catch (...) {
        sqlite3_finalize(insert);
        throw;
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, path, "committing");
}

} // namespace

void write(const QString &path, const std::vector<DictionaryRow> &rows)
{
    const QFileInfo target(path);
    const QString partial = target.absolutePath() + QStringLiteral("/.")
            + target.fileName() + QLatin1Char('.')
            + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".partial");

    sqlite3 *db = nullptr;
    const QByteArray nativePartial = QFile::encodeName(partial);
    try {
        check(sqlite3_open_v2(nativePartial.constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              db, path, "creating the file");
        writeRows(db, path, rows);
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(partial);
        throw;
    }
    sqlite3_close(db);
    if (std::rename(nativePartial.constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(partial);
        throw DictionaryError(QStringLiteral("Could not write %1: %2.")
                                      .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
}

std::vector<DictionaryRow> read(const QString &path)
{
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, path);
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    std::vector<DictionaryRow> rows;
    rows.reserve(size_t(rs->RecordCount()));
    if (rs->RecordCount() == 0)
        return rows;
    rs->MoveFirst();
    for (qint64 i = 0; i < rs->RecordCount(); ++i) {
        rows.push_back({ rs->Fields(DreamsTable::KeyColumn), rs->Fields(DreamsTable::LinkColumn),
                         rs->Fields(DreamsTable::NamesColumn) });
        rs->MoveNext();
    }
    return rows;
}

} // namespace DictionaryFile
