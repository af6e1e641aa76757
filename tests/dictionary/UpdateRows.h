// What the merge's suites share: rows to merge, and the file read or locked as another
// program would.
#pragma once

#include "DictionaryCache.h"
#include "DictionaryUpdate.h"
#include "DreamsTable.h"
#include "modDB.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>

#include <vector>

using Outcome = DictionaryUpdate::Outcome;
using Rows = std::vector<DictionaryRow>;

inline DictionaryRow row(
    const QString &key, const QString &link, const QString &names = DreamsTable::Marker)
{
    return { key, link, names };
}

// Rows whose links are "<prefix><index>", each key and link distinct.
inline Rows generated(const QString &prefix, int from, int count)
{
    Rows rows;
    rows.reserve(size_t(count));
    for (int i = from; i < from + count; ++i)
        rows.push_back(row(QStringLiteral("Key %1").arg(i), prefix + QString::number(i)));
    return rows;
}

inline Rows concat(Rows a, const Rows &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Runs statements on a file as another program would.
inline void execute(const QString &path, const char *sql)
{
    DictionaryCache elsewhere;
    try {
        modDB::Connection(elsewhere, path).execute(sql);
    } catch (const DictionaryError &e) {
        QFAIL(qPrintable(e.message()));
    }
}

// Gives the table of a file made by DictionaryFile::write the column names listed, spelt as
// another program might spell them.
inline void renameColumns(const QString &path, const QString &columns)
{
    const QStringList names = columns.split(' ');
    QCOMPARE(names.size(), 3);
    const QByteArray sql = QStringLiteral("CREATE TABLE t (%1 TEXT, %2 TEXT, %3 TEXT);"
                                          "INSERT INTO t SELECT Key, Link, Names FROM dreams;"
                                          "DROP TABLE dreams; ALTER TABLE t RENAME TO dreams;")
                               .arg(names[0], names[1], names[2])
                               .toUtf8();
    execute(path, sql.constData());
}

// The first value a statement gives, as another program would read it.
inline QString pragma(const QString &path, const QString &sql)
{
    DictionaryCache elsewhere;
    try {
        modDB::ConnectionPtr connection;
        modDB::RecordsetPtr rs;
        modDB::OpenConnection(connection, elsewhere, path);
        modDB::OpenRecordset(rs, connection, sql);
        rs->MoveFirst();
        return rs->Fields(0);
    } catch (const DictionaryError &e) {
        return e.message();
    }
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray sha256Of(const QString &path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
}

// Another program's connection holding the file's write lock while it lives.
class Writer
{
public:
    explicit Writer(const QString &path)
        : m_connection(m_elsewhere, path)
    {
        try {
            m_connection.execute("BEGIN EXCLUSIVE");
            m_locked = true;
        } catch (const DictionaryError &) { }
    }
    bool locked() const { return m_locked; }

private:
    DictionaryCache m_elsewhere;
    modDB::Connection m_connection;
    bool m_locked = false;
};

inline const Rows Shipped
    = { row("Snake", "qrc:/dreams/snake.html", "x"), row("Water", "qrc:/dreams/water.html", "") };
