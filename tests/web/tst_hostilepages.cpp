// Pages that try to take over the program by reaching for the user, in the real web engine:
// dialogs in a loop, new windows, downloads and permissions.
#include "Application.h"
#include "Fakes.h"
#include "HostilePageFixture.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QWebEngineDownloadRequest>

using namespace HostilePages;

class TestHostilePages : public QObject, private HostilePageFixture
{
    Q_OBJECT
public:
    using HostilePageFixture::initMain;

private slots:
    void initTestCase() { startUp(); }
    void init() { openView(); }
    void cleanup() { closeView(); }
    void cleanupTestCase() { finish(); }

    void dialogsNeverHoldTheMainWindow_data();
    void dialogsNeverHoldTheMainWindow();
    void leavingAPageIsNeverHeldUp();
    void noWindowOpens_data();
    void noWindowOpens();
    void downloadLinkDoesNothing();
    void permissionsAreDenied_data();
    void permissionsAreDenied();
};

void TestHostilePages::dialogsNeverHoldTheMainWindow_data()
{
    // The script runs 50 times with i from 1; its value counts when true.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("lastShown");
    QTest::newRow("alert") << "alert('alert ' + i)"
                           << "alert 3";
    QTest::newRow("confirm") << "confirm('confirm ' + i)"
                             << "confirm 3";
    QTest::newRow("prompt") << "prompt('prompt ' + i, 'yes') !== null"
                            << "prompt 3";
    QTest::newRow("markup stays text") << "alert('<b>bold ' + i + '</b>')"
                                       << "<b>bold 3</b>";
}

void TestHostilePages::dialogsNeverHoldTheMainWindow()
{
    QFETCH(QString, script);
    QFETCH(QString, lastShown);
    m_view.reset();
    m_server.setPage("/dialogs",
        page("<script>var agreed = 0;"
             "for (var i = 1; i <= 50; i++) if ("
            + script
            + ") agreed++;"
              "new Image().src = '/done?agreed=' + agreed;</script>"));
    TestFolder folder;
    folder.writeDictionary(rowsOf({ "Snake" }));
    AppConfig config = AppConfig::builtIn(folder.path(), "somnilex");
    config.MainSiteAddress = m_server.url("/dialogs");
    FakeServices fakes;
    fakes.connection.online = true;
    ModalWatch watch;
    Application app(config, fakes.services());
    app.StartApplication();
    WebView *view = app.mainWindow()->meaningPane()->webView();
    QSignalSpy shown(view->webPage(), &WebPage::message);

    // The page went on past its dialogs without anyone answering them.
    QVERIFY(WebWait::until([&] { return !m_server.requestsFor("/done").isEmpty(); }));
    QCOMPARE(watch.seen, 0);
    QCOMPARE(m_server.requestsFor("/done"), QStringList { "/done?agreed=0" });
    QCOMPARE(shown.size(), WebPage::MessagesPerLoad);
    QVERIFY(view->message()->isVisible());
    QVERIFY2(view->message()->text().endsWith(lastShown), qPrintable(view->message()->text()));
    QCOMPARE(view->message()->textFormat(), Qt::PlainText);

    // The main window still answers: Exit reaches the exit screen.
    watch.stop();
    QTest::mouseClick(app.mainWindow()->findChild<QPushButton *>("cmdExit"), Qt::LeftButton);
    QVERIFY(app.exitScreen());
    QVERIFY(app.exitScreen()->isVisible());
}

void TestHostilePages::leavingAPageIsNeverHeldUp()
{
    // A page that asks to keep the user, once the user has clicked it (the engine asks only
    // then).
    m_server.setPage("/keep",
        page("<div style='position:fixed;left:0;top:0;width:100%;height:100%'"
             " onclick=\"report('clicked')\">Stay with me</div>"
             "<script>window.onbeforeunload = function (e) {"
             "  e.preventDefault(); e.returnValue = 'stay'; return 'stay'; };"
             "</script>"));
    ModalWatch watch;
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/keep")), m_server.url("/keep"));
    clickPage();
    QCOMPARE(reported(), QString("clicked"));

    const QString after = m_server.url("/after");
    QCOMPARE(WebWait::navigate(*m_view, after), after);
    QCOMPARE(watch.seen, 0);
    QCOMPARE(m_view->LocationURL(), after);
}

void TestHostilePages::noWindowOpens_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("click"); // a user's click on the page starts it
    QTest::addColumn<QString>("outcome");
    const QString cover = QStringLiteral(
        "style='position:fixed;left:0;top:0;width:100%;height:100%;display:block'");
    QTest::newRow("window.open")
        << "<script>var w = window.open('/popup'); report(w === null ? 'null' : 'window');</script>"
        << false << "null";
    QTest::newRow("window.open with features")
        << "<script>var w = window.open('/popup', 'side', 'width=200,height=200');"
           "report(w === null ? 'null' : 'window');</script>"
        << false << "null";
    QTest::newRow("window.open of a bundled page")
        << "<script>var w = window.open('qrc:/dreams/index.html');"
           "report(w === null ? 'null' : 'window');</script>"
        << false << "null";
    // With a user's click the engine makes the window before the program is asked; refused, it
    // is closed before anything loads in it.
    QTest::newRow("window.open on a click") << "<div " + cover
            + " onclick=\"var w = window.open('/popup');"
              "var t = setInterval(function () { if (w === null || w.closed) {"
              "  clearInterval(t); report(w === null ? 'null' : 'closed'); } }, 10);\">Open</div>"
                                            << true << "closed";
    QTest::newRow("link to a new window, clicked")
        << "<a href='/popup' target='_blank' onclick=\"report('clicked')\" " + cover + ">Open</a>"
        << true << "clicked";
}

void TestHostilePages::noWindowOpens()
{
    QFETCH(QString, body);
    QFETCH(bool, click);
    m_server.setPage("/opener", page(body));
    const int windows = QApplication::topLevelWidgets().size();
    const QString opener = m_server.url("/opener");
    QCOMPARE(WebWait::navigate(*m_view, opener), opener);
    if (click)
        clickPage();
    QTEST(reported(), "outcome");
    // Anything the opening sent for comes before this.
    QVERIFY(!WebWait::sentinel(m_view->page(), m_server).isEmpty());
    QCOMPARE(m_server.requestsFor("/popup"), QStringList());
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QCOMPARE(m_view->LocationURL(), opener);
}

void TestHostilePages::downloadLinkDoesNothing()
{
    m_server.setPage("/offer",
        page("<a href='/file.bin' style='position:fixed;left:0;top:0;"
             "width:100%;height:100%'>Get the file</a>"));
    QList<QWebEngineDownloadRequest::DownloadState> states;
    connect(m_profile.get(), &QWebEngineProfile::downloadRequested, this,
        [&](QWebEngineDownloadRequest *download) { states << download->state(); });
    const QString offer = m_server.url("/offer");
    QCOMPARE(WebWait::navigate(*m_view, offer), offer);
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);

    clickPage();
    QVERIFY(WebWait::until([&] { return !states.isEmpty(); }));
    disconnect(m_profile.get(), &QWebEngineProfile::downloadRequested, this, nullptr);
    QCOMPARE(states, { QWebEngineDownloadRequest::DownloadCancelled });
    QVERIFY(WebWait::until([&] { return !m_view->page()->isLoading(); }));
    QVERIFY(!WebWait::sentinel(m_view->page(), m_server).isEmpty());
    QCOMPARE(documents.size(), 0);
    QCOMPARE(m_view->LocationURL(), offer);
    QVERIFY(!m_view->message()->isVisible());
    QVERIFY(!QFile::exists(QDir(m_profile->downloadPath()).filePath("file.bin")));
}

void TestHostilePages::permissionsAreDenied_data()
{
    QTest::addColumn<QString>("script"); // calls report() with the outcome
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("asked"); // the page asked the program, rather than the engine
    QTest::newRow("notifications") << "Notification.requestPermission().then(report);"
                                   << "denied" << true;
    QTest::newRow("geolocation")
        << "navigator.geolocation.getCurrentPosition(function () { report('granted'); },"
           " function (e) { report(e.code === e.PERMISSION_DENIED ? 'denied' : 'error ' + e.code); "
           "});"
        << "denied" << true;
    QTest::newRow("camera")
        << "navigator.mediaDevices.getUserMedia({ video: true })"
           ".then(function () { report('granted'); }, function (e) { report(e.name); });"
        << "NotAllowedError" << true;
    QTest::newRow("microphone")
        << "navigator.mediaDevices.getUserMedia({ audio: true })"
           ".then(function () { report('granted'); }, function (e) { report(e.name); });"
        << "NotAllowedError" << true;
    QTest::newRow("clipboard read")
        << "navigator.clipboard.readText()"
           ".then(function () { report('granted'); }, function (e) { report(e.name); });"
        << "NotAllowedError" << false;
}

void TestHostilePages::permissionsAreDenied()
{
    QFETCH(QString, script);
    QFETCH(QString, outcome);
    QFETCH(bool, asked);
    // Asked on a click, as a page asks a user.
    m_server.setPage("/asker",
        page("<div style='position:fixed;left:0;top:0;width:100%;height:100%'"
             " onclick=\""
            + script + "\">Allow me</div>"));
    QSignalSpy requests(m_view->page(), &QWebEnginePage::featurePermissionRequested);
    const QString asker = m_server.url("/asker");
    QCOMPARE(WebWait::navigate(*m_view, asker), asker);
    clickPage();
    QCOMPARE(reported(), outcome);
    if (asked)
        QVERIFY(!requests.isEmpty());
}

QTEST_MAIN(TestHostilePages)
#include "tst_hostilepages.moc"
