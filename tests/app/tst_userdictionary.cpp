#include "CipherFile.h"
#include "DictionaryCache.h"
#include "DictionaryUpdate.h"
#include "Installation.h"
#include "modDB.h"

#include <QCryptographicHash>
#include <QtTest>

using Action = DictionaryLocation::Action;
Q_DECLARE_METATYPE(DictionaryLocation::Action)

using namespace InstalledLayout;

class TestUserDictionary : public QObject
{
    Q_OBJECT
private slots:
    void firstStartCopiesTheInstalledDictionary();
    void copyOfAReadOnlyInstallCanBeUpdated();
    void laterStart_data();
    void laterStart();
    void portableRunLeavesTheUserFolderAlone();
    void installedIntoTheDataFolderIsTheCopy();
    void unwritableDataFolderShowsTheInstalledDictionary();
    void failedMergeKeepsTheCopyAndTriesAgain();
};

void TestUserDictionary::firstStartCopiesTheInstalledDictionary()
{
    Installation setup;
    setup.install({ "Snake", "Moon" });
    const QByteArray installedBytes = bytesOf(setup.installed);
    // Left by a copy that was cut short.
    QDir().mkpath(setup.data);
    QFile partial(setup.copy + ".partial");
    QVERIFY(partial.open(QIODevice::WriteOnly));
    partial.write("half a dictionary");
    partial.close();

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::CopyInstalled);
    QCOMPARE(plan.dictionary, setup.copy);
    QVERIFY2(plan.message.isEmpty(), qPrintable(plan.message));
    QCOMPARE(keysOf(setup.copy), QStringList({ "Snake", "Moon" }));
    QCOMPARE(textOf(setup.user().stampPath()),
        QString::fromLatin1(
            QCryptographicHash::hash(installedBytes, QCryptographicHash::Sha256).toHex()));
    QCOMPARE(QDir(setup.data).entryList(QDir::Files),
        QStringList({ "dream.dll", "dream.dll.installed" }));
    QCOMPARE(bytesOf(setup.installed), installedBytes);
}

void TestUserDictionary::copyOfAReadOnlyInstallCanBeUpdated()
{
    Installation setup;
    setup.install({ "Snake" });
    QVERIFY(QFile::setPermissions(
        setup.installed, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);

    QVERIFY(QFileInfo(setup.copy).permissions().testFlag(QFileDevice::WriteOwner));
    DictionaryFile::write(setup.root.file("update.dll"), rowsOf({ "Moon" }));
    DictionaryCache files;
    QCOMPARE(DictionaryUpdate(files, setup.root.file("update.dll"), setup.copy).run().outcome,
        DictionaryUpdate::Outcome::Merged);
    QCOMPARE(keysOf(setup.copy), QStringList({ "Snake", "Moon" }));
}

void TestUserDictionary::laterStart_data()
{
    QTest::addColumn<QStringList>("copy"); // the user's copy before the start
    QTest::addColumn<bool>("stampKept"); // whether the copy's origin is known
    QTest::addColumn<QStringList>("installedNow"); // empty: the first install is still there
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("after");

    // Installed first: Snake, Moon. "Own" is a symbol the user added by an update.
    QTest::newRow("unchanged") << QStringList { "Snake", "Moon", "Own" } << true << QStringList {}
                               << Action::UseUserCopy << QStringList { "Snake", "Moon", "Own" };
    QTest::newRow("upgraded") << QStringList { "Snake", "Moon", "Own" } << true
                              << QStringList { "Snake", "Moon", "Tooth", "Water" }
                              << Action::MergeInstalled
                              << QStringList { "Snake", "Moon", "Own", "Tooth", "Water" };
    QTest::newRow("upgraded with a symbol the user already added")
        << QStringList { "Snake", "Moon", "Water" } << true
        << QStringList { "Snake", "Moon", "Tooth", "Water" } << Action::MergeInstalled
        << QStringList { "Snake", "Moon", "Water", "Tooth" };
    QTest::newRow("upgraded without a symbol the copy has")
        << QStringList { "Snake", "Moon" } << true << QStringList { "Snake", "Tooth" }
        << Action::MergeInstalled << QStringList { "Snake", "Moon", "Tooth" };
    QTest::newRow("copy of unknown origin")
        << QStringList { "Snake", "Own" } << false << QStringList {} << Action::MergeInstalled
        << QStringList { "Snake", "Own", "Moon" };
}

void TestUserDictionary::laterStart()
{
    QFETCH(QStringList, copy);
    QFETCH(bool, stampKept);
    QFETCH(QStringList, installedNow);
    QFETCH(Action, action);
    QFETCH(QStringList, after);

    Installation setup;
    setup.install({ "Snake", "Moon" });
    QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);
    std::vector<DictionaryRow> rows;
    for (const QString &key : copy)
        rows.push_back(rowsOf({ key }).front());
    DictionaryFile::write(setup.copy, rows);
    if (!stampKept)
        QVERIFY(QFile::remove(setup.user().stampPath()));
    if (!installedNow.isEmpty()) {
        std::vector<DictionaryRow> installed;
        for (const QString &key : installedNow)
            installed.push_back(rowsOf({ key }).front());
        DictionaryFile::write(setup.installed, installed);
    }
    const QByteArray installedBytes = bytesOf(setup.installed);

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, action);
    QCOMPARE(plan.dictionary, setup.copy);
    QVERIFY2(plan.message.isEmpty(), qPrintable(plan.message));
    QCOMPARE(keysOf(setup.copy), after);
    // The next start knows the copy has this install's rows.
    QCOMPARE(textOf(setup.user().stampPath()), UserDictionary::stampOf(setup.installed));
    QCOMPARE(setup.user().facts().userCopyStamp, UserDictionary::stampOf(setup.installed));
    QCOMPARE(bytesOf(setup.installed), installedBytes);
}

void TestUserDictionary::portableRunLeavesTheUserFolderAlone()
{
    Installation setup;
    setup.install({ "Snake" });
    DictionaryFile::write(setup.bin + "/dream.dll", rowsOf({ "Moon" }));

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::UseBesideExecutable);
    QCOMPARE(plan.dictionary, setup.bin + "/dream.dll");
    QVERIFY(!QFileInfo::exists(setup.root.file("home")));
}

void TestUserDictionary::installedIntoTheDataFolderIsTheCopy()
{
    // A prefix of ~/.local puts share/somnilex/ where the user's data folder is.
    Installation setup;
    setup.install({ "Snake" });
    const UserDictionary user(setup.bin, setup.root.file("bin/../share/somnilex/"), Today);

    const DictionaryLocation::Plan plan = user.prepare();

    QCOMPARE(plan.action, Action::UseUserCopy);
    QCOMPARE(plan.dictionary, setup.installed);
    QCOMPARE(QDir(QFileInfo(setup.installed).path()).entryList(QDir::Files),
        QStringList({ "dream.dll" }));
}

void TestUserDictionary::unwritableDataFolderShowsTheInstalledDictionary()
{
    Installation setup;
    setup.install({ "Snake" });
    // A file where a folder should be stops even a user who may write anywhere.
    QFile blocker(setup.root.file("home"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::UseInstalled);
    QCOMPARE(plan.dictionary, setup.installed);
    QVERIFY2(plan.message.contains(setup.data), qPrintable(plan.message));
    QCOMPARE(keysOf(setup.installed), QStringList({ "Snake" }));
}

void TestUserDictionary::failedMergeKeepsTheCopyAndTriesAgain()
{
    Installation setup;
    setup.install({ "Snake" });
    QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);
    const QString firstStamp = textOf(setup.user().stampPath());
    // A copy that opens but that no merge can add to: its table has lost a column.
    DictionaryFile::write(setup.copy, rowsOf({ "Snake", "Own" }));
    {
        CipherFile copy(setup.copy, modDB::DictionaryPassword);
        copy.execute("ALTER TABLE dreams RENAME TO old; CREATE TABLE dreams (Key TEXT, Link TEXT);"
                     "INSERT INTO dreams SELECT Key, Link FROM old; DROP TABLE old;");
    }
    const QByteArray copyBytes = bytesOf(setup.copy);
    setup.install({ "Snake", "Moon" });

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::UseUserCopy);
    QCOMPARE(plan.dictionary, setup.copy);
    QVERIFY2(plan.message.contains("could not be added"), qPrintable(plan.message));
    QVERIFY2(plan.message.contains(setup.copy), qPrintable(plan.message));
    QCOMPARE(textOf(setup.user().stampPath()), firstStamp);
    QCOMPARE(bytesOf(setup.copy), copyBytes);
}

QTEST_GUILESS_MAIN(TestUserDictionary)
#include "tst_userdictionary.moc"
