#include "BuildFolder.h"
#include "DictionaryCache.h"
#include "DictionaryUpdate.h"
#include "DreamsTable.h"
#include "ShimVfs.h"
#include "SmallDisk.h"
#include "TestDictionary.h"
#include "modDB.h"

#include <QCryptographicHash>

#include <QFile>
#include <QProcess>
#include <QtTest>

using Outcome = DictionaryUpdate::Outcome;
using Rows = std::vector<DictionaryRow>;
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(ShimVfs::File)

namespace {

DictionaryRow row(
    const QString &key, const QString &link, const QString &names = DreamsTable::Marker)
{
    return { key, link, names };
}

// Rows whose links are "<prefix><index>", each key and link distinct.
Rows generated(const QString &prefix, int from, int count)
{
    Rows rows;
    rows.reserve(size_t(count));
    for (int i = from; i < from + count; ++i)
        rows.push_back(row(QStringLiteral("Key %1").arg(i), prefix + QString::number(i)));
    return rows;
}

Rows concat(Rows a, const Rows &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Runs statements on a file as another program would.
void execute(const QString &path, const char *sql)
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
void renameColumns(const QString &path, const QString &columns)
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
QString pragma(const QString &path, const QString &sql)
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

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray sha256Of(const QString &path)
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

const Rows Shipped
    = { row("Snake", "qrc:/dreams/snake.html", "x"), row("Water", "qrc:/dreams/water.html", "") };

} // namespace

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
    void dictionaryThatCannotBeWrittenIsUnchanged_data();
    void dictionaryThatCannotBeWrittenIsUnchanged();
    void mergesBeyondSixteenBitCounts();
    void killedMergeLeavesAllOrNone_data();
    void killedMergeLeavesAllOrNone();
    void refusesLinksNoPaneShows_data();
    void refusesLinksNoPaneShows();
    void fullDiskLeavesTheFileAsItWas_data();
    void fullDiskLeavesTheFileAsItWas();
    void ioErrorLeavesTheFileAsItWas_data();
    void ioErrorLeavesTheFileAsItWas();
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

void TestDictionaryUpdate::dictionaryThatCannotBeWrittenIsUnchanged_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    QTest::newRow("not a database") << "text"
                                    << "not a dictionary database";
    QTest::newRow("locked by another writer") << "locked"
                                              << "is locked by another program";
    QTest::newRow("third append refused") << "trigger"
                                          << "refused";
    QTest::newRow("failure after some appends") << "hook"
                                                << "disk full";
}

void TestDictionaryUpdate::dictionaryThatCannotBeWrittenIsUnchanged()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = m_folder->dictionary();
    DictionaryFile::write(updatePath(), generated("https://dreams.test/new/", 0, 10));
    if (kind == "text") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a dictionary");
    } else if (kind != "missing") {
        m_folder->writeDictionary(Shipped);
    }
    if (kind == "trigger")
        execute(path,
            "CREATE TRIGGER refuse BEFORE INSERT ON dreams WHEN NEW.Link = "
            "'https://dreams.test/new/2' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    std::unique_ptr<Writer> writer;
    if (kind == "locked") {
        writer = std::make_unique<Writer>(path);
        QVERIFY(writer->locked());
    }
    DictionaryUpdate update(*m_cache, updatePath(), path);
    if (kind == "hook")
        update.setAppendHook([](qint64 appended) {
            if (appended == 5)
                throw std::runtime_error("disk full");
        });

    const auto before = QFile::exists(path) ? QFile(path).size() : -1;
    const auto result = update.run();
    writer.reset();

    QCOMPARE(result.outcome, Outcome::Failed);
    QVERIFY2(result.error.contains(path), qPrintable(result.error));
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QCOMPARE(result.appended, 0);
    if (kind == "missing") {
        QVERIFY(!QFile::exists(path));
    } else if (kind == "text") {
        QCOMPARE(QFile(path).size(), before);
    } else {
        QCOMPARE(DictionaryFile::read(path), Shipped);
    }
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

void TestDictionaryUpdate::killedMergeLeavesAllOrNone_data()
{
    // Where the child pauses (see update_child), what is on disk then, and whether it is killed
    // there or let go on.
    QTest::addColumn<QString>("pauseAt");
    QTest::addColumn<bool>("kill");
    QTest::addColumn<bool>("journalAtPause");
    QTest::addColumn<bool>("dictionaryWrittenAtPause");
    QTest::addColumn<QString>("expect"); // none, all

    QTest::newRow("at the first appended row") << "append:1" << true << true << false << "none";
    QTest::newRow("half-way") << "append:10000" << true << true << false << "none";
    QTest::newRow("at the last appended row") << "append:20000" << true << true << false << "none";
    QTest::newRow("committing, journal written") << "write:1" << true << true << false << "none";
    QTest::newRow("committing, first page written") << "write:2" << true << true << true << "none";
    QTest::newRow("committing, a hundred pages written")
        << "write:101" << true << true << true << "none";
    QTest::newRow("committing, dictionary written, journal kept")
        << "unlink" << true << true << true << "none";
    QTest::newRow("committing, journal deleted") << "unlinked" << true << false << true << "all";
    QTest::newRow("paused half-way, then let go")
        << "append:10000" << false << true << false << "all";
    QTest::newRow("left to finish") << "never" << false << false << true << "all";
}

void TestDictionaryUpdate::killedMergeLeavesAllOrNone()
{
    QFETCH(QString, pauseAt);
    QFETCH(bool, kill);
    QFETCH(bool, journalAtPause);
    QFETCH(bool, dictionaryWrittenAtPause);
    QFETCH(QString, expect);
    const Rows dictionary = generated("https://dreams.test/d/", 0, 2000);
    const Rows fresh = generated("https://dreams.test/u/", 0, 20000);
    const QString path = m_folder->dictionary();
    const QString journal = path + "-journal";
    m_folder->writeDictionary(dictionary);
    DictionaryFile::write(updatePath(), concat(dictionary, fresh));
    const QByteArray before = fileBytes(path);

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(UPDATE_CHILD, { updatePath(), path, pauseAt });
    QVERIFY(child.waitForStarted());
    if (pauseAt != "never") {
        // The child blocks at the pause until told; nothing here depends on how long it takes.
        while (!child.canReadLine())
            QVERIFY2(child.waitForReadyRead(60000), "the child never reached its pause");
        QCOMPARE(child.readLine().trimmed(), QByteArray("PAUSED"));
        QCOMPARE(QFile::exists(journal), journalAtPause);
        QCOMPARE(fileBytes(path) != before, dictionaryWrittenAtPause);
        if (kill) {
            child.kill();
        } else {
            child.write("go\n");
            QVERIFY(child.waitForBytesWritten(60000));
        }
    }
    QVERIFY(child.waitForFinished(60000));
    if (kill) {
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    } else {
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.readAll().trimmed(), QByteArray("MERGED 20000"));
        QVERIFY(!QFile::exists(journal));
    }

    // The next open resolves the journal, whatever stage the child was stopped at.
    try {
        DictionaryCache next;
        next.open(path);
    } catch (const DictionaryError &e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY(!QFile::exists(journal));
    QCOMPARE(pragma(path, "PRAGMA integrity_check"), QString("ok"));
    const Rows after = DictionaryFile::read(path);
    QCOMPARE(after.size(), expect == "none" ? dictionary.size() : dictionary.size() + fresh.size());
    QCOMPARE(after, expect == "none" ? dictionary : concat(dictionary, fresh));
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

void TestDictionaryUpdate::fullDiskLeavesTheFileAsItWas_data()
{
    // How much room the small disk has left once the dictionary is on it.
    QTest::addColumn<qint64>("room");
    QTest::newRow("room for the journal, not the rows") << qint64(-1);
    QTest::newRow("no room for the journal") << qint64(0);
}

void TestDictionaryUpdate::fullDiskLeavesTheFileAsItWas()
{
    QFETCH(qint64, room);
    SmallDisk disk(QStringLiteral("3m"));
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("a 3 MB tmpfs folder could not be mounted (this needs "
                                        "root or the right to mount): %1")
                             .arg(disk.error())));
    m_folder->writeDictionary(generated("https://dreams.test/d/", 0, 500));
    const QString path = disk.file("dream.dll");
    QVERIFY(QFile::copy(m_folder->dictionary(), path));
    DictionaryFile::write(updatePath(), generated("https://dreams.test/u/", 0, 100000));
    if (room >= 0)
        QVERIFY(disk.fillLeaving(room));
    const QByteArray before = sha256Of(path);
    const Rows rows = DictionaryFile::read(path);

    DictionaryCache cache;
    const auto result = DictionaryUpdate(cache, updatePath(), path).run();

    QCOMPARE(result.outcome, Outcome::Failed);
    QVERIFY2(result.error.contains(path), qPrintable(result.error));
    QCOMPARE(sha256Of(path), before);
    QVERIFY(!QFile::exists(path + "-journal"));
    QCOMPARE(DictionaryFile::read(path), rows);
}

void TestDictionaryUpdate::ioErrorLeavesTheFileAsItWas_data()
{
    // The nth write to that file fails, as a failing disk would make it.
    QTest::addColumn<ShimVfs::File>("file");
    QTest::addColumn<int>("nth");
    QTest::addColumn<bool>("bytesKept");
    QTest::newRow("first journal write") << ShimVfs::File::Journal << 1 << true;
    QTest::newRow("tenth journal write") << ShimVfs::File::Journal << 10 << true;
    // From the first page on, the journal puts the content back, each page encrypted anew.
    QTest::newRow("first dictionary write") << ShimVfs::File::Database << 1 << false;
    QTest::newRow("tenth dictionary write") << ShimVfs::File::Database << 10 << false;
    QTest::newRow("hundredth dictionary write") << ShimVfs::File::Database << 100 << false;
}

void TestDictionaryUpdate::ioErrorLeavesTheFileAsItWas()
{
    QFETCH(ShimVfs::File, file);
    QFETCH(int, nth);
    QFETCH(bool, bytesKept);
    const Rows dictionary = generated("https://dreams.test/d/", 0, 2000);
    const QString path = m_folder->dictionary();
    m_folder->writeDictionary(dictionary);
    // More new pages than SQLite keeps in memory by default: a writer that lets them spill
    // writes the dictionary before its commit.
    DictionaryFile::write(updatePath(), generated("https://dreams.test/u/", 0, 40000));
    const QByteArray before = sha256Of(path);

    {
        ShimVfs shim;
        QVERIFY(shim.registered());
        int writes = 0;
        bool failed = false;
        shim.beforeWrite = [&](ShimVfs::File written) {
            if (written != file || failed || ++writes < nth)
                return SQLITE_OK;
            failed = true;
            return SQLITE_IOERR_WRITE;
        };
        DictionaryCache cache;
        const auto result = DictionaryUpdate(cache, updatePath(), path).run();
        QVERIFY(failed);
        QCOMPARE(result.outcome, Outcome::Failed);
        QVERIFY2(result.error.contains(path), qPrintable(result.error));
        // Resolved by the update itself, not left to whoever reads the file next.
        QVERIFY(!QFile::exists(path + "-journal"));
    }

    if (bytesKept)
        QCOMPARE(sha256Of(path), before);
    QCOMPARE(pragma(path, "PRAGMA integrity_check"), QString("ok"));
    QCOMPARE(DictionaryFile::read(path), dictionary);
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
