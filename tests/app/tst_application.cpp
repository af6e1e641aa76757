#include "Application.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "LockFileInstanceGuard.h"
#include "MDI.h"
#include "QtPrompter.h"
#include "SettingsCodec.h"
#include "TestDictionary.h"
#include "WebView.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QMdiArea>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(InstanceGuard::Claim)
Q_DECLARE_METATYPE(InstanceGuard::Claim::Outcome)
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
    void secondInstanceIsRefused();
    void startsWhenNoLockCanBeTaken();
    void lockFileClaim_data();
    void lockFileClaim();
    void startUpByClaim_data();
    void startUpByClaim();
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
    QVERIFY(!pane->lblCaption->isVisible());
    QVERIFY(pane->WB->isVisible());
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
    window->panes()->openBrowser(QString());
    QCOMPARE(window->findChild<QMdiArea *>("mdiArea")->subWindowList().size(), 2);
    window->findChild<QAction *>("mnuExit")->trigger();
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
void TestApplication::startsWhenNoLockCanBeTaken()
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

void TestApplication::lockFileClaim_data()
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

void TestApplication::lockFileClaim()
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

void TestApplication::startUpByClaim_data()
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

void TestApplication::startUpByClaim()
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
