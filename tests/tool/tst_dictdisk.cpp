// The dictionary tool writing where it may not: a folder it cannot write to, and a disk that
// fills up or is read-only. Whatever happens, the old file stays as it was and nothing is left.
#include "TestDictionary.h"
#include "ToolRun.h"

#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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

class TestDictDisk : public QObject
{
    Q_OBJECT
private slots:
    void unwritableFolder();
    void fullOrReadOnlyDisk_data();
    void fullOrReadOnlyDisk();
};

void TestDictDisk::unwritableFolder()
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

void TestDictDisk::fullOrReadOnlyDisk_data()
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

void TestDictDisk::fullOrReadOnlyDisk()
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

QTEST_GUILESS_MAIN(TestDictDisk)
#include "tst_dictdisk.moc"
