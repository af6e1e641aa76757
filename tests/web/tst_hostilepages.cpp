// Pages that try to take over the program, in the real web engine: dialogs in a loop, new
// windows, the program's own pages, files on the disk, downloads and permissions. Every page
// a pane shows is untrusted, since a Link comes from a file the user picked.
#include "Application.h"
#include "Fakes.h"
#include "LocalHttpServer.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QtTest>

namespace {

// Every test page can tell the server what it saw.
QByteArray page(const QString &body)
{
    return ("<!DOCTYPE html><html><head><title>Hostile</title><script>"
            "function report(what) {"
            "  new Image().src = '/report?' + encodeURIComponent(what); }"
            "</script></head><body>"
        + body + "</body></html>")
        .toUtf8();
}

// Closes any modal window that shows up, and counts it: a page must never hold the program in
// a dialog.
class ModalWatch
{
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++seen;
                modal->close();
            }
        });
        m_timer.start(10);
    }
    void stop() { m_timer.stop(); }
    int seen = 0;

private:
    QTimer m_timer;
};

} // namespace

class TestHostilePages : public QObject
{
    Q_OBJECT
public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        // A camera and a microphone for the engine to offer, so that a page's request for them
        // reaches the program instead of failing for want of a device.
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --use-fake-device-for-media-stream");
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void dialogsNeverHoldTheMainWindow_data();
    void dialogsNeverHoldTheMainWindow();
    void leavingAPageIsNeverHeldUp();
    void noWindowOpens_data();
    void noWindowOpens();
    void filePageIsNeverShown();
    void filePageCannotReadFiles();
    void webPageCannotOpenBundledPages_data();
    void webPageCannotOpenBundledPages();
    void webPageCannotEmbedBundledPagesOrFiles_data();
    void webPageCannotEmbedBundledPagesOrFiles();
    void downloadLinkDoesNothing();
    void permissionsAreDenied_data();
    void permissionsAreDenied();

private:
    // Waits for the page's report and returns it.
    QString reported()
    {
        if (!WebWait::until([&] { return !m_server.requestsFor("/report").isEmpty(); }))
            return QStringLiteral("(no report)");
        return QUrl::fromPercentEncoding(
            m_server.requestsFor("/report").first().section('?', 1).toUtf8());
    }
    QString fileUrl(const QString &name) const
    {
        return QUrl::fromLocalFile(m_files.filePath(name)).toString();
    }
    // Clicks the page as a user would, once it has been painted: a page not yet on the screen
    // takes no clicks.
    void clickPage()
    {
        m_view->page()->runJavaScript(
            "requestAnimationFrame(function () { requestAnimationFrame(function () {"
            "  new Image().src = '/painted'; }); });");
        QVERIFY(WebWait::until([&] { return !m_server.requestsFor("/painted").isEmpty(); }));
        m_server.requests.removeAll("/painted");
        QTest::mouseClick(m_view->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
    }

    LocalHttpServer m_server;
    QTemporaryDir m_files;
    std::unique_ptr<WebProfile> m_profile;
    std::unique_ptr<WebView> m_view;
};

void TestHostilePages::initTestCase()
{
    QVERIFY(m_server.start());
    QVERIFY(m_files.isValid());
    auto write = [this](const QString &name, const QByteArray &content) {
        QFile file(m_files.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write("secret.txt", "SECRET-CONTENT");
    write("probe.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"></svg>");
    write("framed.html", "<!DOCTYPE html><html><body><iframe></iframe></body></html>");
    // Reads its neighbour through a frame and a fetch, and puts what it got in its title.
    write("reader.html",
        "<!DOCTYPE html><html><head><title>reader</title></head><body>"
        "<iframe src='secret.txt'></iframe><script>"
        "var out = {};"
        "function done(k, v) { out[k] = v;"
        "  if ('iframe' in out && 'fetch' in out)"
        "    document.title = 'iframe=' + out.iframe + ';fetch=' + out.fetch; }"
        "window.onload = function () { var text = null;"
        "  try { text = frames[0].document.body.textContent; } catch (e) {}"
        "  done('iframe', text || 'blocked'); };"
        "fetch('secret.txt').then(function (r) { return r.text(); })"
        "  .then(function (t) { done('fetch', t); }, function () { done('fetch', 'blocked'); });"
        "</script></body></html>");
    m_server.setReply(
        "/redirect-to-bundled", "302 Found", "Location: qrc:/dreams/index.html\r\n", QByteArray());
    m_server.setReply("/file.bin", "200 OK",
        "Content-Type: application/octet-stream\r\n"
        "Content-Disposition: attachment; filename=\"file.bin\"\r\n",
        QByteArray(4096, 'x'));
    m_profile = std::make_unique<WebProfile>();
}

void TestHostilePages::init()
{
    m_view = std::make_unique<WebView>(*m_profile);
    m_view->resize(600, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    m_server.requests.clear();
}

void TestHostilePages::cleanup()
{
    m_view.reset();
}

void TestHostilePages::cleanupTestCase()
{
    m_profile.reset();
}

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
    WebView *view = app.mainWindow()->meaningPane()->WB;
    QSignalSpy shown(view->webPage(), &WebPage::message);

    // The page went on past its dialogs without anyone answering them.
    QVERIFY(WebWait::until([&] { return !m_server.requestsFor("/done").isEmpty(); }));
    QCOMPARE(watch.seen, 0);
    QCOMPARE(m_server.requestsFor("/done"), QStringList { "/done?agreed=0" });
    QCOMPARE(shown.size(), WebPage::MessagesPerLoad);
    QVERIFY(view->lblMessage->isVisible());
    QVERIFY2(view->lblMessage->text().endsWith(lastShown), qPrintable(view->lblMessage->text()));
    QCOMPARE(view->lblMessage->textFormat(), Qt::PlainText);

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

void TestHostilePages::filePageIsNeverShown()
{
    const QString before = m_server.url("/before");
    QCOMPARE(WebWait::navigate(*m_view, before), before);
    QSignalSpy started(m_view.get(), &QWebEngineView::loadStarted);
    m_view->Navigate(fileUrl("reader.html"));
    m_view->Navigate(m_files.filePath("reader.html"));
    // Had either been handed on, it would have started before this.
    QVERIFY(!WebWait::sentinel(m_view->page(), m_server).isEmpty());
    QCOMPARE(started.size(), 0);
    QCOMPARE(m_view->LocationURL(), before);
    QCOMPARE(m_view->history()->count(), 1);
}

void TestHostilePages::filePageCannotReadFiles()
{
    // Even a page that came from the disk some other way cannot read its neighbours.
    QWebEnginePage reader(m_profile.get());
    reader.load(QUrl(fileUrl("reader.html")));
    QVERIFY(WebWait::until([&] { return reader.title().startsWith("iframe="); }));
    QCOMPARE(reader.title(), QString("iframe=blocked;fetch=blocked"));
}

void TestHostilePages::webPageCannotOpenBundledPages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("refused");
    const QString start = QStringLiteral("qrc:/dreams/index.html");
    QTest::newRow("script sets the address")
        << "/hostile"
        << "<script>location.href = 'qrc:/dreams/index.html';</script>" << start;
    QTest::newRow("script replaces the address")
        << "/hostile"
        << "<script>location.replace('qrc:/dreams/index.html');</script>" << start;
    QTest::newRow("link clicked by script")
        << "/hostile"
        << "<a id='a' href='qrc:/dreams/snake.html'>snake</a>"
           "<script>document.getElementById('a').click();</script>"
        << "qrc:/dreams/snake.html";
    QTest::newRow("form sent") << "/hostile"
                               << "<form id='f' action='qrc:/dreams/index.html'></form>"
                                  "<script>document.getElementById('f').submit();</script>"
                               << start + "?";
    QTest::newRow("refresh")
        << "/hostile"
        << "<meta http-equiv='refresh' content='0; url=qrc:/dreams/index.html'>" << start;
    QTest::newRow("frame moves the page") << "/hostile"
                                          << "<iframe src='/mover'></iframe>" << start;
    QTest::newRow("error page, to trick the user")
        << "/hostile"
        << "<script>location.href = 'qrc:/dreams/error.html?url=http%3A%2F%2Fbank.example';"
           "</script>"
        << "qrc:/dreams/error.html?url=http%3A%2F%2Fbank.example";
    QTest::newRow("server redirect") << "/redirect-to-bundled"
                                     << "" << start;
}

void TestHostilePages::webPageCannotOpenBundledPages()
{
    QFETCH(QString, path);
    QFETCH(QString, body);
    QFETCH(QString, refused);
    if (!body.isEmpty())
        m_server.setPage(path, page(body));
    m_server.setPage("/mover", page("<script>top.location = 'qrc:/dreams/index.html';</script>"));
    const QString before = m_server.url("/before");
    QCOMPARE(WebWait::navigate(*m_view, before), before);

    QSignalSpy refusals(m_view->webPage(), &WebPage::navigationRefused);
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->Navigate(m_server.url(path));
    auto bundledShown = [&] {
        for (const auto &document : documents)
            if (document.first().toString().startsWith("qrc:"))
                return true;
        return false;
    };
    QVERIFY(WebWait::until([&] { return !refusals.isEmpty() || bundledShown(); }));
    QVERIFY(!bundledShown());
    QCOMPARE(refusals.first().first().toUrl(), QUrl(refused));
    QVERIFY(WebWait::until([&] { return !m_view->page()->isLoading(); }));
    // The pane stays where it was: on the page, or before it when the page never came.
    const QString expected = body.isEmpty() ? before : m_server.url(path);
    QCOMPARE(m_view->LocationURL(), expected);
    QVERIFY(!bundledShown());
    QCOMPARE(m_view->history()->count(), body.isEmpty() ? 1 : 2);
}

void TestHostilePages::webPageCannotEmbedBundledPagesOrFiles_data()
{
    // FILE stands for the test's folder on the disk. A frame's page has one inner frame, which
    // its parent sees from any origin once the page is in.
    QTest::addColumn<QString>("body");
    const QString onLoad
        = QStringLiteral(" onload=\"report('loaded')\" onerror=\"report('blocked')\"");
    const QString frameSeen
        = QStringLiteral("<script>window.onload = function () {"
                         "  report(frames[0].length === 1 ? 'loaded' : 'blocked'); };</script>");
    QTest::newRow("bundled image") << "<img src='qrc:/dreams/probe.svg'" + onLoad + ">";
    QTest::newRow("bundled style sheet")
        << "<link rel='stylesheet' href='qrc:/dreams/style.css'" + onLoad + ">";
    QTest::newRow("bundled script") << "<script src='qrc:/dreams/start.js'" + onLoad + "></script>";
    QTest::newRow("bundled page in a frame")
        << "<iframe src='qrc:/dreams/probe.html'></iframe>" + frameSeen;
    QTest::newRow("bundled page in an object")
        << "<object data='qrc:/dreams/probe.html' type='text/html'></object>"
           "<script>window.onload = function () {"
           "  report(frames.length && frames[0].length === 1 ? 'loaded' : 'blocked'); };</script>";
    QTest::newRow("bundled file fetched")
        << "<script>fetch('qrc:/dreams/style.css').then(function (r) { return r.text(); })"
           ".then(function () { report('loaded'); }, function () { report('blocked'); });"
           "</script>";
    QTest::newRow("file image") << "<img src='FILE/probe.svg'" + onLoad + ">";
    QTest::newRow("file in a frame") << "<iframe src='FILE/framed.html'></iframe>" + frameSeen;
    QTest::newRow("file fetched")
        << "<script>fetch('FILE/secret.txt').then(function (r) { return r.text(); })"
           ".then(function (t) { report(t); }, function () { report('blocked'); });</script>";
}

void TestHostilePages::webPageCannotEmbedBundledPagesOrFiles()
{
    QFETCH(QString, body);
    body.replace("FILE", QUrl::fromLocalFile(m_files.path()).toString());
    m_server.setPage("/embedder", page(body));
    const QString embedder = m_server.url("/embedder");
    QCOMPARE(WebWait::navigate(*m_view, embedder), embedder);
    QCOMPARE(reported(), QString("blocked"));
    QCOMPARE(m_view->LocationURL(), embedder);
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
    QVERIFY(!m_view->lblMessage->isVisible());
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
