// The dictionary tool run as a user runs it: what it does with its output file when anything
// goes wrong, and with the leftovers of runs that ended badly.
#include "TestDictionary.h"
#include "ToolRun.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestDictOutput : public QObject
{
    Q_OBJECT
private slots:
    void refusedOutputs_data();
    void refusedOutputs();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void killedRunIsCleanedUpNextTime();
    void staleFilesOfEndedRunsGo_data();
    void staleFilesOfEndedRunsGo();
    void forceReplacesAnExistingFile();
};

void TestDictOutput::refusedOutputs_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QString>("expected");
    QTest::newRow("output is a folder") << "sub" << false << "sub: it is a folder";
    QTest::newRow("output is a folder, --force") << "sub" << true << "sub: it is a folder";
    QTest::newRow("output's folder is missing")
        << "missing/out.dll" << false << "the folder %1/missing does not exist";
    QTest::newRow("output's folder is a file")
        << "old.dll/out.dll" << true << "%1/old.dll is not a folder";
    QTest::newRow("output names a folder to be") << "new/" << true << "it names no file";
    QTest::newRow("output exists")
        << "old.dll" << false << "old.dll already exists; give --force to replace it";
    QTest::newRow("output is the input") << "in.tsv" << false << "in.tsv is the input file";
    QTest::newRow("output is the input, --force") << "in.tsv" << true << "is the input file";
    QTest::newRow("output is a symlink to the input, --force")
        << "link.dll" << true << "is the input file";
    QTest::newRow("output is a hard link to the input, --force")
        << "hard.dll" << true << "is the input file";
}

void TestDictOutput::refusedOutputs()
{
    QFETCH(QString, out);
    QFETCH(bool, force);
    QFETCH(QString, expected);
    TestFolder folder;
    writeFile(folder.file("in.tsv"), Header + "Snake\tqrc:/dreams/snake.html\tastro\n");
    writeFile(folder.file("old.dll"), "the old file");
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    QVERIFY(QFile::link(folder.file("in.tsv"), folder.file("link.dll")));
    QCOMPARE(::link(QFile::encodeName(folder.file("in.tsv")).constData(),
                 QFile::encodeName(folder.file("hard.dll")).constData()),
        0);
    const auto before = snapshot(folder.path());

    QStringList arguments { "create", folder.file(out), folder.file("in.tsv") };
    if (force)
        arguments.insert(1, "--force");
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(expected.replace("%1", folder.path())), qPrintable(run.err));
    QVERIFY2(!run.err.contains("out of memory"), qPrintable(run.err));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestDictOutput::badInputWritesNothing_data()
{
    QTest::addColumn<QByteArray>("tsv");
    QTest::addColumn<QString>("expected");
    QByteArray rows = Header;
    for (int i = 0; i < 5000; ++i)
        rows += "Symbol " + QByteArray::number(i) + "\tqrc:/dreams/" + QByteArray::number(i)
            + ".html\tastro\n";
    QTest::newRow("invalid UTF-8 after many rows") << rows + "Sn\xffke\tx\tastro\n"
                                                   << "line 5002: byte 3 is not valid UTF-8";
    QTest::newRow("Latin-1 text") << Header + "R\xeave\tx\tastro\n"
                                  << "line 2: byte 2";
    QTest::newRow("encoded surrogate") << Header + "\xed\xa0\x80\tx\tastro\n"
                                       << "line 2: byte 1";
    QTest::newRow("bad escape after many rows") << rows + "C:\\dreams\tx\tastro\n"
                                                << "line 5002: unknown escape \\d";
    QTest::newRow("short row after many rows") << rows + "Sun\tx\n"
                                               << "line 5002: expected 3";
}

void TestDictOutput::badInputWritesNothing()
{
    QFETCH(QByteArray, tsv);
    QFETCH(QString, expected);
    TestFolder folder;
    writeFile(folder.file("in.tsv"), tsv);
    writeFile(folder.file("old.dll"), "the old file");
    const auto before = snapshot(folder.path());
    const Run run = runTool({ "create", folder.file("new.dll"), folder.file("in.tsv") });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(
        run.err.contains(expected) && run.err.contains("nothing was written"), qPrintable(run.err));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestDictOutput::killedRunIsCleanedUpNextTime()
{
    TestFolder folder;
    const QString fifo = folder.file("rows.fifo");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess killed;
    killed.start(Tool, { "create", folder.file("out.dll"), fifo });
    int feed = -1;
    // The run reads its rows from a pipe that this test holds open, so it is caught mid-file.
    QTRY_VERIFY_WITH_TIMEOUT(
        (feed = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK)) >= 0, 30000);
    const QByteArray rows = Header + "Snake\tqrc:/dreams/snake.html\tastro\n";
    QCOMPARE(::write(feed, rows.constData(), size_t(rows.size())), ssize_t(rows.size()));
    QTRY_VERIFY_WITH_TIMEOUT(namesIn(folder.path()).size() > 1, 30000);
    const qint64 deadPid = killed.processId();
    killed.kill();
    QVERIFY(killed.waitForFinished(30000));
    ::close(feed);
    const QStringList leftBehind = namesIn(folder.path());
    QVERIFY2(leftBehind.size() > 1, qPrintable(leftBehind.join(' ')));

    // Files that are not this output's leftovers: one of a run that still goes (this process)
    // and one of another output.
    const QString live
        = QStringLiteral(".out.dll.somnilex-partial-%1-1").arg(QCoreApplication::applicationPid());
    const QString other = QStringLiteral(".other.dll.somnilex-partial-%1-1").arg(deadPid);
    writeFile(folder.file(live), "still being written");
    writeFile(folder.file(other), "another output's");
    writeFile(folder.file("in.tsv"), rows);
    const Run next = runTool({ "create", folder.file("out.dll"), folder.file("in.tsv") });
    QCOMPARE(next.exitCode, 0);
    QStringList expected { live, other, "in.tsv", "out.dll", "rows.fifo" };
    expected.sort();
    QCOMPARE(namesIn(folder.path()), expected);
}

void TestDictOutput::staleFilesOfEndedRunsGo_data()
{
    QTest::addColumn<QString>("out");
    QTest::newRow("plain name") << "out.dll";
    QTest::newRow("name with wildcard characters") << "dream[1]*?.dll";
    QTest::newRow("name with spaces and dots") << "my .dream. file";
}

void TestDictOutput::staleFilesOfEndedRunsGo()
{
    QFETCH(QString, out);
    // No process ever has the largest id; this test's own process still runs.
    const QString ended = QStringLiteral(".%1.somnilex-partial-2147483647-7f").arg(out);
    const QString running = QStringLiteral(".%1.somnilex-partial-%2-7f")
                                .arg(out)
                                .arg(QCoreApplication::applicationPid());
    const QString otherOutput = QStringLiteral(".x%1.somnilex-partial-2147483647-7f").arg(out);
    TestFolder folder;
    writeFile(folder.file("in.tsv"), Header + "Snake\tqrc:/dreams/snake.html\tastro\n");
    for (const QString &name : { ended, ended + "-journal", running, otherOutput })
        writeFile(folder.file(name), "left behind");
    const Run run = runTool({ "create", folder.file(out), folder.file("in.tsv") });
    QCOMPARE(run.exitCode, 0);
    QStringList expected { "in.tsv", out, running, otherOutput };
    expected.sort();
    QCOMPARE(namesIn(folder.path()), expected);
}

void TestDictOutput::forceReplacesAnExistingFile()
{
    TestFolder folder;
    writeFile(folder.file("in.tsv"), Header + "Snake\tqrc:/dreams/snake.html\tastro\n");
    writeFile(folder.file("out.dll"), "the old file");
    const Run run = runTool({ "create", "--force", folder.file("out.dll"), folder.file("in.tsv") });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(storedRows(folder.file("out.dll")),
        std::vector<StoredRow>({ { "Snake", "qrc:/dreams/snake.html", "astro" } }));
    QCOMPARE(namesIn(folder.path()), QStringList({ "in.tsv", "out.dll" }));
}

QTEST_GUILESS_MAIN(TestDictOutput)
#include "tst_dictoutput.moc"
