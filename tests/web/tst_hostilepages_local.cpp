// Pages that try to take over the program by reaching for what is on the computer, in the real
// web engine: the program's own pages and files on the disk.
#include "HostilePageFixture.h"

using namespace HostilePages;

class TestHostilePagesLocal : public QObject, private HostilePageFixture
{
    Q_OBJECT
public:
    using HostilePageFixture::initMain;

private slots:
    void initTestCase() { startUp(); }
    void init() { openView(); }
    void cleanup() { closeView(); }
    void cleanupTestCase() { finish(); }

    void filePageIsNeverShown();
    void filePageCannotReadFiles();
    void webPageCannotOpenBundledPages_data();
    void webPageCannotOpenBundledPages();
    void webPageCannotEmbedBundledPagesOrFiles_data();
    void webPageCannotEmbedBundledPagesOrFiles();
};

void TestHostilePagesLocal::filePageIsNeverShown()
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

void TestHostilePagesLocal::filePageCannotReadFiles()
{
    // Even a page that came from the disk some other way cannot read its neighbours.
    QWebEnginePage reader(m_profile.get());
    reader.load(QUrl(fileUrl("reader.html")));
    QVERIFY(WebWait::until([&] { return reader.title().startsWith("iframe="); }));
    QCOMPARE(reader.title(), QString("iframe=blocked;fetch=blocked"));
}

void TestHostilePagesLocal::webPageCannotOpenBundledPages_data()
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

void TestHostilePagesLocal::webPageCannotOpenBundledPages()
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

void TestHostilePagesLocal::webPageCannotEmbedBundledPagesOrFiles_data()
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

void TestHostilePagesLocal::webPageCannotEmbedBundledPagesOrFiles()
{
    QFETCH(QString, body);
    body.replace("FILE", QUrl::fromLocalFile(m_files.path()).toString());
    m_server.setPage("/embedder", page(body));
    const QString embedder = m_server.url("/embedder");
    QCOMPARE(WebWait::navigate(*m_view, embedder), embedder);
    QCOMPARE(reported(), QString("blocked"));
    QCOMPARE(m_view->LocationURL(), embedder);
}

QTEST_MAIN(TestHostilePagesLocal)
#include "tst_hostilepages_local.moc"
