#include "LocalHttpServer.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebEngineHistory>
#include <QtTest>

namespace {

const QByteArray FormPage = "<!DOCTYPE html><html><head><title>Form</title></head><body>"
                            "<form name=\"Search\" action=\"/submitted\" method=\"get\">"
                            "<input type=\"hidden\" name=\"Query\">"
                            "<input type=\"submit\" name=\"Go\" value=\"Go\">"
                            "</form></body></html>";

} // namespace

class TestWebView : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void completesWithTheAddress_data();
    void completesWithTheAddress();
    void plainTextIsTakenAsTyped_data();
    void plainTextIsTakenAsTyped();
    void scriptAddressesAreRefused_data();
    void scriptAddressesAreRefused();
    void commandsOnAnEmptyViewAreHarmless_data();
    void commandsOnAnEmptyViewAreHarmless();
    void historyMovesBackAndForward();
    void homeAndSearchPages();
    void locationOfTheCurrentPage();
    void unreachableAddressStillCompletes();
    void failedLoadShowsOurErrorPage_data();
    void failedLoadShowsOurErrorPage();
    void refreshOnTheErrorPageTriesAgain();
    void stoppedLoadEndsOnlyTheDownload();
    void pageMessageGoesWithItsPage();
    void backgroundIsTheWindowColour_data();
    void backgroundIsTheWindowColour();
    void elementValueIsSetExactly_data();
    void elementValueIsSetExactly();
    void bodyHtmlIsSetExactly_data();
    void bodyHtmlIsSetExactly();
    void clickSubmitsTheForm();
    void missingElementsAreLeftAlone();

private:
    QString evaluate(const QString &script)
    {
        return WebWait::evaluate(m_view->page(), script).toString();
    }

    LocalHttpServer m_server;
    std::unique_ptr<WebProfile> m_profile;
    std::unique_ptr<WebView> m_view;
};

void TestWebView::initTestCase()
{
    QVERIFY(m_server.start());
    m_server.setPage("/form", FormPage);
    m_profile = std::make_unique<WebProfile>();
}

void TestWebView::init()
{
    m_view = std::make_unique<WebView>(*m_profile);
    m_view->resize(400, 300);
    m_view->show();
    m_server.requests.clear();
}

void TestWebView::cleanup()
{
    m_view.reset();
}

void TestWebView::cleanupTestCase()
{
    m_profile.reset();
}

void TestWebView::completesWithTheAddress_data()
{
    QTest::addColumn<QString>("path"); // empty: "about:blank"
    QTest::newRow("about:blank") << QString();
    QTest::newRow("served page") << "/dreams/snake.html";
}

void TestWebView::completesWithTheAddress()
{
    QFETCH(QString, path);
    const QString address = path.isEmpty() ? QStringLiteral("about:blank") : m_server.url(path);
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    QSignalSpy downloads(m_view.get(), &WebView::DownloadComplete);
    m_view->Navigate(address);
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(documents.first().first().toString(), address);
    QCOMPARE(downloads.size(), 1);
    // Ready for the document operations as soon as it is reported.
    QCOMPARE(evaluate("document.readyState"), QString("complete"));
    QCOMPARE(evaluate("document.body ? 'body' : 'none'"), QString("body"));
    if (!path.isEmpty())
        QCOMPARE(m_server.requests, QStringList { path });
    // Reported once: a second report would come before the next document's.
    const QString next = m_server.url("/next");
    m_view->Navigate(next);
    QVERIFY(WebWait::documents(documents, 2));
    QCOMPARE(documents.size(), 2);
    QCOMPARE(documents.at(1).first().toString(), next);
}

void TestWebView::plainTextIsTakenAsTyped_data()
{
    QTest::addColumn<QString>("typed"); // %1 is the server's port
    QTest::addColumn<QString>("expectedRequest");
    QTest::newRow("host and path") << "127.0.0.1:%1/plain"
                                   << "/plain";
    QTest::newRow("surrounding spaces") << "  127.0.0.1:%1/padded  "
                                        << "/padded";
    QTest::newRow("space inside") << "127.0.0.1:%1/two words"
                                  << "/two%20words";
    QTest::newRow("full address") << "http://127.0.0.1:%1/full?q=1"
                                  << "/full?q=1";
}

void TestWebView::plainTextIsTakenAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, expectedRequest);
    const QString port = m_server.baseUrl().section(QLatin1Char(':'), -1);
    typed = typed.arg(port);
    const QString completed = WebWait::navigate(*m_view, typed);
    QCOMPARE(completed, QUrl::fromUserInput(typed).toString());
    QCOMPARE(m_server.requests, QStringList { expectedRequest });
}

void TestWebView::scriptAddressesAreRefused_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "javascript:document.title='pwned'";
    QTest::newRow("upper case") << "JAVASCRIPT:document.title='pwned'";
    QTest::newRow("mixed case") << "JavaScript:document.title='pwned'";
    QTest::newRow("leading spaces") << "   javascript:document.title='pwned'";
    QTest::newRow("leading tab and line break") << "\t\njavascript:document.title='pwned'";
    QTest::newRow("void") << "javascript:void(document.title='pwned')";
}

void TestWebView::scriptAddressesAreRefused()
{
    QFETCH(QString, address);
    QVERIFY(WebView::isScriptAddress(address));
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    QSignalSpy started(m_view.get(), &QWebEngineView::loadStarted);
    m_view->Navigate(address);
    // Scripts run in order: had the address been handed over, the title would have changed
    // before this one reads it.
    QCOMPARE(evaluate("document.title"), QString("Form"));
    QCOMPARE(started.size(), 0);
    QCOMPARE(m_view->LocationURL(), m_server.url("/form"));
}

void TestWebView::commandsOnAnEmptyViewAreHarmless_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : { "GoBack", "GoForward", "Refresh", "GoHome", "GoSearch", "Stop" })
        QTest::newRow(command) << command;
}

void TestWebView::commandsOnAnEmptyViewAreHarmless()
{
    QFETCH(QString, command);
    QSignalSpy started(m_view.get(), &QWebEngineView::loadStarted);
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    if (command == "GoBack")
        m_view->GoBack();
    else if (command == "GoForward")
        m_view->GoForward();
    else if (command == "Refresh")
        m_view->Refresh();
    else if (command == "GoHome")
        m_view->GoHome();
    else if (command == "GoSearch")
        m_view->GoSearch();
    else
        m_view->Stop();
    // A navigation shows in the requested address once asked for, however it was queued.
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(m_view->page()->requestedUrl(), QUrl());
    QCOMPARE(m_view->history()->count(), 0);
    QCOMPARE(documents.size(), 0);
    QCOMPARE(m_view->LocationURL(), QString());
    QCOMPARE(m_server.requests, QStringList { "/elsewhere" });
    // Still fit for work.
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/after")), m_server.url("/after"));
}

void TestWebView::historyMovesBackAndForward()
{
    const QString first = m_server.url("/first");
    const QString second = m_server.url("/second");
    QCOMPARE(WebWait::navigate(*m_view, first), first);
    QCOMPARE(WebWait::navigate(*m_view, second), second);

    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->GoBack();
    QVERIFY(WebWait::documents(documents, 1));
    QCOMPARE(documents.last().first().toString(), first);
    QCOMPARE(m_view->LocationName(), QString("/first"));

    // At the start of the history a further step back does nothing.
    m_view->GoBack();
    m_view->GoForward();
    QVERIFY(WebWait::documents(documents, 2));
    QCOMPARE(documents.last().first().toString(), second);
    // A step through the history moves the current entry at once, before any page comes.
    QCOMPARE(m_view->history()->currentItemIndex(), 1);
    m_view->GoForward();
    QCOMPARE(m_view->history()->currentItemIndex(), 1);
    QCOMPARE(m_view->LocationURL(), second);

    m_server.requests.clear();
    m_view->Refresh();
    QVERIFY(WebWait::documents(documents, 3));
    QCOMPARE(documents.size(), 3);
    QCOMPARE(documents.last().first().toString(), second);
    QCOMPARE(m_server.requests, QStringList { "/second" });
}

void TestWebView::homeAndSearchPages()
{
    m_view->setHomePage(m_server.url("/home"));
    m_view->setSearchPage(m_server.url("/search"));
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->GoHome();
    QVERIFY(WebWait::documents(documents, 1));
    m_view->GoSearch();
    QVERIFY(WebWait::documents(documents, 2));
    QCOMPARE(m_server.requests, QStringList({ "/home", "/search" }));
}

void TestWebView::locationOfTheCurrentPage()
{
    m_server.setPage("/titled", LocalHttpServer::titledPage("Dreams of the \"sea\" & sky"));
    const QString address = m_server.url("/titled");
    QCOMPARE(WebWait::navigate(*m_view, address), address);
    QCOMPARE(m_view->LocationName(), QString("Dreams of the \"sea\" & sky"));
    QCOMPARE(m_view->LocationURL(), address);
}

void TestWebView::unreachableAddressStillCompletes()
{
    const QString address = QStringLiteral("http://127.0.0.1:%1/gone").arg(closedPort());
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    QSignalSpy downloads(m_view.get(), &WebView::DownloadComplete);
    m_view->Navigate(address);
    QVERIFY(WebWait::documents(documents));
    // The document is our error page, standing for the address.
    QVERIFY(documents.first().first().toString().startsWith("qrc:/dreams/error.html?"));
    QCOMPARE(m_view->LocationURL(), address);
    QCOMPARE(downloads.size(), 1);
    // Reported once: a second report would come before the next document's.
    const QString next = m_server.url("/next");
    m_view->Navigate(next);
    QVERIFY(WebWait::documents(documents, 2));
    QCOMPARE(documents.size(), 2);
    QCOMPARE(documents.at(1).first().toString(), next);
}

void TestWebView::failedLoadShowsOurErrorPage_data()
{
    // %1 stands for the server's address, %2 for a port nobody listens on.
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("why"); // the error page's query after the address
    QTest::newRow("connection refused") << "http://127.0.0.1:%2/gone"
                                        << "reason=refused";
    QTest::newRow("no such host") << "http://nowhere.invalid/dreams/owl.html"
                                  << "reason=host";
    QTest::newRow("not found") << "%1/missing?q=a+b&c=d"
                               << "reason=status&status=404";
    QTest::newRow("server error") << "%1/broken"
                                  << "reason=status&status=500";
}

void TestWebView::failedLoadShowsOurErrorPage()
{
    QFETCH(QString, address);
    QFETCH(QString, why);
    address.replace("%1", m_server.baseUrl()).replace("%2", QString::number(closedPort()));
    m_server.setReply("/missing", "404 Not Found", {}, LocalHttpServer::titledPage("Lost"));
    m_server.setReply(
        "/broken", "500 Internal Server Error", {}, LocalHttpServer::titledPage("Broken"));
    const QString before = m_server.url("/before");
    QCOMPARE(WebWait::navigate(*m_view, before), before);

    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->Navigate(address);
    QVERIFY(WebWait::documents(documents));
    QVERIFY(WebWait::until([&] { return !m_view->page()->isLoading(); }));
    // Our page, standing for the address: one document.
    QCOMPARE(documents.size(), 1);
    const QUrl shown = m_view->page()->url();
    QCOMPARE(documents.first().first().toString(), shown.toString());
    QCOMPARE(m_view->LocationURL(), address);
    QCOMPARE(shown.scheme() + ':' + shown.path(), QString("qrc:/dreams/error.html"));
    QCOMPARE(shown.query(QUrl::FullyEncoded).section('&', 1), why);
    QCOMPARE(WebWait::evaluate(m_view->page(), "document.getElementById('address').textContent")
                 .toString(),
        address);
    QCOMPARE(m_view->LocationName(), QString("Page not opened"));

    // In the failed page's place: Back returns to the page before it.
    QCOMPARE(m_view->history()->count(), 2);
    m_view->GoBack();
    QVERIFY(WebWait::documents(documents, 2));
    QCOMPARE(documents.last().first().toString(), before);
    QCOMPARE(m_view->LocationURL(), before);
}

void TestWebView::refreshOnTheErrorPageTriesAgain()
{
    m_server.setReply("/flaky", "503 Service Unavailable", {}, LocalHttpServer::titledPage("Busy"));
    const QString before = m_server.url("/before");
    const QString flaky = m_server.url("/flaky");
    QCOMPARE(WebWait::navigate(*m_view, before), before);
    QVERIFY(WebWait::navigate(*m_view, flaky).startsWith("qrc:/dreams/error.html?"));

    m_server.setPage("/flaky", LocalHttpServer::titledPage("Back again"));
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->Refresh();
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(m_view->page()->url(), QUrl(flaky));
    QCOMPARE(m_view->LocationName(), QString("Back again"));
    QCOMPARE(m_view->history()->count(), 2);
    QCOMPARE(m_server.requestsFor("/flaky").size(), 2);
}

void TestWebView::stoppedLoadEndsOnlyTheDownload()
{
    // Accepts the connection and never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    QSignalSpy downloads(m_view.get(), &WebView::DownloadComplete);
    m_view->Navigate(QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort()));
    QVERIFY(WebWait::until([&] { return silent.hasPendingConnections(); }, 10000));
    m_view->Stop();
    QVERIFY(WebWait::until([&] { return downloads.size() == 1; }, 10000));
    // No document for the stopped load: the next one reported is the next page's.
    const QString next = m_server.url("/next");
    m_view->Navigate(next);
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(documents.size(), 1);
    QCOMPARE(documents.first().first().toString(), next);
}

void TestWebView::elementValueIsSetExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("double quotes") << "query"
                                   << "say \"snake\"";
    QTest::newRow("single quotes") << "QUERY"
                                   << "it's a snake's 'dream'";
    QTest::newRow("backslashes") << "Query"
                                 << "C:\\dreams\\new \\\" \\u0041 \\";
    QTest::newRow("script end tag") << "query"
                                    << "</script><script>document.title='pwned'</script>";
    QTest::newRow("line breaks") << "query"
                                 << "one\r\ntwo\nthree\rfour";
    QTest::newRow("line separators")
        << "query" << QString("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c";
    QTest::newRow("breaking out") << "query"
                                  << "\"]);document.title='pwned';//";
    QTest::newRow("template text") << "query"
                                   << "`${document.title='pwned'}`";
    QTest::newRow("non-ASCII") << "query" << QString::fromUtf8("Schlange \xf0\x9f\x90\x8d 蛇");
    QTest::newRow("empty") << "query" << QString();
}

void TestWebView::elementValueIsSetExactly()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    m_view->setElementValue(name, value);
    QCOMPARE(evaluate("document.getElementsByName('Query')[0].value"), value);
    QCOMPARE(evaluate("document.title"), QString("Form"));
}

void TestWebView::bodyHtmlIsSetExactly_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("quotes") << "<p class=\"a\">\"double\" and 'single'</p>";
    QTest::newRow("backslashes") << "<p>C:\\dreams\\ and \\\" and \\u0041 and \\</p>";
    QTest::newRow("script end tag in a comment")
        << "<!--</script><script>document.title='pwned'</script>-->";
    QTest::newRow("line breaks") << "<p>one\ntwo</p>\n<p>three</p>";
    QTest::newRow("line separators")
        << QString("<p>a") + QChar(0x2028) + "b" + QChar(0x2029) + "c</p>";
    QTest::newRow("inert script") << "<script>document.title = \"pwned\";</script>";
    QTest::newRow("breaking out") << "\"]);document.title='pwned';//";
}

void TestWebView::bodyHtmlIsSetExactly()
{
    QFETCH(QString, html);
    QCOMPARE(WebWait::navigate(*m_view, "about:blank"), QString("about:blank"));
    m_view->setBodyInnerHtml(html);
    QCOMPARE(evaluate("document.body.innerHTML"), html);
    QCOMPARE(evaluate("document.title"), QString());
}

void TestWebView::clickSubmitsTheForm()
{
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->setElementValue("QUERY", "snake & moon");
    m_view->clickElement("go");
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(m_server.requestsFor("/submitted"),
        QStringList { "/submitted?Query=snake+%26+moon&Go=Go" });
}

void TestWebView::missingElementsAreLeftAlone()
{
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    QSignalSpy started(m_view.get(), &QWebEngineView::loadStarted);
    evaluate("window.clicks = 0; document.addEventListener('click', () => ++window.clicks, true);");
    m_view->setElementValue("nothing", "value");
    m_view->clickElement("nothing");
    // Scripts run in turn: a click, and with it a submission, would have happened by now.
    QCOMPARE(evaluate("String(window.clicks)"), QString("0"));
    QCOMPARE(evaluate("document.getElementsByName('Query')[0].value"), QString());
    const QString sentinel = WebWait::sentinel(m_view->page(), m_server);
    QVERIFY(!sentinel.isEmpty());
    QCOMPARE(started.size(), 0);
    QCOMPARE(m_server.requests, QStringList({ "/form", sentinel }));
}

void TestWebView::pageMessageGoesWithItsPage()
{
    m_server.setPage("/alerting",
        "<!DOCTYPE html><title>Alerting</title>"
        "<script>alert('Dream on');</script><p>Alerting</p>");
    QSignalSpy messages(m_view->webPage(), &WebPage::message);
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/alerting")), m_server.url("/alerting"));
    QVERIFY(WebWait::until([&] { return !messages.isEmpty(); }));
    QVERIFY(m_view->lblMessage->isVisible());
    QVERIFY(m_view->lblMessage->text().endsWith("Dream on"));
    QCOMPARE(m_view->lblMessage->width(), m_view->width());
    // A click puts it away.
    QTest::mouseClick(m_view->lblMessage, Qt::LeftButton);
    QVERIFY(!m_view->lblMessage->isVisible());

    // The refreshed page ends after its alert; the next page is asked for only then, so that
    // its completion is not taken for the refresh's.
    QSignalSpy refreshed(m_view.get(), &WebView::DocumentComplete);
    m_view->Refresh();
    QVERIFY(WebWait::documents(refreshed));
    QVERIFY(WebWait::until([&] { return messages.size() == 2; }));
    QVERIFY(m_view->lblMessage->isVisible());
    // The next page does not inherit it.
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/quiet")), m_server.url("/quiet"));
    QVERIFY(!m_view->lblMessage->isVisible());
}

void TestWebView::backgroundIsTheWindowColour_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("changedLater"); // the scheme changes while the view is up
    QTest::newRow("light") << QColor(239, 239, 239) << false;
    QTest::newRow("dark") << QColor(45, 45, 48) << false;
    QTest::newRow("dark, switched to") << QColor(45, 45, 48) << true;
}

void TestWebView::backgroundIsTheWindowColour()
{
    QFETCH(QColor, window);
    QFETCH(bool, changedLater);
    const QPalette original = QApplication::palette();
    QPalette scheme = original;
    scheme.setColor(QPalette::Window, window);
    if (!changedLater)
        QApplication::setPalette(scheme);
    // Before any page: what shows until the first one arrives.
    WebView view(*m_profile);
    if (changedLater) {
        QCOMPARE(view.page()->backgroundColor(), original.color(QPalette::Window));
        QApplication::setPalette(scheme);
        // The new palette reaches the widgets through the event loop.
        WebWait::until([&] { return view.page()->backgroundColor() == window; });
    }
    const QColor painted = view.page()->backgroundColor();
    QApplication::setPalette(original);
    QCOMPARE(painted, window);
    QVERIFY(view.history()->count() == 0);
}

QTEST_MAIN(TestWebView)
#include "tst_webview.moc"
