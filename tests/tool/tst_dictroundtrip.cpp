// The dictionary tool's dump and create as each other's inverse, for any bytes a cell may
// hold, and the memory a large file takes through both.
#include "MeasuredRun.h"
#include "TestDictionary.h"
#include "ToolRun.h"

#include <QRandomGenerator>
#include <QtTest>

class TestDictRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void dumpComesBackThroughCreate_data();
    void dumpComesBackThroughCreate();
    void randomRowsComeBackThroughTheTool();
    void dumpReportsAFullOutput();
    void memoryDoesNotGrowWithTheFile();
};

void TestDictRoundTrip::dumpComesBackThroughCreate_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("tab") << QByteArray("Snake\tbite");
    QTest::newRow("line feed") << QByteArray("Snake\nbite");
    QTest::newRow("carriage return at the end") << QByteArray("Snake\r");
    QTest::newRow("CRLF") << QByteArray("Snake\r\nbite");
    QTest::newRow("backslash") << QByteArray("C:\\dreams\\snake");
    QTest::newRow("text that looks like an escape") << QByteArray("\\t\\x41");
    QTest::newRow("trailing backslash") << QByteArray("Snake\\");
    QTest::newRow("NUL") << QByteArray("Sn\0ake", 6);
    QTest::newRow("terminal escape sequence") << QByteArray("\x1b[2J");
    QTest::newRow("not UTF-8") << QByteArray("Sn\xffke\xc3");
    QTest::newRow("header as a key") << QByteArray("Key\tLink\tNames");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("200,000 characters") << QByteArray(200000, 'z');
}

void TestDictRoundTrip::dumpComesBackThroughCreate()
{
    QFETCH(QByteArray, cell);
    TestFolder folder;
    const std::vector<StoredRow> rows = { { "Moon", "qrc:/dreams/moon.html", "astro" },
        { cell, "qrc:/dreams/" + cell, "astro" }, { "Sun", cell, cell } };
    writeStore(folder.file("first.dll"), rows);
    const Run dump = runTool({ "dump", folder.file("first.dll") });
    QCOMPARE(dump.exitCode, 0);
    writeFile(folder.file("dump.tsv"), dump.out);
    const Run create = runTool({ "create", folder.file("second.dll"), folder.file("dump.tsv") });
    QVERIFY2(create.exitCode == 0, qPrintable(create.err));
    QCOMPARE(storedRows(folder.file("second.dll")), rows);
    QCOMPARE(runTool({ "dump", folder.file("second.dll") }).out, dump.out);
}

void TestDictRoundTrip::randomRowsComeBackThroughTheTool()
{
    QRandomGenerator random(90125);
    const auto cell = [&random] {
        QByteArray bytes;
        const int length = int(random.bounded(20u));
        for (int i = 0; i < length; ++i)
            bytes += char(random.bounded(2u) ? "\t\n\r\\x\xc3\xa9\xff"[random.bounded(9u)]
                                             : random.bounded(256u));
        return bytes;
    };
    std::vector<StoredRow> rows;
    for (int i = 0; i < 2000; ++i)
        rows.push_back({ cell(), cell(), cell() });
    TestFolder folder;
    writeStore(folder.file("first.dll"), rows);
    const Run dump = runTool({ "dump", folder.file("first.dll") });
    QCOMPARE(dump.exitCode, 0);
    writeFile(folder.file("dump.tsv"), dump.out);
    const Run create = runTool({ "create", folder.file("second.dll"), folder.file("dump.tsv") });
    QVERIFY2(create.exitCode == 0, qPrintable(create.err));
    QCOMPARE(storedRows(folder.file("second.dll")), rows);
}

void TestDictRoundTrip::dumpReportsAFullOutput()
{
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full here");
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon", "Sun" }));
    const Run run = runTool({ "dump", folder.dictionary() }, "/dev/full");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("could not write the rows of") && run.err.contains("space"),
        qPrintable(run.err));
}

// The old tool held the whole file, several times over; a row at a time, memory stays at what
// the program itself needs, far below the size of the file.
void TestDictRoundTrip::memoryDoesNotGrowWithTheFile()
{
    constexpr qint64 Size = 48 << 20;
    TestFolder folder;
    writeLargeTsv(folder.file("in.tsv"), Size);
    const MeasuredRun create = runMeasured(
        Tool, { "create", folder.file("out.dll"), folder.file("in.tsv") }, "/dev/null");
    QCOMPARE(create.exitCode, 0);
    QVERIFY2(create.peakBytes < Size, qPrintable(QString::number(create.peakBytes)));
    const MeasuredRun dump
        = runMeasured(Tool, { "dump", folder.file("out.dll") }, folder.file("out.tsv"));
    QCOMPARE(dump.exitCode, 0);
    QVERIFY2(dump.peakBytes < Size, qPrintable(QString::number(dump.peakBytes)));
    QCOMPARE(QFileInfo(folder.file("out.tsv")).size(), QFileInfo(folder.file("in.tsv")).size());
}

QTEST_GUILESS_MAIN(TestDictRoundTrip)
#include "tst_dictroundtrip.moc"
