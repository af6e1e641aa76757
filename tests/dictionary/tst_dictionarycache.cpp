// The files a run keeps open, and the rows it keeps of them: read again after any change,
// independent per cache, let go with the cache.
#include "DictionaryAccess.h"
#include "DictionaryCache.h"
#include "LoweredColumn.h"
#include "TableSnapshot.h"
#include "TestDictionary.h"
#include "modDB.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

using namespace DictionaryAccess;

namespace {

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

class TestDictionaryCache : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cache = std::make_unique<DictionaryCache>(); }
    void cleanup() { m_cache.reset(); }

    void readsChangesMadeElsewhere_data();
    void readsChangesMadeElsewhere();
    void twoCachesAreIndependent();
    void closedCacheLetsGoOfItsFiles();
    void journalOfALiveWriterIsLeftAlone();
    void refinedRowsServeLaterReaders();

private:
    QStringList keysIn(const QString &path) { return DictionaryAccess::keysIn(*m_cache, path); }
    QString openFailure(const QString &path)
    {
        return DictionaryAccess::openFailure(*m_cache, path);
    }
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestDictionaryCache::readsChangesMadeElsewhere_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("appended by another connection") << "other connection";
    QTest::newRow("appended by a row set here") << "row set";
    QTest::newRow("file replaced on disk") << "replaced";
    QTest::newRow("file replaced by one of another password") << "another password";
}

void TestDictionaryCache::readsChangesMadeElsewhere()
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

void TestDictionaryCache::twoCachesAreIndependent()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    auto first = std::make_unique<DictionaryCache>();
    DictionaryCache second;
    QCOMPARE(
        DictionaryAccess::keysIn(*first, folder.dictionary()), QStringList({ "Snake", "Moon" }));
    QCOMPARE(
        DictionaryAccess::keysIn(second, folder.dictionary()), QStringList({ "Snake", "Moon" }));

    // A row appended through one is in the next read through the other, both ways.
    append(second, folder.dictionary(), "Owl");
    QCOMPARE(DictionaryAccess::keysIn(*first, folder.dictionary()),
        QStringList({ "Snake", "Moon", "Owl" }));
    append(*first, folder.dictionary(), "Rain");
    QCOMPARE(DictionaryAccess::keysIn(second, folder.dictionary()),
        QStringList({ "Snake", "Moon", "Owl", "Rain" }));

    // A row set outlives its cache; the other cache goes on as before.
    const modDB::RecordsetPtr kept = modDB::openDreams(*first, folder.dictionary());
    first.reset();
    QCOMPARE(kept->RecordCount(), qint64(4));
    kept->MoveFirst();
    QCOMPARE(kept->Fields("Key"), QString("Snake"));
    append(second, folder.dictionary(), "Sun");
    QCOMPARE(DictionaryAccess::keysIn(second, folder.dictionary()),
        QStringList({ "Snake", "Moon", "Owl", "Rain", "Sun" }));
    QCOMPARE(second.fileCount(), 1);
}

void TestDictionaryCache::closedCacheLetsGoOfItsFiles()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    if (descriptorsOn(folder.dictionary()) < 0)
        QSKIP("this system does not list a process's open files in /proc/self/fd");
    QCOMPARE(descriptorsOn(folder.dictionary()), 0);
    {
        DictionaryCache cache;
        QCOMPARE(DictionaryAccess::keysIn(cache, folder.dictionary()), QStringList({ "Snake" }));
        QVERIFY(descriptorsOn(folder.dictionary()) > 0);
    }
    // Nothing of one test function is left open for the next.
    QCOMPARE(descriptorsOn(folder.dictionary()), 0);
}

// Opening a file takes away a journal that no writer owns; one that a writer is filling stays.
void TestDictionaryCache::journalOfALiveWriterIsLeftAlone()
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

// Strings and lowered copies are made once for every reader of the unchanged file; once the
// file changes, the next reader reads it again and a refinement of the old rows is let go.
void TestDictionaryCache::refinedRowsServeLaterReaders()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    DictionaryCache cache;
    const std::shared_ptr<CipherFile> file = cache.open(folder.dictionary());
    const DreamsRows first = cache.rows(*file, DreamsTable::SelectAllDreams, DreamsTable::Table);
    const int key = first->indexOf(DreamsTable::KeyColumn);
    QVERIFY(!first->lowered(key));

    const DreamsRows refined
        = cache.refined(*file, DreamsTable::SelectAllDreams, first, first->withLowered(key));
    const DreamsRows later = dreamsIn(cache, folder.dictionary());
    QCOMPARE(later, refined);
    QCOMPARE(later->lowered(key)->at(1).toString(), QString("moon"));

    append(cache, folder.dictionary(), "Owl");
    const DreamsRows afterWrite = dreamsIn(cache, folder.dictionary());
    QVERIFY(afterWrite != refined);
    QCOMPARE(afterWrite->rowCount(), qint64(3));
    QVERIFY(!afterWrite->lowered(key));

    // A reader still holding the old rows refines them for itself alone.
    const DreamsRows stale = cache.refined(*cache.open(folder.dictionary()),
        DreamsTable::SelectAllDreams, refined, refined->withStrings(key));
    QCOMPARE(stale->rowCount(), qint64(2));
    QCOMPARE(dreamsIn(cache, folder.dictionary()), afterWrite);
}

QTEST_GUILESS_MAIN(TestDictionaryCache)
#include "tst_dictionarycache.moc"
