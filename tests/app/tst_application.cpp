#include "Application.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "MDI.h"
#include "WebView.h"
#include "TestDictionary.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestApplication : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void startsWithTheMainWindowAndPane();
    void closingLeavesTheExitScreen_data();
    void closingLeavesTheExitScreen();
    void closingEndsTheBrowserWindowToo();
    void secondInstanceIsRefused();
};

void TestApplication::startsWithTheMainWindowAndPane()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    FakeServices fakes;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    app.StartApplication();
    QVERIFY(!app.hasEnded());
    MDI *window = app.mainWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->keywords->keys(), QStringList({ "Snake", "Moon" }));
    QCOMPARE(fakes.connection.asked, 1);
    QCOMPARE(app.state().IsOnline, 0);
    // Offline, the pane shows only its notice.
    frmMain *pane = window->meaningPane();
    QVERIFY(pane);
    QVERIFY(pane->lblCaption->isVisible());
    QVERIFY(!pane->WB->isVisible());
    QVERIFY(fakes.prompter.prompts.isEmpty());
}

void TestApplication::closingLeavesTheExitScreen_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("exitByButton"); // the exit screen's E&xit, or its close box
    QTest::newRow("File > Exit, then Exit") << "menu" << true;
    QTest::newRow("Exit button, then close box") << "button" << false;
    QTest::newRow("close box, then Exit") << "frame" << true;
}

void TestApplication::closingLeavesTheExitScreen()
{
    QFETCH(QString, how);
    QFETCH(bool, exitByButton);
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    FakeServices fakes;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    QSignalSpy endedSpy(&app, &Application::ended);
    app.StartApplication();
    MDI *window = app.mainWindow();

    int panesWhenUnloaded = -1;
    connect(window, &MDI::MDIForm_Unload, this,
            [&] { panesWhenUnloaded = int(window->mdiArea->subWindowList().size()); });
    if (how == "menu")
        window->mnuExit->trigger();
    else if (how == "button")
        QTest::mouseClick(window->cmdExit, Qt::LeftButton);
    else
        window->close();

    QCOMPARE(panesWhenUnloaded, 0);
    QVERIFY(!window->isVisible());
    QVERIFY(app.exitScreen());
    QVERIFY(app.exitScreen()->isVisible());
    QVERIFY(app.exitScreen()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(endedSpy.count(), 0);
    QVERIFY(fakes.prompter.prompts.isEmpty()); // no confirmation

    if (exitByButton)
        QTest::mouseClick(app.exitScreen()->cmdClose, Qt::LeftButton);
    else
        app.exitScreen()->close();
    QCOMPARE(endedSpy.count(), 1);
    QVERIFY(!app.exitScreen() || !app.exitScreen()->isVisible());
    QVERIFY(app.hasEnded());
}

void TestApplication::closingEndsTheBrowserWindowToo()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    FakeServices fakes;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    window->openBrowser();
    QCOMPARE(window->mdiArea->subWindowList().size(), 2);
    window->mnuExit->trigger();
    QTRY_VERIFY(!window->browserWindow());
    QVERIFY(app.exitScreen());
}

void TestApplication::secondInstanceIsRefused()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    const QString lock = folder.file("instance.lock");

    QProcess first;
    first.start(INSTANCE_CHILD, { lock, folder.path() });
    QVERIFY(first.waitForStarted());
    QByteArray firstOut;
    QTRY_VERIFY_WITH_TIMEOUT((firstOut += first.readAllStandardOutput()).contains("STARTED visible=1"),
                             60000);

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
    QTRY_VERIFY_WITH_TIMEOUT((thirdOut += third.readAllStandardOutput()).contains("STARTED"), 60000);
    third.kill();
    third.waitForFinished();
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
