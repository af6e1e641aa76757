// The real settings store with something other than a settings file where its file belongs:
// nothing stalls, nothing is written through, and the problem names the file and the folder.
#include "EndlessDevice.h"
#include "PlainFile.h"
#include "QSettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Puts what place names where the settings file belongs.
void makePlace(const QString &place, const QString &file, const QString &folder,
    const QString &elsewhere, const QString &device, const QString &nowhere)
{
    if (place == "file") {
        writeBytes(file, "[Other]\nkey=kept\n");
    } else if (place == "file link") {
        writeBytes(elsewhere, "[Other]\nkey=kept\n");
        QVERIFY(QFile::link(elsewhere, file));
    } else if (place == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else if (place == "device link") {
        QVERIFY(QFile::link(device, file));
    } else if (place == "dangling link") {
        QVERIFY(QFile::link(nowhere, file));
    } else if (place == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else if (place == "large") {
        writeBytes(file, "[Other]\nkey=" + QByteArray(2 << 20, 'x') + "\n");
    } else if (place == "folder is a file") {
        writeBytes(folder, "not a folder");
    }
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void placesOfTheFile_data();
    void placesOfTheFile();
};

void TestSettingsStore::placesOfTheFile_data()
{
    QTest::addColumn<QString>("place"); // what is where the settings file belongs
    QTest::addColumn<bool>("kept"); // whether a value saved reads back
    QTest::addColumn<QString>("said"); // in the problem, beside the file and folder
    QTest::newRow("nothing yet") << "none" << true << "";
    QTest::newRow("settings file") << "file" << true << "";
    QTest::newRow("link to a settings file kept elsewhere") << "file link" << true << "";
    QTest::newRow("named pipe") << "fifo" << false << "it is a named pipe (FIFO)";
    QTest::newRow("link to a device") << "device link" << false << "it is a device";
    QTest::newRow("link that leads nowhere")
        << "dangling link" << false << "it is a symbolic link that leads nowhere";
    QTest::newRow("folder") << "folder" << false << "it is a folder";
    QTest::newRow("very large file") << "large" << false << "it is larger than 1048576 bytes";
    QTest::newRow("a file where the folder belongs")
        << "folder is a file" << false << "could not save its settings in the folder";
}

void TestSettingsStore::placesOfTheFile()
{
    QFETCH(QString, place);
    QFETCH(bool, kept);
    QFETCH(QString, said);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath("Somnilex");
    const QString elsewhere = root.filePath("dotfiles.conf");
    if (place != "folder is a file")
        QVERIFY(QDir().mkpath(folder));
    QSettingsStore store(folder);
    const QString file = store.fileOf("somnilex");
    QCOMPARE(file, folder + "/somnilex.conf");
    const QString device = endlessDevice(root.path());
    makePlace(place, file, folder, elsewhere, device, root.filePath("gone.conf"));
    const PlainFile::Kind before = PlainFile::kindOf(file, false);

    store.save("somnilex", "Settings", "Duration", "2026-12-08");
    const QString saveProblem = store.problem();
    const QString value = store.get("somnilex", "Settings", "Duration");
    const QString getProblem = store.problem();

    if (kept) {
        QCOMPARE(value, QString("2026-12-08"));
        QVERIFY2(saveProblem.isEmpty(), qPrintable(saveProblem));
        QVERIFY2(getProblem.isEmpty(), qPrintable(getProblem));
        // What was there before is kept; a link still leads to the user's own file.
        QCOMPARE(store.get("somnilex", "Other", "key"), place == "none" ? QString() : "kept");
        QCOMPARE(PlainFile::kindOf(file, false),
            place == "file link" ? PlainFile::Kind::Link : PlainFile::Kind::Regular);
        return;
    }
    QVERIFY(value.isEmpty());
    QVERIFY2(saveProblem.contains(said), qPrintable(saveProblem));
    QVERIFY2(saveProblem.contains(folder), qPrintable(saveProblem));
    if (place != "folder is a file") {
        QVERIFY2(saveProblem.contains(file), qPrintable(saveProblem));
        QCOMPARE(getProblem, saveProblem);
    }
    // Left as it was: never written through, never replaced.
    QCOMPARE(PlainFile::kindOf(file, false), before);
    QCOMPARE(PlainFile::kindOf(device, false), PlainFile::Kind::Device);
    QVERIFY(!QFileInfo::exists(root.filePath("gone.conf")));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
