// One instance at a time: a second start is refused while the first runs, a start goes ahead when
// no lock can be taken at all, and the lock file's claims.
#include "Application.h"
#include "Fakes.h"
#include "LockFileInstanceGuard.h"
#include "MDI.h"
#include "SettingsCodec.h"
#include "TestDictionary.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QtTest>

Q_DECLARE_METATYPE(InstanceGuard::Claim)
Q_DECLARE_METATYPE(InstanceGuard::Claim::Outcome)

class TestSingleInstance : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void secondInstanceIsRefused();
    void startsWhenNoLockCanBeTaken();
    void lockFileClaim_data();
    void lockFileClaim();
    void startUpByClaim_data();
    void startUpByClaim();
};

void TestSingleInstance::secondInstanceIsRefused()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    const QString lock = folder.file("instance.lock");

    QProcess first;
    first.start(INSTANCE_CHILD, { lock, folder.path() });
    QVERIFY(first.waitForStarted());
    QByteArray firstOut;
    QTRY_VERIFY_WITH_TIMEOUT(
        (firstOut += first.readAllStandardOutput()).contains("STARTED visible=1"), 60000);

    QProcess second;
    second.start(INSTANCE_CHILD, { lock, folder.path() });
    QVERIFY(second.waitForFinished(60000));
    const QString out = QString::fromUtf8(second.readAllStandardOutput());
    QCOMPARE(out, QString("PROMPT:Application is already running\nENDED mainWindow=0\n"));

    // The first instance is untouched and still running.
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();

    // Once it is gone, a new start goes ahead.
    QProcess third;
    third.start(INSTANCE_CHILD, { lock, folder.path() });
    QByteArray thirdOut;
    QTRY_VERIFY_WITH_TIMEOUT(
        (thirdOut += third.readAllStandardOutput()).contains("STARTED"), 60000);
    third.kill();
    third.waitForFinished();
}

// A file where the runtime folder should be: no lock can be made under it, whoever runs.
void TestSingleInstance::startsWhenNoLockCanBeTaken()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    const QString notAFolder = folder.file("runtime");
    QFile blocker(notAFolder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QProcess child;
    child.start(INSTANCE_CHILD, { notAFolder + "/somnilex.lock", folder.path() });
    QByteArray out;
    // Either line ends the wait: a refused start prints ENDED and exits.
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += child.readAllStandardOutput()).contains("STARTED") || out.contains("ENDED"), 60000);
    child.kill();
    child.waitForFinished();
    const QString printed = QString::fromUtf8(out);
    const QString prefix
        = "PROMPT:Somnilex could not take its single-instance lock in " + notAFolder + ": ";
    QVERIFY2(printed.startsWith(prefix), qPrintable(printed));
    QVERIFY2(printed.endsWith(". It will start anyway.\nSTARTED visible=1\n"), qPrintable(printed));
    // The reason is the system's, not left out.
    QVERIFY2(printed.indexOf(". It will start anyway.") > prefix.size(), qPrintable(printed));
}

void TestSingleInstance::lockFileClaim_data()
{
    QTest::addColumn<QString>("lockUnder"); // inside the test folder
    QTest::addColumn<bool>("heldHere"); // another lock of this process holds it first
    QTest::addColumn<InstanceGuard::Claim::Outcome>("outcome");
    QTest::addColumn<QString>("reason"); // the system's words, for Unavailable
    QTest::newRow("free") << "" << false << InstanceGuard::Claim::Acquired << "";
    QTest::newRow("held by a live process")
        << "" << true << InstanceGuard::Claim::HeldByOther << "";
    QTest::newRow("folder is a file")
        << "file" << false << InstanceGuard::Claim::Unavailable << "Not a directory";
    QTest::newRow("folder missing")
        << "missing" << false << InstanceGuard::Claim::Unavailable << "No such file or directory";
}

void TestSingleInstance::lockFileClaim()
{
    QFETCH(QString, lockUnder);
    QFETCH(bool, heldHere);
    QFETCH(InstanceGuard::Claim::Outcome, outcome);
    QFETCH(QString, reason);
    TestFolder folder;
    QFile file(folder.file("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString lockFolder = lockUnder.isEmpty() ? folder.path() : folder.file(lockUnder);
    const QString lockPath = lockFolder + "/somnilex.lock";
    QLockFile holder(lockPath);
    if (heldHere)
        QVERIFY(holder.tryLock(0));

    LockFileInstanceGuard guard(lockPath);
    const InstanceGuard::Claim claim = guard.claim();
    QCOMPARE(claim.outcome, outcome);
    if (outcome == InstanceGuard::Claim::Unavailable) {
        QCOMPARE(claim.folder, QDir::toNativeSeparators(lockFolder));
        // The system's words can be translated; they are checked where they are known.
        if (QLocale::system().language() == QLocale::C
            || QLocale::system().language() == QLocale::English)
            QCOMPARE(claim.reason, reason);
        QVERIFY(!claim.reason.isEmpty());
        QVERIFY(!QFile::exists(lockPath));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "file" });
    } else {
        QVERIFY(claim.folder.isEmpty());
        QVERIFY(claim.reason.isEmpty());
    }
    // Asking again reports on the slot as it is, and a claim is kept.
    QCOMPARE(guard.claim().outcome, outcome);
    if (outcome == InstanceGuard::Claim::Acquired) {
        LockFileInstanceGuard second(lockPath);
        QCOMPARE(second.claim().outcome, InstanceGuard::Claim::HeldByOther);
    }
}

void TestSingleInstance::startUpByClaim_data()
{
    QTest::addColumn<InstanceGuard::Claim>("claim");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<bool>("starts");
    QTest::newRow("acquired") << InstanceGuard::Claim { InstanceGuard::Claim::Acquired, {}, {} }
                              << QStringList() << true;
    QTest::newRow("held by another")
        << InstanceGuard::Claim { InstanceGuard::Claim::HeldByOther, {}, {} }
        << QStringList { "Application is already running" } << false;
    QTest::newRow("unavailable")
        << InstanceGuard::Claim { InstanceGuard::Claim::Unavailable, "/run/user/1000",
               "Permission denied" }
        << QStringList { "Somnilex could not take its single-instance lock in /run/user/1000: "
                         "Permission denied. It will start anyway." }
        << true;
}

void TestSingleInstance::startUpByClaim()
{
    QFETCH(InstanceGuard::Claim, claim);
    QFETCH(QStringList, prompts);
    QFETCH(bool, starts);
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    FakeServices fakes;
    fakes.instance.claimed = claim;
    // Due reminder: its question comes after the lock's message, before any window.
    fakes.settings.save("somnilex", "Settings", EncodeSetting("Duration"),
        EncodeSetting(fakes.clock.date.addDays(-30).toString(Qt::ISODate)));
    QList<bool> windowShownAtPrompt;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    fakes.prompter.onPrompt
        = [&](const QString &) { windowShownAtPrompt << (app.mainWindow() != nullptr); };
    app.StartApplication();
    QCOMPARE(app.hasEnded(), !starts);
    QCOMPARE(app.mainWindow() && app.mainWindow()->isVisible(), starts);
    QStringList expected = prompts;
    if (starts)
        expected << "There maybe an update to this software available\r"
                    "Do you want to check for an update?";
    QCOMPARE(fakes.prompter.texts(), expected);
    QCOMPARE(windowShownAtPrompt, QList<bool>(expected.size(), false));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
