// What start-up does with dictionary files that are not what they should be: a damaged
// installed dictionary, a user's copy that no longer opens, and something other than a small
// file where the copy's note of its origin belongs.
#include "CipherFile.h"
#include "EndlessDevice.h"
#include "Installation.h"
#include "PlainFile.h"
#include "modDB.h"

#include <QtTest>

#include <sys/stat.h>

using Action = DictionaryLocation::Action;
Q_DECLARE_METATYPE(DictionaryLocation::Action)

using namespace InstalledLayout;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Turns the dictionary at path into what a broken download, a full disk or a wrong file leaves.
void spoil(const QString &path, const QString &damage)
{
    const QByteArray whole = bytesOf(path);
    QVERIFY(!whole.isEmpty());
    if (damage == "random bytes") {
        QByteArray noise(whole.size(), Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(QRandomGenerator::global()->bounded(256));
        writeBytes(path, noise);
    } else if (damage == "cut short") {
        writeBytes(path, whole.left(whole.size() / 2));
    } else if (damage == "empty") {
        writeBytes(path, QByteArray());
    } else if (damage == "text") {
        writeBytes(path, "Snake\tqrc:/dreams/snake.html\tastro\n");
    } else if (damage == "no table") {
        CipherFile file(path, modDB::DictionaryPassword);
        file.execute("DROP TABLE dreams");
    } else {
        QFAIL(qPrintable("unknown damage " + damage));
    }
}

} // namespace

class TestDamagedDictionary : public QObject
{
    Q_OBJECT
private slots:
    void brokenInstalledIsNeverTaken_data();
    void brokenInstalledIsNeverTaken();
    void copyThatDoesNotOpenIsSetAside_data();
    void copyThatDoesNotOpenIsSetAside();
    void noteThatIsNotAFile_data();
    void noteThatIsNotAFile();
    void copyThatIsNoFile_data();
    void copyThatIsNoFile();
};

void TestDamagedDictionary::brokenInstalledIsNeverTaken_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("hadCopy"); // a copy of an earlier install, with a row of the user's
    for (const bool hadCopy : { false, true }) {
        for (const char *damage : { "random bytes", "cut short", "empty", "text", "no table" })
            QTest::addRow("%s, %s", damage, hadCopy ? "upgrade" : "first start")
                << QString(damage) << hadCopy;
    }
}

void TestDamagedDictionary::brokenInstalledIsNeverTaken()
{
    QFETCH(QString, damage);
    QFETCH(bool, hadCopy);
    Installation setup;
    setup.install({ "Snake", "Moon" });
    QString earlierStamp;
    if (hadCopy) {
        QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);
        DictionaryFile::write(setup.copy, rowsOfKeys({ "Snake", "Moon", "Own" }));
        earlierStamp = textOf(setup.user().stampPath());
    }
    spoil(setup.installed, damage);

    const DictionaryLocation::Plan broken = setup.user().prepare();

    QCOMPARE(broken.action, hadCopy ? Action::UseUserCopy : Action::Unreadable);
    QCOMPARE(broken.readable, hadCopy);
    QVERIFY2(broken.message.contains("The installed dictionary " + setup.installed + " is damaged"),
        qPrintable(broken.message));
    QVERIFY2(!broken.message.contains(setup.copy), qPrintable(broken.message));
    // Nothing of it was taken, and nothing says it was.
    QCOMPARE(QFileInfo::exists(setup.copy), hadCopy);
    if (hadCopy)
        QCOMPARE(keysOf(setup.copy), QStringList({ "Snake", "Moon", "Own" }));
    QCOMPARE(textOf(setup.user().stampPath()), earlierStamp);

    // The package mended: its symbols arrive, and the user's stay.
    setup.install({ "Snake", "Moon", "Tooth" });
    const DictionaryLocation::Plan mended = setup.user().prepare();
    QCOMPARE(mended.action, hadCopy ? Action::MergeInstalled : Action::CopyInstalled);
    QVERIFY2(mended.message.isEmpty(), qPrintable(mended.message));
    QCOMPARE(keysOf(setup.copy),
        hadCopy ? QStringList({ "Snake", "Moon", "Own", "Tooth" })
                : QStringList({ "Snake", "Moon", "Tooth" }));
    QCOMPARE(textOf(setup.user().stampPath()), UserDictionary::stampOf(setup.installed));
}

void TestDamagedDictionary::copyThatDoesNotOpenIsSetAside_data()
{
    QTest::addColumn<QString>("damage");
    // What the note beside the copy says: the install it came from, a broken install an
    // earlier version took, or nothing at all.
    QTest::addColumn<QString>("note");
    QTest::addColumn<QStringList>("before"); // more files in the data folder beforehand
    QTest::addColumn<QString>("aside"); // the name the copy is kept under
    const QString dated = "dream.dll.damaged-2026-12-08";
    for (const char *damage : { "random bytes", "cut short", "empty", "text", "no table" })
        QTest::addRow("%s", damage) << QString(damage) << "this install" << QStringList() << dated;
    QTest::newRow("taken from a broken install") << "random bytes"
                                                 << "a broken install" << QStringList() << dated;
    QTest::newRow("origin unknown") << "text"
                                    << "none" << QStringList() << dated;
    // Empty, the copy is refused before SQLite would take the journal as its own.
    QTest::newRow("with its journal")
        << "empty"
        << "this install" << QStringList { "dream.dll-journal" } << dated;
    QTest::newRow("set aside before on the same day")
        << "empty"
        << "this install" << QStringList { dated, dated + "-2-journal" } << dated + "-3";
}

void TestDamagedDictionary::copyThatDoesNotOpenIsSetAside()
{
    QFETCH(QString, damage);
    QFETCH(QString, note);
    QFETCH(QStringList, before);
    QFETCH(QString, aside);
    Installation setup;
    setup.install({ "Snake", "Moon" });
    QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);
    spoil(setup.copy, damage);
    const QByteArray spoiled = bytesOf(setup.copy);
    if (note == "a broken install")
        writeBytes(setup.user().stampPath(), QByteArray(64, 'f') + '\n');
    else if (note == "none")
        QVERIFY(QFile::remove(setup.user().stampPath()));
    for (const QString &name : before)
        writeBytes(setup.data + '/' + name, name.toUtf8());

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::ReplaceUserCopy);
    QCOMPARE(plan.dictionary, setup.copy);
    QVERIFY(plan.readable);
    const QString kept = setup.data + '/' + aside;
    QVERIFY2(plan.message.contains(setup.copy + " did not open, so it was kept as " + kept),
        qPrintable(plan.message));
    QVERIFY2(plan.message.contains("new copy"), qPrintable(plan.message));
    QCOMPARE(bytesOf(kept), spoiled);
    QCOMPARE(keysOf(setup.copy), QStringList({ "Snake", "Moon" }));
    QCOMPARE(textOf(setup.user().stampPath()), UserDictionary::stampOf(setup.installed));
    for (const QString &name : before) {
        if (name.startsWith("dream.dll-")) {
            // What SQLite kept beside the old copy went with it.
            QVERIFY(!QFileInfo::exists(setup.data + '/' + name));
            QCOMPARE(bytesOf(kept + name.mid(QString("dream.dll").size())), name.toUtf8());
        } else {
            QCOMPARE(bytesOf(setup.data + '/' + name), name.toUtf8());
        }
    }
    // The next start finds the new copy whole and says nothing.
    const DictionaryLocation::Plan next = setup.user().prepare();
    QCOMPARE(next.action, Action::UseUserCopy);
    QVERIFY2(next.message.isEmpty(), qPrintable(next.message));
}

void TestDamagedDictionary::noteThatIsNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("replaced"); // a plain note takes its place
    QTest::newRow("named pipe") << "fifo"
                                << "is a named pipe (FIFO)" << true;
    QTest::newRow("link to a device") << "device link"
                                      << "is a symbolic link" << true;
    QTest::newRow("link to a file of the user's") << "file link"
                                                  << "is a symbolic link" << true;
    QTest::newRow("folder") << "folder"
                            << "is a folder" << false;
    QTest::newRow("too large") << "large"
                               << "is larger than 4096 bytes" << true;
}

void TestDamagedDictionary::noteThatIsNotAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    QFETCH(bool, replaced);
    Installation setup;
    setup.install({ "Snake", "Moon" });
    QCOMPARE(setup.user().prepare().action, Action::CopyInstalled);
    const QString note = setup.user().stampPath();
    const QString users = setup.root.file("letter.txt");
    const QString device = endlessDevice(setup.root.path());
    writeBytes(users, "the user's own words");
    QVERIFY(QFile::remove(note));
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(note).constData(), 0600), 0);
    else if (kind == "device link")
        QVERIFY(QFile::link(device, note));
    else if (kind == "file link")
        QVERIFY(QFile::link(users, note));
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(note));
    else
        writeBytes(note, QByteArray(5000, 'f'));
    setup.install({ "Snake", "Moon", "Tooth" });

    const DictionaryLocation::Plan plan = setup.user().prepare();

    QCOMPARE(plan.action, Action::MergeInstalled);
    QVERIFY2(plan.message.contains("The file " + note + " was not read: it " + said),
        qPrintable(plan.message));
    QCOMPARE(keysOf(setup.copy), QStringList({ "Snake", "Moon", "Tooth" }));
    QCOMPARE(bytesOf(users), QByteArray("the user's own words"));
    QCOMPARE(PlainFile::kindOf(device, false), PlainFile::Kind::Device);
    if (!replaced) {
        QCOMPARE(PlainFile::kindOf(note, false), PlainFile::Kind::Folder);
        return;
    }
    QCOMPARE(PlainFile::kindOf(note, false), PlainFile::Kind::Regular);
    QCOMPARE(textOf(note), UserDictionary::stampOf(setup.installed));
    // Said once: the next start reads the note it wrote.
    const DictionaryLocation::Plan next = setup.user().prepare();
    QCOMPARE(next.action, Action::UseUserCopy);
    QVERIFY2(next.message.isEmpty(), qPrintable(next.message));
}

void TestDamagedDictionary::copyThatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("named pipe") << "fifo"
                                << "is a named pipe (FIFO), not a dictionary file";
    QTest::newRow("link to a device") << "device link"
                                      << "is a device, not a dictionary file";
    QTest::newRow("folder") << "folder"
                            << "is a folder, not a dictionary file";
}

void TestDamagedDictionary::copyThatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    Installation setup;
    setup.install({ "Snake", "Moon" });
    QVERIFY(QDir().mkpath(setup.data));
    const QString device = endlessDevice(setup.root.path());
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(setup.copy).constData(), 0600), 0);
    else if (kind == "device link")
        QVERIFY(QFile::link(device, setup.copy));
    else
        QVERIFY(QDir().mkdir(setup.copy));
    const PlainFile::Kind before = PlainFile::kindOf(setup.copy, false);

    const DictionaryLocation::Plan plan = setup.user().prepare();

    // Looked up in the installed dictionary; what is in the copy's place is left as it was.
    QCOMPARE(plan.action, Action::UseInstalled);
    QCOMPARE(plan.dictionary, setup.installed);
    QVERIFY2(plan.message.contains(setup.copy + ' ' + said), qPrintable(plan.message));
    QCOMPARE(PlainFile::kindOf(setup.copy, false), before);
    QCOMPARE(PlainFile::kindOf(device, false), PlainFile::Kind::Device);
    QVERIFY(!QFileInfo::exists(setup.user().stampPath()));
}

QTEST_GUILESS_MAIN(TestDamagedDictionary)
#include "tst_damageddictionary.moc"
