// What the update's merge takes from an update file and what it refuses, and how it reads
// the columns of files made by other programs.
#include "BuildFolder.h"
#include "TestDictionary.h"
#include "UpdateRows.h"

#include <QtTest>

Q_DECLARE_METATYPE(Outcome)

class TestDictionaryUpdate : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        m_cache = std::make_unique<DictionaryCache>();
    }
    void cleanup()
    {
        m_cache.reset();
        m_folder.reset();
    }

    void merges_data();
    void merges();
    void columnNamesInAnyCase_data();
    void columnNamesInAnyCase();
    void unreadableUpdateIsNothing_data();
    void unreadableUpdateIsNothing();
    void mergesBeyondSixteenBitCounts();
    void refusesLinksNoPaneShows_data();
    void refusesLinksNoPaneShows();
    void shippedSampleIsAccepted();

private:
    QString updatePath() const { return m_folder->file("update.dat"); }
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestDictionaryUpdate::merges_data()
{
    QTest::addColumn<Rows>("dictionary");
    QTest::addColumn<Rows>("update");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<Rows>("expected");

    const DictionaryRow snake = Shipped[0], water = Shipped[1];
    const DictionaryRow moon = row("Moon", "qrc:/dreams/moon.html");
    const DictionaryRow sun = row("Sun", "qrc:/dreams/sun.html");

    QTest::newRow("new rows appended in file order")
        << Shipped << Rows { sun, moon } << Outcome::Merged << Rows { snake, water, sun, moon };
    QTest::newRow("all duplicates append nothing")
        << Shipped << Rows { row("Snake", snake.link), row("Water", water.link) } << Outcome::Merged
        << Shipped;
    QTest::newRow("new key with known link skipped")
        << Shipped << Rows { row("Serpent", snake.link) } << Outcome::Merged << Shipped;
    QTest::newRow("known key with new link appended")
        << Shipped << Rows { row("Snake", "qrc:/dreams/snake-2.html") } << Outcome::Merged
        << Rows { snake, water, row("Snake", "qrc:/dreams/snake-2.html") };
    QTest::newRow("link compared with its case")
        << Shipped << Rows { row("Snake", "qrc:/dreams/SNAKE.html") } << Outcome::Merged
        << Rows { snake, water, row("Snake", "qrc:/dreams/SNAKE.html") };
    QTest::newRow("same new link twice appended once")
        << Shipped << Rows { sun, row("Sol", sun.link), moon } << Outcome::Merged
        << Rows { snake, water, sun, moon };
    QTest::newRow("empty dictionary")
        << Rows {} << Rows { moon } << Outcome::Merged << Rows { moon };
    QTest::newRow("empty update") << Shipped << Rows {} << Outcome::NothingToUpdate << Shipped;
    QTest::newRow("marker in other case")
        << Shipped << Rows { row("Sun", sun.link, "Astro") } << Outcome::WrongFile << Shipped;
    QTest::newRow("third row unmarked")
        << Shipped << Rows { sun, moon, row("Star", "qrc:/dreams/star.html", "") }
        << Outcome::WrongFile << Shipped;
    QTest::newRow("last row unmarked") << Shipped
                                       << concat(generated("https://dreams.test/n/", 0, 50),
                                              { row("Z", "https://dreams.test/z", "astro ") })
                                       << Outcome::WrongFile << Shipped;
}

void TestDictionaryUpdate::merges()
{
    QFETCH(Rows, dictionary);
    QFETCH(Rows, update);
    QFETCH(Outcome, outcome);
    QFETCH(Rows, expected);
    m_folder->writeDictionary(dictionary);
    DictionaryFile::write(updatePath(), update);

    const auto result = DictionaryUpdate(*m_cache, updatePath(), m_folder->dictionary()).run();

    QCOMPARE(result.outcome, outcome);
    QVERIFY(result.error.isEmpty());
    QCOMPARE(DictionaryFile::read(m_folder->dictionary()), expected);
    if (outcome == Outcome::Merged)
        QCOMPARE(result.appended + result.duplicates, qint64(update.size()));
    QCOMPARE(result.appended, qint64(expected.size() - dictionary.size()));
}

void TestDictionaryUpdate::columnNamesInAnyCase_data()
{
    // Column names as the file spells them, in the order Key, Link, Names.
    QTest::addColumn<QString>("dictionaryColumns");
    QTest::addColumn<QString>("updateColumns");
    QTest::addColumn<Rows>("update");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<Rows>("expected");

    const DictionaryRow sun = row("Sun", "qrc:/dreams/sun.html");
    const Rows update = { sun, row("Serpent", Shipped[0].link) };
    const Rows merged = concat(Shipped, { sun });
    QTest::newRow("update in lower case")
        << "Key Link Names"
        << "key link names" << update << Outcome::Merged << merged;
    QTest::newRow("dictionary in upper case")
        << "KEY LINK NAMES"
        << "Key Link Names" << update << Outcome::Merged << merged;
    QTest::newRow("both in mixed case") << "kEY LiNk nAMES"
                                        << "KEY link NaMeS" << update << Outcome::Merged << merged;
    QTest::newRow("unmarked row under a lower-case column")
        << "Key Link Names"
        << "key link names" << Rows { sun, row("Moon", "qrc:/dreams/moon.html", "Astro") }
        << Outcome::WrongFile << Shipped;
}

void TestDictionaryUpdate::columnNamesInAnyCase()
{
    QFETCH(QString, dictionaryColumns);
    QFETCH(QString, updateColumns);
    QFETCH(Rows, update);
    QFETCH(Outcome, outcome);
    QFETCH(Rows, expected);
    m_folder->writeDictionary(Shipped);
    renameColumns(m_folder->dictionary(), dictionaryColumns);
    DictionaryFile::write(updatePath(), update);
    renameColumns(updatePath(), updateColumns);

    const auto result = DictionaryUpdate(*m_cache, updatePath(), m_folder->dictionary()).run();

    QCOMPARE(result.outcome, outcome);
    Rows after;
    try {
        after = DictionaryFile::read(m_folder->dictionary());
    } catch (const DictionaryError &e) {
        QFAIL(qPrintable(e.message()));
    }
    QCOMPARE(after, expected);
}

void TestDictionaryUpdate::unreadableUpdateIsNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("missing path") << "missing" << Outcome::NothingToUpdate;
    QTest::newRow("a folder") << "folder" << Outcome::NothingToUpdate;
    QTest::newRow("not a database") << "text" << Outcome::NothingToUpdate;
    QTest::newRow("another password") << "password" << Outcome::NothingToUpdate;
    QTest::newRow("no dreams table") << "noTable" << Outcome::NothingToUpdate;
    QTest::newRow("no Names column") << "noNames" << Outcome::WrongFile;
    QTest::newRow("no Link column") << "noLink" << Outcome::WrongFile;
}

void TestDictionaryUpdate::unreadableUpdateIsNothing()
{
    QFETCH(QString, kind);
    QFETCH(Outcome, outcome);
    m_folder->writeDictionary(Shipped);
    const QString path = updatePath();
    const Rows fresh = { row("Sun", "qrc:/dreams/sun.html") };
    if (kind == "folder") {
        QVERIFY(QDir(m_folder->path()).mkdir("update.dat"));
    } else if (kind == "text") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (kind != "missing") {
        DictionaryFile::write(path, fresh);
        if (kind == "password")
            execute(path, "PRAGMA rekey = 'another password';");
        else if (kind == "noTable")
            execute(path, "ALTER TABLE dreams RENAME TO nightmares;");
        else if (kind == "noNames")
            execute(path,
                "CREATE TABLE t (Key TEXT, Link TEXT); INSERT INTO t SELECT Key, Link "
                "FROM dreams; DROP TABLE dreams; ALTER TABLE t RENAME TO dreams;");
        else if (kind == "noLink")
            execute(path,
                "CREATE TABLE t (Key TEXT, Names TEXT); INSERT INTO t SELECT Key, "
                "Names FROM dreams; DROP TABLE dreams; ALTER TABLE t RENAME TO dreams;");
    }

    const auto result = DictionaryUpdate(*m_cache, path, m_folder->dictionary()).run();

    QCOMPARE(result.outcome, outcome);
    QCOMPARE(DictionaryFile::read(m_folder->dictionary()), Shipped);
}

void TestDictionaryUpdate::mergesBeyondSixteenBitCounts()
{
    // Both files hold more rows than a 16-bit counter reaches; half the update is known.
    const Rows dictionary = generated("https://dreams.test/d/", 0, 40000);
    const Rows update = concat(generated("https://dreams.test/d/", 20000, 20000),
        generated("https://dreams.test/u/", 0, 20000));
    m_folder->writeDictionary(dictionary);
    DictionaryFile::write(updatePath(), update);

    const auto result = DictionaryUpdate(*m_cache, updatePath(), m_folder->dictionary()).run();

    QCOMPARE(result.outcome, Outcome::Merged);
    QCOMPARE(result.updateRows, 40000);
    QCOMPARE(result.appended, 20000);
    QCOMPARE(result.duplicates, 20000);
    QCOMPARE(DictionaryFile::read(m_folder->dictionary()),
        concat(dictionary, generated("https://dreams.test/u/", 0, 20000)));
}

void TestDictionaryUpdate::refusesLinksNoPaneShows_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("refused");
    QTest::newRow("https page") << "https://dreams.test/moon.html" << false;
    QTest::newRow("http page") << "http://dreams.test/moon.html" << false;
    QTest::newRow("blank page") << "about:blank" << false;
    QTest::newRow("bundled page") << "qrc:/dreams/moon.html" << false;
    QTest::newRow("local file") << "file:///etc/passwd" << true;
    QTest::newRow("inline document") << "data:text/html,hello" << true;
    QTest::newRow("page source") << "view-source:https://dreams.test/" << true;
    QTest::newRow("browser internals") << "chrome://settings" << true;
    QTest::newRow("script") << "javascript:alert(1)" << true;
    QTest::newRow("bundled icon") << "qrc:/icons/home.svg" << true;
    QTest::newRow("climbing out of the pages") << "qrc:/dreams/../icons/home.svg" << true;
    QTest::newRow("other about page") << "about:srcdoc" << true;
    QTest::newRow("relative link") << "moon.html" << true;
    QTest::newRow("host without scheme") << "www.dreams.test/moon.html" << true;
    QTest::newRow("empty link") << "" << true;
    QTest::newRow("very long link") << "file:///" + QString(5000, 'a') << true;
}

// The whole file is refused at the first such row, which the message names; nothing is merged.
void TestDictionaryUpdate::refusesLinksNoPaneShows()
{
    QFETCH(QString, link);
    QFETCH(bool, refused);
    m_folder->writeDictionary(Shipped);
    const DictionaryRow sun = row("Sun", "https://dreams.test/sun.html");
    const DictionaryRow star = row("Star", "https://dreams.test/star.html");
    DictionaryFile::write(updatePath(), { sun, row("Moon", link), star, row("Mars", link) });

    const auto result = DictionaryUpdate(*m_cache, updatePath(), m_folder->dictionary()).run();

    if (!refused) {
        QCOMPARE(result.outcome, Outcome::Merged);
        QCOMPARE(DictionaryFile::read(m_folder->dictionary()),
            concat(Shipped, { sun, row("Moon", link), star }));
        return;
    }
    QCOMPARE(result.outcome, Outcome::WrongFile);
    QVERIFY2(result.refusedRow.startsWith("Row 2 (\"Moon\")"), qPrintable(result.refusedRow));
    QVERIFY2(result.refusedRow.contains(link.left(40)), qPrintable(result.refusedRow));
    QVERIFY2(result.refusedRow.size() < 300, qPrintable(result.refusedRow));
    QCOMPARE(result.appended, 0);
    QCOMPARE(DictionaryFile::read(m_folder->dictionary()), Shipped);
}

void TestDictionaryUpdate::shippedSampleIsAccepted()
{
    const QString build = buildFolderHolding(QStringLiteral("update-sample.dll"));
    const QString sample = build + QStringLiteral("/update-sample.dll");
    if (build.isEmpty() || !QFile::exists(sample))
        QSKIP("the build has not made update-sample.dll");
    QVERIFY(QFile::copy(build + QStringLiteral("/dream.dll"), m_folder->dictionary()));
    const qint64 shipped = qint64(DictionaryFile::read(m_folder->dictionary()).size());
    const qint64 offered = qint64(DictionaryFile::read(sample).size());

    const auto result = DictionaryUpdate(*m_cache, sample, m_folder->dictionary()).run();

    QCOMPARE(result.outcome, Outcome::Merged);
    QCOMPARE(result.appended, offered);
    QCOMPARE(qint64(DictionaryFile::read(m_folder->dictionary()).size()), shipped + offered);
}

QTEST_GUILESS_MAIN(TestDictionaryUpdate)
#include "tst_dictionaryupdate.moc"
