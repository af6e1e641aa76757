// Where the view goes: the address it is given, its history, and its home and search pages.
#include "WebViewFixture.h"

class TestWebView : public QObject, private WebViewFixture
{
    Q_OBJECT
public:
    using WebViewFixture::initMain;

private slots:
    void initTestCase() { startUp(); }
    void init() { openView(); }
    void cleanup() { closeView(); }
    void cleanupTestCase() { finish(); }

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
};

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

QTEST_MAIN(TestWebView)
#include "tst_webview.moc"
