// The dictionary tool run as a user runs it: what it does with its output file when anything
// goes wrong, how its dump comes back through create, and how much memory a large file takes.
#include "DictionaryWriter.h"
#include "MeasuredRun.h"
#include "TestDictionary.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Tool = QStringLiteral(SOMNILEX_DICT);
const QByteArray Header = "Key\tLink\tNames\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runProgram(
    const QString &program, const QStringList &arguments, const QString &standardOutput = QString())
{
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError()) };
}

Run runTool(const QStringList &arguments, const QString &standardOutput = QString())
{
    return runProgram(Tool, arguments, standardOutput);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry under folder, hidden ones too, with what it holds.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString name = QDir(folder).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            entries[name] = "link to " + info.symLinkTarget().toUtf8();
        } else if (info.isDir()) {
            entries[name] = "folder";
        } else {
            QFile file(info.filePath());
            entries[name] = file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                : QByteArray("unreadable");
        }
    }
    return entries;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::vector<StoredRow> storedRows(const QString &path)
{
    std::vector<StoredRow> rows;
    DictionaryFile::walk(path, [&rows](const StoredRow &row) {
        rows.push_back({ QByteArray(row.key.constData(), row.key.size()),
            QByteArray(row.link.constData(), row.link.size()),
            QByteArray(row.names.constData(), row.names.size()) });
    });
    return rows;
}

void writeStore(const QString &path, const std::vector<StoredRow> &rows)
{
    DictionaryWriter writer(path, DictionaryWriter::Existing::Replace);
    for (const StoredRow &row : rows)
        writer.add(row);
    writer.commit();
}

// A TSV of about the given size, written without holding it.
void writeLargeTsv(const QString &path, qint64 bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Header);
    QByteArray chunk;
    for (qint64 row = 0; file.size() + chunk.size() < bytes; ++row) {
        chunk += "Dream symbol " + QByteArray::number(row) + " of the night\tqrc:/dreams/gen-"
            + QByteArray::number(row) + ".html\tastro\n";
        if (chunk.size() > (1 << 20)) {
            QCOMPARE(file.write(chunk), chunk.size());
            chunk.clear();
        }
    }
    QCOMPARE(file.write(chunk), chunk.size());
}

bool canMountScratchDisks()
{
    QProcess probe;
    probe.start(QStringLiteral("unshare"), { "-rm", "true" });
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit
        && probe.exitCode() == 0;
}

// Runs the tool on a disk of its own (a small tmpfs in a private mount namespace), which
// holds out.dll beforehand; prints the exit code, then the disk's files, then out.dll.
const char *const ScratchDiskScript = R"sh(
mnt=$1 tool=$2 tsv=$3 mode=$4 force=$5 err=$6
mount -t tmpfs -o size=192k tmpfs "$mnt" || exit 97
printf 'the old file' > "$mnt/out.dll"
if [ "$mode" = read-only ]; then mount -o remount,ro "$mnt" || exit 97; fi
if [ "$force" = yes ]; then out=out.dll; set -- --force; else out=new.dll; set --; fi
"$tool" create "$@" "$mnt/$out" "$tsv" 2>"$err"
echo "exit $?"
ls -A "$mnt"
echo "--"
cat "$mnt/out.dll"
)sh";

} // namespace

class TestDictOutput : public QObject
{
    Q_OBJECT
private slots:
    void refusedOutputs_data();
    void refusedOutputs();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void unwritableFolder();
    void fullOrReadOnlyDisk_data();
    void fullOrReadOnlyDisk();
    void killedRunIsCleanedUpNextTime();
    void staleFilesOfEndedRunsGo_data();
    void staleFilesOfEndedRunsGo();
    void forceReplacesAnExistingFile();
    void dumpComesBackThroughCreate_data();
    void dumpComesBackThroughCreate();
    void randomRowsComeBackThroughTheTool();
    void dumpReportsAFullOutput();
    void memoryDoesNotGrowWithTheFile();
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

void TestDictOutput::unwritableFolder()
{
    TestFolder folder;
    const QString locked = folder.file("locked");
    QVERIFY(QDir(folder.path()).mkdir("locked"));
    writeFile(folder.file("locked/out.dll"), "the old file");
    writeFile(folder.file("in.tsv"), Header + "Snake\tqrc:/dreams/snake.html\tastro\n");
    QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 0711), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder.file("in.tsv")).constData(), 0644), 0);
    QCOMPARE(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    const auto before = snapshot(folder.path());

    QString program = Tool;
    QStringList arguments { "create", "--force", folder.file("locked/out.dll"),
        folder.file("in.tsv") };
    if (::geteuid() == 0) {
        // Permissions do not hold for root: the tool runs as nobody.
        program = QStandardPaths::findExecutable("setpriv");
        if (program.isEmpty())
            QSKIP("running as root without setpriv to run the tool as another user; skipped");
        arguments
            = QStringList { "--reuid=65534", "--regid=65534", "--clear-groups", Tool } + arguments;
    }
    const Run run = runProgram(program, arguments);
    QCOMPARE(::chmod(QFile::encodeName(locked).constData(), 0755), 0);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("locked/out.dll") && run.err.contains("permission denied"),
        qPrintable(run.err));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestDictOutput::fullOrReadOnlyDisk_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QString>("expected");
    QTest::newRow("disk fills up, new file") << "full" << false << "the disk is full";
    QTest::newRow("disk fills up, replacing a file") << "full" << true << "the disk is full";
    QTest::newRow("read-only disk, new file") << "read-only" << false << "the disk is read-only";
    QTest::newRow("read-only disk, replacing a file")
        << "read-only" << true << "the disk is read-only";
}

void TestDictOutput::fullOrReadOnlyDisk()
{
    QFETCH(QString, mode);
    QFETCH(bool, force);
    QFETCH(QString, expected);
    if (!canMountScratchDisks())
        QSKIP("cannot mount a small disk here (unshare -rm is not allowed); skipped");
    TestFolder folder;
    QVERIFY(QDir(folder.path()).mkdir("disk"));
    writeLargeTsv(folder.file("in.tsv"), 1 << 20);

    QProcess shell;
    shell.start("unshare",
        { "-rm", "sh", "-c", ScratchDiskScript, "sh", folder.file("disk"), Tool,
            folder.file("in.tsv"), mode, force ? "yes" : "no", folder.file("err.txt") });
    QVERIFY(shell.waitForFinished(120000));
    if (shell.exitCode() == 97)
        QSKIP("cannot mount a small disk here; skipped");
    const QString report = QString::fromUtf8(shell.readAllStandardOutput());
    QFile errors(folder.file("err.txt"));
    QVERIFY(errors.open(QIODevice::ReadOnly));
    const QString err = QString::fromUtf8(errors.readAll());
    QVERIFY2(err.contains(expected) && !err.contains("out of memory"), qPrintable(err));
    // Nothing but the old file on the disk, and that as it was.
    QCOMPARE(report, QString("exit 1\nout.dll\n--\nthe old file"));
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

void TestDictOutput::dumpComesBackThroughCreate_data()
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

void TestDictOutput::dumpComesBackThroughCreate()
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

void TestDictOutput::randomRowsComeBackThroughTheTool()
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

void TestDictOutput::dumpReportsAFullOutput()
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
void TestDictOutput::memoryDoesNotGrowWithTheFile()
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

QTEST_GUILESS_MAIN(TestDictOutput)
#include "tst_dictoutput.moc"
