// The whole start-up when the files it reads are not what they should be: everything that is
// refused or cannot be kept is said once, and the program still comes up.
#include "Application.h"
#include "Fakes.h"
#include "Installation.h"
#include "KeywordListModel.h"
#include "MDI.h"

#include <QAction>
#include <QtTest>

using namespace InstalledLayout;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList listed(const Application &app)
{
    return app.mainWindow()->findChild<KeywordListModel *>("keywords")->keys();
}

} // namespace

class TestStartupFiles : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void damagedDictionaryIsToldOnce_data();
    void damagedDictionaryIsToldOnce();
    void unsavedSettingsAreToldOnce_data();
    void unsavedSettingsAreToldOnce();
};

void TestStartupFiles::damagedDictionaryIsToldOnce_data()
{
    QTest::addColumn<bool>("hadCopy"); // the user's copy, from an install of Snake and Moon
    QTest::addColumn<QString>("spoiled"); // "installed" or "copy": which file is noise
    QTest::addColumn<QStringList>("said"); // in the one message
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("first start, installed damaged")
        << false << "installed" << QStringList { "installed dictionary", "is damaged" }
        << QStringList();
    QTest::newRow("upgrade to a damaged install")
        << true << "installed" << QStringList { "installed dictionary", "is damaged" }
        << QStringList { "Snake", "Moon" };
    QTest::newRow("copy does not open")
        << true << "copy" << QStringList { "did not open, so it was kept as", "new copy" }
        << QStringList { "Snake", "Moon", "Tooth" };
}

void TestStartupFiles::damagedDictionaryIsToldOnce()
{
    QFETCH(bool, hadCopy);
    QFETCH(QString, spoiled);
    QFETCH(QStringList, said);
    QFETCH(QStringList, listed);
    Installation setup;
    if (hadCopy) {
        setup.install({ "Snake", "Moon" });
        QCOMPARE(setup.user().prepare().action, DictionaryLocation::Action::CopyInstalled);
    }
    setup.install({ "Snake", "Moon", "Tooth" });
    writeBytes(spoiled == "installed" ? setup.installed : setup.copy,
        QByteArray(8192, '\x5a') + "no dictionary");

    FakeServices fakes;
    AppConfig config = AppConfig::builtIn(setup.bin, "somnilex");
    config.userDataDir = setup.data;
    Application app(config, fakes.services());
    app.StartApplication();

    QVERIFY(app.mainWindow() && app.mainWindow()->isVisible());
    QCOMPARE(fakes.prompter.prompts.size(), 1);
    QCOMPARE(fakes.prompter.prompts.first().kind, PromptRecord::Error);
    const QString message = fakes.prompter.prompts.first().text;
    QVERIFY2(message.contains(spoiled == "installed" ? setup.installed : setup.copy),
        qPrintable(message));
    for (const QString &part : said)
        QVERIFY2(message.contains(part), qPrintable(message));
    QCOMPARE(::listed(app), listed);
}

void TestStartupFiles::unsavedSettingsAreToldOnce_data()
{
    QTest::addColumn<QString>("failure"); // what the store says when a save fails
    QTest::addColumn<int>("zooms"); // zoom changes after the start, each one saved
    const QString failure = "Somnilex could not save its settings in the folder /nowhere.";
    QTest::newRow("saved") << QString() << 3;
    QTest::newRow("not saved, at start") << failure << 0;
    QTest::newRow("not saved, at start and at every zoom") << failure << 3;
}

void TestStartupFiles::unsavedSettingsAreToldOnce()
{
    QFETCH(QString, failure);
    QFETCH(int, zooms);
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    FakeServices fakes;
    fakes.settings.saveFailure = failure;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    app.StartApplication();
    QVERIFY(app.mainWindow() && app.mainWindow()->isVisible());
    for (int i = 0; i < zooms; ++i)
        app.mainWindow()->findChild<QAction *>("mnuZoomIn")->trigger();

    // The reminder keeps its date at the first start, the zoom at every change.
    QCOMPARE(fakes.settings.saves, 1 + zooms);
    QCOMPARE(fakes.prompter.texts(), failure.isEmpty() ? QStringList() : QStringList { failure });
}

QTEST_MAIN(TestStartupFiles)
#include "tst_startupfiles.moc"
