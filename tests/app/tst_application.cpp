// Start-up and shutdown: the main window and its pane at start, the exit screen after it, and
// the message boxes. A second instance and the lock are tested in tst_singleinstance.
#include "Application.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "MDI.h"
#include "QtPrompter.h"
#include "TestDictionary.h"
#include "WebView.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

// Runs show, which opens a modal box, and answers the box by clicking answer once it is up;
// look sees the box first. Fails when no box came.
void answerBox(const std::function<void()> &show, QMessageBox::StandardButton answer,
    const std::function<void(QMessageBox *)> &look)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen = true;
        look(box);
        if (QAbstractButton *button = box->button(answer)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            box->reject(); // lets the test go on to report it
            QFAIL("the box lacks the answer's button");
        }
    });
    poll.start();
    show();
    poll.stop();
    QVERIFY2(seen, "no message box came");
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void dictionaryPathRule();
    void startsWithTheMainWindowAndPane();
    void announcesTheMainWindowBeforeItLoads();
    void closingLeavesTheExitScreen_data();
    void closingLeavesTheExitScreen();
    void closingEndsTheBrowserWindowToo();
    void boxesShowTextAsTyped_data();
    void boxesShowTextAsTyped();
};

void TestApplication::dictionaryPathRule()
{
    QCOMPARE(dictionaryPathIn("/opt/somnilex"), QString("/opt/somnilex/dream.dll"));
    // A folder that ends in a separator still gets one.
    QCOMPARE(dictionaryPathIn("/"), QString("//dream.dll"));
}

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
    QCOMPARE(window->findChild<KeywordListModel *>("keywords")->keys(),
        QStringList({ "Snake", "Moon" }));
    QCOMPARE(fakes.connection.asked, 1);
    QCOMPARE(app.state().IsOnline, 0);
    // Offline, the pane shows the bundled start page, which needs no connection.
    frmMain *pane = window->meaningPane();
    QVERIFY(pane);
    QVERIFY(!pane->findChild<QLabel *>("lblCaption")->isVisible());
    QVERIFY(pane->webView()->isVisible());
    QVERIFY(fakes.prompter.prompts.isEmpty());
}

void TestApplication::announcesTheMainWindowBeforeItLoads()
{
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake", "Moon" }));
    FakeServices fakes;
    Application app(AppConfig::builtIn(folder.path(), "somnilex"), fakes.services());
    // A watcher of the start-up connects to the list here; it must still see the list filled.
    MDI *announced = nullptr;
    int announcements = 0;
    int keysWhenAnnounced = -1;
    bool shownWhenAnnounced = true;
    int fills = 0;
    connect(&app, &Application::mainWindowCreated, this, [&](MDI *window) {
        announced = window;
        ++announcements;
        keysWhenAnnounced = int(window->findChild<KeywordListModel *>("keywords")->count());
        shownWhenAnnounced = window->isVisible();
        connect(window->findChild<KeywordListModel *>("keywords"), &QAbstractItemModel::modelReset,
            this, [&] { ++fills; });
    });
    app.StartApplication();
    QCOMPARE(announcements, 1);
    QCOMPARE(announced, app.mainWindow());
    QCOMPARE(keysWhenAnnounced, 0);
    QVERIFY(!shownWhenAnnounced);
    QCOMPARE(fills, 1);
    QCOMPARE(app.mainWindow()->findChild<KeywordListModel *>("keywords")->count(), 2);
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
    connect(window, &MDI::MDIForm_Unload, this, [&] {
        panesWhenUnloaded = int(window->findChild<QMdiArea *>("mdiArea")->subWindowList().size());
    });
    if (how == "menu")
        window->findChild<QAction *>("mnuExit")->trigger();
    else if (how == "button")
        QTest::mouseClick(window->findChild<QPushButton *>("cmdExit"), Qt::LeftButton);
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
        QTest::mouseClick(app.exitScreen()->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
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
    window->panes()->openBrowser(QString());
    QCOMPARE(window->findChild<QMdiArea *>("mdiArea")->subWindowList().size(), 2);
    window->findChild<QAction *>("mnuExit")->trigger();
    QTRY_VERIFY(!window->browserWindow());
    QVERIFY(app.exitScreen());
}

void TestApplication::boxesShowTextAsTyped_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("markup") << "information"
                            << "<b>x</b>"
                            << "<b>x</b>" << QMessageBox::Information << QMessageBox::Ok;
    QTest::newRow("path with markup characters")
        << "error"
        << "Cannot open /home/a&b/<dreams>/dream.dll"
        << "Cannot open /home/a&b/<dreams>/dream.dll" << QMessageBox::Critical << QMessageBox::Ok;
    QTest::newRow("entities stay entities")
        << "error"
        << "&lt;i&gt; &amp; &nbsp;"
        << "&lt;i&gt; &amp; &nbsp;" << QMessageBox::Critical << QMessageBox::Ok;
    QTest::newRow("question with markup, answered yes")
        << "question"
        << "Open <a href='x'>x</a>?"
        << "Open <a href='x'>x</a>?" << QMessageBox::Information << QMessageBox::Yes;
    QTest::newRow("question answered no")
        << "question"
        << "<i>sure</i>?"
        << "<i>sure</i>?" << QMessageBox::Information << QMessageBox::No;
    QTest::newRow("two lines") << "information"
                               << "first <line>\rsecond"
                               << "first <line>\nsecond" << QMessageBox::Information
                               << QMessageBox::Ok;
}

void TestApplication::boxesShowTextAsTyped()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButton, answer);
    QtPrompter prompter("Somnilex");
    bool said = false;
    answerBox(
        [&] {
            if (kind == "information")
                prompter.information(text);
            else if (kind == "error")
                prompter.error(text);
            else
                said = prompter.askYesNo(text);
        },
        answer,
        [&](QMessageBox *box) {
            QCOMPARE(box->windowTitle(), QString("Somnilex"));
            QCOMPARE(box->icon(), icon);
            QCOMPARE(box->text(), shown);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            // What the user reads is the label inside the box.
            auto *label = box->findChild<QLabel *>("qt_msgbox_label");
            QVERIFY(label);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->text(), shown);
            const QMessageBox::StandardButtons buttons = kind == "question"
                ? QMessageBox::Yes | QMessageBox::No
                : QMessageBox::StandardButtons(QMessageBox::Ok);
            QCOMPARE(box->standardButtons(), buttons);
        });
    QCOMPARE(said, answer == QMessageBox::Yes);
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
