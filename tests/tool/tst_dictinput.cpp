// What the dictionary tool reads, as a careless user or a hostile folder hands it over: paths
// that are no file at all, and input that never ends a line. Each run is stopped should it
// never end, and its peak memory is read from the kernel.
#include "DictionaryFile.h"
#include "EndlessDevice.h"
#include "MeasuredRun.h"
#include "TestDictionary.h"
#include "ToolRun.h"

#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A run still going after this long never ends; it is stopped and fails.
constexpr qint64 Stopped = 60000;
constexpr qint64 MostMemory = 100 << 20;
constexpr qint64 LongestLine = 1 << 20;

struct Outcome
{
    MeasuredRun run;
    QByteArray out;
    QString err;
};

Outcome runTool(const TestFolder &folder, const QStringList &arguments)
{
    const QString out = folder.file("out.txt"), err = folder.file("err.txt");
    Outcome outcome { runMeasured(Tool, arguments, out, Stopped, err), {}, {} };
    QFile outFile(out), errFile(err);
    if (outFile.open(QIODevice::ReadOnly))
        outcome.out = outFile.readAll();
    if (errFile.open(QIODevice::ReadOnly))
        outcome.err = QString::fromUtf8(errFile.readAll());
    QFile::remove(out);
    QFile::remove(err);
    return outcome;
}

QByteArray rowLine(const QByteArray &key)
{
    return key + "\tqrc:/dreams/x.html\tastro\n";
}

} // namespace

class TestDictInput : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatIsNoDictionary_data();
    void refusesWhatIsNoDictionary();
    void endlessInputStops_data();
    void endlessInputStops();
    void longestLine_data();
    void longestLine();
};

void TestDictInput::refusesWhatIsNoDictionary_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("said");
    for (const char *command : { "check", "dump" }) {
        QTest::addRow("%s, named pipe", command)
            << command << "fifo"
            << "is a named pipe (FIFO), not a dictionary file.";
        QTest::addRow("%s, device", command) << command << "device"
                                             << "is a device, not a dictionary file.";
        QTest::addRow("%s, link to a device", command) << command << "device link"
                                                       << "is a device, not a dictionary file.";
        QTest::addRow("%s, folder", command) << command << "folder"
                                             << "is a folder, not a dictionary file.";
    }
}

void TestDictInput::refusesWhatIsNoDictionary()
{
    QFETCH(QString, command);
    QFETCH(QString, place);
    QFETCH(QString, said);
    TestFolder folder;
    const QString device = endlessDevice(folder.path());
    QString path = folder.file("dream.dll");
    if (place == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (place == "device")
        path = device;
    else if (place == "device link")
        QVERIFY(QFile::link(device, path));
    else
        QVERIFY(QDir().mkdir(path));

    const Outcome outcome = runTool(folder, { command, path });

    QCOMPARE(outcome.run.exitCode, 1);
    QVERIFY2(outcome.err.contains(path + ' ' + said), qPrintable(outcome.err));
    QCOMPARE(outcome.out, QByteArray());
}

void TestDictInput::endlessInputStops_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("line"); // the line named as too long
    QTest::newRow("device") << "device" << 1;
    QTest::newRow("2 GB file of zeros") << "sparse" << 1;
    QTest::newRow("named pipe fed without end") << "fifo" << 1;
    QTest::newRow("rows, then a line that never ends") << "long line" << 4;
}

void TestDictInput::endlessInputStops()
{
    QFETCH(QString, input);
    QFETCH(int, line);
    TestFolder folder;
    const QString device = endlessDevice(folder.path());
    QString tsv = folder.file("in.tsv");
    QProcess feeder;
    if (input == "device") {
        tsv = device;
    } else if (input == "sparse") {
        QFile sparse(tsv);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(qint64(2) << 30));
    } else if (input == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(tsv).constData(), 0600), 0);
        // Ends when the tool stops reading: its next write finds no reader.
        feeder.start("sh", { "-c", "exec cat \"$0\" > \"$1\"", device, tsv });
        QVERIFY(feeder.waitForStarted());
    } else {
        // Written a piece at a time: the tool's peak memory is read after this process's pages
        // were shared with it, so this one stays small too.
        QFile file(tsv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Header + rowLine("Snake") + rowLine("Moon"));
        const QByteArray piece(1 << 20, 'z');
        for (int i = 0; i < 64; ++i)
            QCOMPARE(file.write(piece), piece.size());
    }
    const QStringList before = namesIn(folder.path());

    const Outcome outcome = runTool(folder, { "create", folder.file("out.dll"), tsv });
    feeder.waitForFinished(Stopped);

    QCOMPARE(outcome.run.exitCode, 1);
    const QString expected
        = QStringLiteral("%1: line %2: it is longer than 1 MiB (1048576 bytes)").arg(tsv).arg(line);
    QVERIFY2(outcome.err.contains(expected), qPrintable(outcome.err));
    QVERIFY2(outcome.err.contains("nothing was written"), qPrintable(outcome.err));
    QVERIFY2(
        outcome.run.peakBytes < MostMemory, qPrintable(QString::number(outcome.run.peakBytes)));
    QCOMPARE(namesIn(folder.path()), before);
}

void TestDictInput::longestLine_data()
{
    QTest::addColumn<int>("extra"); // bytes beyond the longest line a row may take
    QTest::addColumn<bool>("read");
    QTest::newRow("as long as a line may be") << 0 << true;
    QTest::newRow("one byte longer") << 1 << false;
}

void TestDictInput::longestLine()
{
    QFETCH(int, extra);
    QFETCH(bool, read);
    TestFolder folder;
    const QByteArray tail = rowLine(QByteArray()).chopped(1);
    const QByteArray key((LongestLine - tail.size()) + extra, 'k');
    writeFile(folder.file("in.tsv"), Header + rowLine(key) + rowLine("Moon"));

    const Outcome outcome
        = runTool(folder, { "create", folder.file("out.dll"), folder.file("in.tsv") });

    QCOMPARE(outcome.run.exitCode, read ? 0 : 1);
    if (read) {
        const std::vector<DictionaryRow> rows = DictionaryFile::read(folder.file("out.dll"));
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].key.size(), key.size());
    } else {
        QVERIFY2(outcome.err.contains("in.tsv: line 2: it is longer than 1 MiB"),
            qPrintable(outcome.err));
        QVERIFY(!QFileInfo::exists(folder.file("out.dll")));
    }
}

QTEST_GUILESS_MAIN(TestDictInput)
#include "tst_dictinput.moc"
