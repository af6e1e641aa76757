// Which files open as dictionaries, and what is said of those that do not.
#include "DictionaryAccess.h"
#include "DictionaryCache.h"
#include "TestDictionary.h"
#include "modDB.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

using namespace DictionaryAccess;

class TestCipherFile : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_cache = std::make_unique<DictionaryCache>(); }
    void cleanup() { m_cache.reset(); }

    void opensWithThePassword();
    void refusesBadFiles_data();
    void refusesBadFiles();

private:
    QStringList keysIn(const QString &path) { return DictionaryAccess::keysIn(*m_cache, path); }
    QString openFailure(const QString &path)
    {
        return DictionaryAccess::openFailure(*m_cache, path);
    }
    std::unique_ptr<DictionaryCache> m_cache;
};

void TestCipherFile::opensWithThePassword()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Dog" }));
    QCOMPARE(keysIn(folder.dictionary()), QStringList({ "Snake", "Dog" }));
}

void TestCipherFile::refusesBadFiles_data()
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

void TestCipherFile::refusesBadFiles()
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

QTEST_GUILESS_MAIN(TestCipherFile)
#include "tst_cipherfile.moc"
