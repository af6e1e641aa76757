// The connection and row set the program speaks: columns by name, rows in table order, rows
// appended and committed.
#include "DictionaryAccess.h"
#include "DictionaryCache.h"
#include "TestDictionary.h"
#include "modDB.h"

#include <QFile>
#include <QtTest>
#include <sqlite3.h>

#include <cstring>

using namespace DictionaryAccess;

class TestModDB : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cache = std::make_unique<DictionaryCache>(); }
    void cleanup() { m_cache.reset(); }

    void columnsInAnyCase_data();
    void columnsInAnyCase();
    void missingColumnIsNamed();
    void rowsComeInTableOrder();
    void emptyTableHasNoRows();
    void appendedRowsAreCommitted();
    void failedWriteLeavesTheOldFile();
    void quoteIdentifier_data();
    void quoteIdentifier();

private:
    QStringList keysIn(const QString &path) { return DictionaryAccess::keysIn(*m_cache, path); }
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestModDB::columnsInAnyCase_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("found");
    QTest::newRow("lower-case table") << "key TEXT, link TEXT, names TEXT"
                                      << "Key" << true;
    QTest::newRow("upper-case table") << "KEY TEXT, LINK TEXT, NAMES TEXT"
                                      << "Link" << true;
    QTest::newRow("asked in upper case") << "Key TEXT, Link TEXT, Names TEXT"
                                         << "NAMES" << true;
    QTest::newRow("quoted mixed case") << "\"kEy\" TEXT, Link TEXT, Names TEXT"
                                       << "Key" << true;
    QTest::newRow("other letters keep their case")
        << "Key TEXT, Link TEXT, Names TEXT, \"Ärger\" TEXT"
        << "äRGER" << false;
    QTest::newRow("other letters as stored") << "Key TEXT, Link TEXT, Names TEXT, \"Ärger\" TEXT"
                                             << "ÄRGER" << true;
    QTest::newRow("no such column") << "Key TEXT, Link TEXT, Names TEXT"
                                    << "Keys" << false;
}

void TestModDB::columnsInAnyCase()
{
    QFETCH(QString, table);
    QFETCH(QString, asked);
    QFETCH(bool, found);
    TestFolder folder;
    const QByteArray sql = QStringLiteral("CREATE TABLE dreams (%1);"
                                          "INSERT INTO dreams (Key, Link, Names) "
                                          "VALUES ('Snake', 'qrc:/dreams/snake.html', 'astro');")
                               .arg(table)
                               .toUtf8();
    makeDatabase(folder.dictionary(), modDB::DictionaryPassword, sql.constData());

    // SQLite's own answer, which the row set follows.
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(folder.dictionary()).constData(), &db), SQLITE_OK);
    sqlite3_key(db, modDB::DictionaryPassword, int(std::strlen(modDB::DictionaryPassword)));
    // Brackets, not double quotes: SQLite takes an unknown double-quoted name for a text.
    const QByteArray select = ("SELECT [" + asked + "] FROM dreams").toUtf8();
    const bool sqliteFinds
        = sqlite3_prepare_v2(db, select.constData(), -1, &stmt, nullptr) == SQLITE_OK;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    QCOMPARE(sqliteFinds, found);

    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, *m_cache, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    QCOMPARE(rs->hasColumn(asked), found);
    rs->MoveFirst();
    if (!found) {
        QVERIFY_THROWS_EXCEPTION(DictionaryError, rs->Fields(asked));
        return;
    }
    QCOMPARE(rs->Fields("key"), QString("Snake"));
    QCOMPARE(rs->Fields("LINK"), QString("qrc:/dreams/snake.html"));
    QCOMPARE(rs->Fields("Names"), QString("astro"));

    // A row appended by the program's spelling lands in the file's columns.
    rs->AddNew();
    rs->setField("Names", "astro");
    rs->setField("Key", "Moon");
    rs->setField("Link", "qrc:/dreams/moon.html");
    rs->Update();
    const auto rows = DictionaryFile::read(folder.dictionary());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1], (DictionaryRow { "Moon", "qrc:/dreams/moon.html", "astro" }));
}

void TestModDB::missingColumnIsNamed()
{
    TestFolder folder;
    makeDatabase(folder.dictionary(), modDB::DictionaryPassword,
        "CREATE TABLE dreams (Key TEXT, Link TEXT);"
        "INSERT INTO dreams VALUES ('Snake', 'x');");
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, *m_cache, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->MoveFirst();
    QCOMPARE(rs->Fields("Key"), QString("Snake"));
    try {
        rs->Fields("Names");
        QFAIL("reading a missing column must fail");
    } catch (const DictionaryError &e) {
        QVERIFY2(e.message().contains("no column Names"), qPrintable(e.message()));
        QVERIFY(e.message().contains(folder.dictionary()));
    }
}

void TestModDB::rowsComeInTableOrder()
{
    TestFolder folder;
    // Not alphabetical, and one key twice: both come back, in the order they were stored.
    folder.writeDictionary(rowsOf({ "Zebra", "apple", "Snake", "Moon", "Snake" }));
    QCOMPARE(
        keysIn(folder.dictionary()), QStringList({ "Zebra", "apple", "Snake", "Moon", "Snake" }));
}

void TestModDB::emptyTableHasNoRows()
{
    TestFolder folder;
    folder.writeDictionary({});
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, *m_cache, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    QCOMPARE(rs->RecordCount(), qint64(0));
    QVERIFY_THROWS_EXCEPTION(DictionaryError, rs->MoveFirst());
}

void TestModDB::appendedRowsAreCommitted()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, *m_cache, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->AddNew();
    rs->setField("Names", "astro");
    rs->setField("Key", "Ruby \"red\" 'stone'");
    rs->setField("Link", "qrc:/dreams/ruby.html");
    rs->Update();
    QCOMPARE(rs->RecordCount(), qint64(2));
    QCOMPARE(rs->Fields("Key"), QString("Ruby \"red\" 'stone'"));

    const auto rows = DictionaryFile::read(folder.dictionary());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1].key, QString("Ruby \"red\" 'stone'"));
    QCOMPARE(rows[1].link, QString("qrc:/dreams/ruby.html"));
    QCOMPARE(rows[1].names, QString("astro"));
}

void TestModDB::failedWriteLeavesTheOldFile()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    // A destination in a folder that does not exist cannot be written.
    QVERIFY_THROWS_EXCEPTION(DictionaryError,
        DictionaryFile::write(folder.file("missing/dream.dll"), rowsOf({ "Dog" })));
    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake" }));
    QCOMPARE(
        QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({ "dream.dll" }));
}

void TestModDB::quoteIdentifier_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "Link"
                           << "\"Link\"";
    QTest::newRow("double quote inside") << "Sn\"ake"
                                         << "\"Sn\"\"ake\"";
    QTest::newRow("only double quotes") << "\"\""
                                        << "\"\"\"\"\"\"";
    QTest::newRow("single quote") << "it's"
                                  << "\"it's\"";
    QTest::newRow("spaces and a keyword") << "select from"
                                          << "\"select from\"";
    QTest::newRow("square brackets") << "[Key]"
                                     << "\"[Key]\"";
    QTest::newRow("statement smuggled in") << "x\"); DROP TABLE dreams; --"
                                           << "\"x\"\"); DROP TABLE dreams; --\"";
    QTest::newRow("letters beyond ASCII") << "Ärger"
                                          << "\"Ärger\"";
}

void TestModDB::quoteIdentifier()
{
    QFETCH(QString, name);
    QFETCH(QString, quoted);
    QCOMPARE(modDB::quoteIdentifier(name), quoted);

    // A column of that name takes a row appended by name, and the table survives whatever the
    // name holds.
    TestFolder folder;
    const QByteArray sql
        = QStringLiteral("CREATE TABLE dreams (Key TEXT, %1 TEXT);").arg(quoted).toUtf8();
    makeDatabase(folder.dictionary(), modDB::DictionaryPassword, sql.constData());
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, *m_cache, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->AddNew();
    rs->setField("Key", "Snake");
    rs->setField(name, "scaled");
    rs->Update();

    DictionaryCache elsewhere;
    modDB::OpenConnection(connection, elsewhere, folder.dictionary());
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    QCOMPARE(rs->RecordCount(), qint64(1));
    rs->MoveFirst();
    QCOMPARE(rs->Fields("Key"), QString("Snake"));
    QCOMPARE(rs->Fields(1), QString("scaled"));
}

QTEST_GUILESS_MAIN(TestModDB)
#include "tst_moddb.moc"
