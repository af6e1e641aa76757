#include "DictionaryCache.h"
#include "TestDictionary.h"
#include "modDB.h"
#include "modDict.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <sqlite3.h>

#include <cstring>

namespace {

// An encrypted database made by hand: another password, or tables of our choosing.
void makeDatabase(const QString &path, const char *password, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    if (password)
        sqlite3_key(db, password, int(std::strlen(password)));
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QStringList keysIn(DictionaryCache &cache, const QString &path)
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

QString openFailure(DictionaryCache &cache, const QString &path)
{
    try {
        keysIn(cache, path);
    } catch (const DictionaryError &e) {
        return e.message();
    }
    return {};
}

void append(DictionaryCache &cache, const QString &path, const QString &key)
{
    modDB::ConnectionPtr connection;
    modDB::RecordsetPtr rs;
    modDB::OpenConnection(connection, cache, path);
    modDB::OpenRecordset(rs, connection, modDB::SelectAllDreams);
    rs->AddNew();
    rs->setField("Key", key);
    rs->Update();
}

// How many of this process's file descriptors refer to path; -1 where that cannot be told.
int descriptorsOn(const QString &path)
{
    if (!QFile::exists(QStringLiteral("/proc/self/fd")))
        return -1;
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    QDirIterator fds(QStringLiteral("/proc/self/fd"), QDir::Files | QDir::System);
    while (fds.hasNext()) {
        if (QFileInfo(fds.next()).symLinkTarget() == target)
            ++count;
    }
    return count;
}

} // namespace

class TestModDB : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cache = std::make_unique<DictionaryCache>(); }
    void cleanup() { m_cache.reset(); }

    void opensWithThePassword();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void columnsInAnyCase_data();
    void columnsInAnyCase();
    void missingColumnIsNamed();
    void rowsComeInTableOrder();
    void emptyTableHasNoRows();
    void appendedRowsAreCommitted();
    void failedWriteLeavesTheOldFile();
    void readsChangesMadeElsewhere_data();
    void readsChangesMadeElsewhere();
    void stripWildcards_data();
    void stripWildcards();
    void quoteIdentifier_data();
    void quoteIdentifier();
    void twoCachesAreIndependent();
    void closedCacheLetsGoOfItsFiles();
    void journalOfALiveWriterIsLeftAlone();
    void keysLowerCasedAsQtDoes_data();
    void keysLowerCasedAsQtDoes();

private:
    QStringList keysIn(const QString &path) { return ::keysIn(*m_cache, path); }
    QString openFailure(const QString &path) { return ::openFailure(*m_cache, path); }
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestModDB::opensWithThePassword()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Dog" }));
    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Dog" }));
}

void TestModDB::refusesBadFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    // Only the bytes speak: a wrong key, a damaged file and noise look alike to SQLCipher.
    QTest::newRow("another password")
        << "password"
        << "is not a dictionary file or is protected by another password";
    QTest::newRow("damaged dictionary")
        << "damaged"
        << "is not a dictionary file or is protected by another password";
    QTest::newRow("noise in whole pages")
        << "noise"
        << "is not a dictionary file or is protected by another password";
    QTest::newRow("text in whole pages") << "pagedText"
                                         << "is not a dictionary database.";
    QTest::newRow("text file") << "text"
                               << "is not a dictionary database";
    QTest::newRow("empty file") << "empty"
                                << "is empty";
    QTest::newRow("plain sqlite") << "plain"
                                  << "unprotected SQLite database";
    QTest::newRow("no dreams table") << "notable"
                                     << "has no table dreams";
    QTest::newRow("folder") << "folder"
                            << "is a folder";
}

void TestModDB::refusesBadFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    TestFolder folder;
    const QString path = folder.file("dream.dll");
    if (kind == "password") {
        makeDatabase(path, "not-the-password",
            "CREATE TABLE dreams (Key TEXT, Link TEXT, Names TEXT);"
            "INSERT INTO dreams VALUES ('Snake', 'x', 'astro');");
    } else if (kind == "damaged") {
        folder.writeDictionary(rowsOf({ "Snake" }));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(100));
        file.write(QByteArray(20, '\xff'));
    } else if (kind == "noise") {
        QRandomGenerator random(11);
        QByteArray noise(4096, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(noise);
    } else if (kind == "pagedText") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray line = "Key\tLink\tNames\nSnake\tqrc:/dreams/snake.html\tastro\n";
        for (int i = 0; i < 128; ++i)
            file.write(line.leftJustified(32, ' ', true));
        QCOMPARE(file.size(), 4096);
    } else if (kind == "text") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Key\tLink\tNames\nSnake\tx\tastro\n");
    } else if (kind == "empty") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == "plain") {
        makeDatabase(path, nullptr, "CREATE TABLE dreams (Key TEXT, Link TEXT, Names TEXT);");
    } else if (kind == "notable") {
        makeDatabase(path, modDB::DictionaryPassword, "CREATE TABLE words (Key TEXT);");
    } else if (kind == "folder") {
        QVERIFY(QDir(folder.path()).mkdir("dream.dll"));
    }
    const QString message = openFailure(path);
    QVERIFY2(message.contains(expected), qPrintable(message));
    QVERIFY2(message.contains(path), qPrintable(message));
}

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

void TestModDB::readsChangesMadeElsewhere_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("appended by another connection") << "other connection";
    QTest::newRow("appended by a row set here") << "row set";
    QTest::newRow("file replaced on disk") << "replaced";
    QTest::newRow("file replaced by one of another password") << "another password";
}

void TestModDB::readsChangesMadeElsewhere()
{
    QFETCH(QString, how);
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Moon" }));

    if (how == "other connection") {
        DictionaryCache elsewhere;
        modDB::Connection(elsewhere, folder.dictionary())
            .execute("INSERT INTO dreams VALUES ('Owl', 'x', 'astro')");
        QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Moon", "Owl" }));
    } else if (how == "row set") {
        append(*m_cache, folder.dictionary(), "Owl");
        QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Moon", "Owl" }));
    } else if (how == "replaced") {
        DictionaryFile::write(folder.dictionary(), rowsOf({ "Rain" }));
        QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Rain" }));
    } else {
        QFile::remove(folder.dictionary());
        makeDatabase(folder.dictionary(), "not-the-password",
            "CREATE TABLE dreams (Key TEXT, Link TEXT, Names TEXT);");
        QVERIFY(openFailure(folder.dictionary()).contains("another password"));
    }
}

void TestModDB::stripWildcards_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("single star") << "*"
                                 << "";
    QTest::newRow("letters and stars") << "*s*na*ke**"
                                       << "snake";
    QTest::newRow("question mark and spaces stay") << " a?b * "
                                                   << " a?b  ";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no star") << "Snake"
                             << "Snake";
}

void TestModDB::stripWildcards()
{
    QFETCH(QString, term);
    QFETCH(QString, stripped);
    QCOMPARE(modDict::StripWildcards(term), stripped);
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

void TestModDB::twoCachesAreIndependent()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    auto first = std::make_unique<DictionaryCache>();
    DictionaryCache second;
    QCOMPARE(::keysIn(*first, folder.dictionary()), QStringList({ "Snake", "Moon" }));
    QCOMPARE(::keysIn(second, folder.dictionary()), QStringList({ "Snake", "Moon" }));

    // A row appended through one is in the next read through the other, both ways.
    append(second, folder.dictionary(), "Owl");
    QCOMPARE(::keysIn(*first, folder.dictionary()), QStringList({ "Snake", "Moon", "Owl" }));
    append(*first, folder.dictionary(), "Rain");
    QCOMPARE(
        ::keysIn(second, folder.dictionary()), QStringList({ "Snake", "Moon", "Owl", "Rain" }));

    // A row set outlives its cache; the other cache goes on as before.
    const modDB::RecordsetPtr kept = modDB::openDreams(*first, folder.dictionary());
    first.reset();
    QCOMPARE(kept->RecordCount(), qint64(4));
    kept->MoveFirst();
    QCOMPARE(kept->Fields("Key"), QString("Snake"));
    append(second, folder.dictionary(), "Sun");
    QCOMPARE(::keysIn(second, folder.dictionary()),
        QStringList({ "Snake", "Moon", "Owl", "Rain", "Sun" }));
    QCOMPARE(second.fileCount(), 1);
}

void TestModDB::closedCacheLetsGoOfItsFiles()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    if (descriptorsOn(folder.dictionary()) < 0)
        QSKIP("this system does not list a process's open files in /proc/self/fd");
    QCOMPARE(descriptorsOn(folder.dictionary()), 0);
    {
        DictionaryCache cache;
        QCOMPARE(::keysIn(cache, folder.dictionary()), QStringList({ "Snake" }));
        QVERIFY(descriptorsOn(folder.dictionary()) > 0);
    }
    // Nothing of one test function is left open for the next.
    QCOMPARE(descriptorsOn(folder.dictionary()), 0);
}

// Opening a file takes away a journal that no writer owns; one that a writer is filling stays.
void TestModDB::journalOfALiveWriterIsLeftAlone()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    const QString journal = folder.dictionary() + "-journal";
    DictionaryCache elsewhere;
    modDB::Connection writer(elsewhere, folder.dictionary());
    writer.BeginTrans();
    writer.execute("INSERT INTO dreams (Key) VALUES ('Owl')");
    QVERIFY(QFile::exists(journal));

    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake" }));
    QVERIFY(QFile::exists(journal));
    writer.CommitTrans();
    QVERIFY(!QFile::exists(journal));
    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Owl" }));
}

void TestModDB::keysLowerCasedAsQtDoes_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("capital first") << "Snake";
    QTest::newRow("all capitals with a space") << "SNAKE BITE";
    QTest::newRow("capital last") << "snakE";
    QTest::newRow("already lower") << "snake";
    QTest::newRow("digits and signs") << "R2-D2 & C-3PO!";
    QTest::newRow("accented capital") << "Échelle";
    QTest::newRow("dotted capital I") << QString(QChar(0x130)) + "stanbul";
    QTest::newRow("ASCII, then beyond") << "SNAKE Ärger";
    QTest::newRow("sharp s") << "Straße";
    QTest::newRow("Greek") << "ΟΔΥΣΣΕΥΣ";
    QTest::newRow("empty") << "";
}

// Searches compare the lower-cased keys made as the rows are read: they must be what
// QString::toLower makes of each key.
void TestModDB::keysLowerCasedAsQtDoes()
{
    QFETCH(QString, key);
    TestFolder folder;
    folder.writeDictionary({ { key, "https://dreams.test/a.html", "astro" } });
    const modDB::RecordsetPtr rs = modDB::openDreams(*m_cache, folder.dictionary());
    rs->MoveFirst();
    QCOMPARE(rs->LowerFields("Key"), key.toLower());

    rs->AddNew();
    rs->setField("Key", key + "X");
    rs->Update();
    QCOMPARE(rs->LowerFields("Key"), (key + "X").toLower());

    // A row set that appends before its first search in any case.
    const modDB::RecordsetPtr appending = modDB::openDreams(*m_cache, folder.dictionary());
    appending->AddNew();
    appending->setField("Key", "Y" + key);
    appending->Update();
    QCOMPARE(appending->LowerFields("Key"), ("Y" + key).toLower());
    appending->MoveFirst();
    QCOMPARE(appending->LowerFields("Key"), key.toLower());
}

QTEST_GUILESS_MAIN(TestModDB)
#include "tst_moddb.moc"
