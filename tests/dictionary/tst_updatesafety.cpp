// A merge that cannot finish (a locked or read-only file, a killed process, a full disk, an
// I/O error) leaves the dictionary as it was: all of the update or none of it.
#include "ShimVfs.h"
#include "SmallDisk.h"
#include "TestDictionary.h"
#include "UpdateRows.h"

#include <QProcess>

#include <QtTest>

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(ShimVfs::File)

class TestUpdateSafety : public QObject
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

    void dictionaryThatCannotBeWrittenIsUnchanged_data();
    void dictionaryThatCannotBeWrittenIsUnchanged();
    void killedMergeLeavesAllOrNone_data();
    void killedMergeLeavesAllOrNone();
    void fullDiskLeavesTheFileAsItWas_data();
    void fullDiskLeavesTheFileAsItWas();
    void ioErrorLeavesTheFileAsItWas_data();
    void ioErrorLeavesTheFileAsItWas();

private:
    QString updatePath() const { return m_folder->file("update.dat"); }
    void reopensAs(const QString &path, const QString &journal, const Rows &expected);
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestUpdateSafety::dictionaryThatCannotBeWrittenIsUnchanged_data()
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

void TestUpdateSafety::dictionaryThatCannotBeWrittenIsUnchanged()
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

void TestUpdateSafety::killedMergeLeavesAllOrNone_data()
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

void TestUpdateSafety::killedMergeLeavesAllOrNone()
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
    reopensAs(path, journal, expect == "none" ? dictionary : concat(dictionary, fresh));
}

// Opens the dictionary as the program's next start does and reads it back as expected.
void TestUpdateSafety::reopensAs(const QString &path, const QString &journal, const Rows &expected)
{
    try {
        DictionaryCache next;
        next.open(path);
    } catch (const DictionaryError &e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY(!QFile::exists(journal));
    QCOMPARE(pragma(path, "PRAGMA integrity_check"), QString("ok"));
    const Rows after = DictionaryFile::read(path);
    QCOMPARE(after.size(), expected.size());
    QCOMPARE(after, expected);
}

void TestUpdateSafety::fullDiskLeavesTheFileAsItWas_data()
{
    // How much room the small disk has left once the dictionary is on it.
    QTest::addColumn<qint64>("room");
    QTest::newRow("room for the journal, not the rows") << qint64(-1);
    QTest::newRow("no room for the journal") << qint64(0);
}

void TestUpdateSafety::fullDiskLeavesTheFileAsItWas()
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

void TestUpdateSafety::ioErrorLeavesTheFileAsItWas_data()
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

void TestUpdateSafety::ioErrorLeavesTheFileAsItWas()
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

QTEST_GUILESS_MAIN(TestUpdateSafety)
#include "tst_updatesafety.moc"
