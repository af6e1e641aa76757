#include "BuildFolder.h"
#include "TestDictionary.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

#ifdef Q_OS_WIN
const QString Tool = QStringLiteral("somnilex-dict.exe");
#else
const QString Tool = QStringLiteral("somnilex-dict");
#endif

QString toolPath()
{
    return buildFolderHolding(Tool) + QLatin1Char('/') + Tool;
}

Run runTool(const QStringList &arguments)
{
    QProcess process;
    process.start(toolPath(), arguments);
    process.waitForFinished(60000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestDictTool : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void createThenDumpRoundTrips();
    void refusesMalformedInput_data();
    void refusesMalformedInput();
    void checkReportsBadFiles();
    void opensInTheSqlcipherShell();
    void answersHelpAndVersion_data();
    void answersHelpAndVersion();
};

void TestDictTool::initTestCase()
{
    QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
}

void TestDictTool::createThenDumpRoundTrips()
{
    TestFolder folder;
    const QByteArray tsv = "Key\tLink\tNames\r\n"
                           "Snake\tqrc:/dreams/snake.html\tastro\r\n"
                           "Rêve d'or\thttps://example.org/r?a=1&b=2\tastro\n"
                           "Snake\tqrc:/dreams/snake-2.html\t\n";
    writeText(folder.file("in.tsv"), tsv);
    const Run create = runTool({ "create", folder.dictionary(), folder.file("in.tsv") });
    QCOMPARE(create.exitCode, 0);

    const Run dump = runTool({ "dump", folder.dictionary() });
    QCOMPARE(dump.exitCode, 0);
    QCOMPARE(dump.out,
        QString::fromUtf8("Key\tLink\tNames\n"
                          "Snake\tqrc:/dreams/snake.html\tastro\n"
                          "Rêve d'or\thttps://example.org/r?a=1&b=2\tastro\n"
                          "Snake\tqrc:/dreams/snake-2.html\t\n"));
    const Run check = runTool({ "check", folder.dictionary() });
    QCOMPARE(check.exitCode, 0);
    QCOMPARE(check.out.trimmed(), QString("3"));
}

void TestDictTool::refusesMalformedInput_data()
{
    QTest::addColumn<QByteArray>("tsv");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two fields") << QByteArray("Key\tLink\tNames\nA\ta\tastro\nB\tb\n") << "line 3";
    QTest::newRow("four fields") << QByteArray("Key\tLink\tNames\nA\ta\tastro\tx\n") << "line 2";
    QTest::newRow("no header") << QByteArray("A\ta\tastro\n") << "line 1";
    QTest::newRow("empty") << QByteArray() << "line 1";
}

void TestDictTool::refusesMalformedInput()
{
    QFETCH(QByteArray, tsv);
    QFETCH(QString, expected);
    TestFolder folder;
    writeText(folder.file("in.tsv"), tsv);
    const Run create = runTool({ "create", folder.dictionary(), folder.file("in.tsv") });
    QVERIFY(create.exitCode != 0);
    QVERIFY2(create.err.contains(expected), qPrintable(create.err));
    // Nothing is written, not even a partial file.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({ "in.tsv" }));
}

void TestDictTool::checkReportsBadFiles()
{
    TestFolder folder;
    writeText(folder.file("notes.txt"), "just some words, not a database at all");
    const Run check = runTool({ "check", folder.file("notes.txt") });
    QVERIFY(check.exitCode != 0);
    QVERIFY2(check.err.contains("not a dictionary database"), qPrintable(check.err));
    const Run missing = runTool({ "check", folder.file("nothing.dll") });
    QVERIFY(missing.exitCode != 0);
    QVERIFY2(missing.err.contains("does not exist"), qPrintable(missing.err));
}

void TestDictTool::opensInTheSqlcipherShell()
{
    const QString shell = QStandardPaths::findExecutable("sqlcipher");
    if (shell.isEmpty())
        QSKIP("the sqlcipher shell is not installed");
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    QProcess process;
    process.start(shell, { folder.dictionary() });
    process.write("PRAGMA key='Hq4Lz8Wn2Xc6Vb9Tj1';\nSELECT Key FROM dreams;\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
        QStringList({ "Snake", "Moon" }));
}

void TestDictTool::answersHelpAndVersion_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // what standard output starts with
    QTest::addColumn<QString>("err"); // what standard error starts with
    const QString usage = "usage: somnilex-dict create [--force] OUT FILE.tsv";
    QTest::newRow("help") << QStringList { "--help" } << 0 << usage << "";
    QTest::newRow("short help") << QStringList { "-h" } << 0 << usage << "";
    QTest::newRow("version") << QStringList { "--version" } << 0
                             << "somnilex-dict " SOMNILEX_VERSION "\n"
                             << "";
    QTest::newRow("no command") << QStringList {} << 2 << "" << usage;
    QTest::newRow("help with more") << QStringList { "--help", "dump" } << 2 << "" << usage;
    QTest::newRow("unknown option") << QStringList { "--verbose" } << 2 << "" << usage;
}

void TestDictTool::answersHelpAndVersion()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(out), qPrintable(run.out));
    QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.startsWith(err), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestDictTool)
#include "tst_dicttool.moc"
