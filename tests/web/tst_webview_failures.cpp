// Loads that fail or are stopped: our error page in the failed page's place, and the
// completion signals that still come.
#include "WebViewFixture.h"

#include <QTcpServer>

class TestWebViewFailures : public QObject, private WebViewFixture
{
    Q_OBJECT
public:
    using WebViewFixture::initMain;

private slots:
    void initTestCase() { startUp(); }
    void init() { openView(); }
    void cleanup() { closeView(); }
    void cleanupTestCase() { finish(); }

    void unreachableAddressStillCompletes();
    void failedLoadShowsOurErrorPage_data();
    void failedLoadShowsOurErrorPage();
    void refreshOnTheErrorPageTriesAgain();
    void stoppedLoadEndsOnlyTheDownload();
};

void TestWebViewFailures::unreachableAddressStillCompletes()
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

void TestWebViewFailures::failedLoadShowsOurErrorPage_data()
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

void TestWebViewFailures::failedLoadShowsOurErrorPage()
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

void TestWebViewFailures::refreshOnTheErrorPageTriesAgain()
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

void TestWebViewFailures::stoppedLoadEndsOnlyTheDownload()
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

QTEST_MAIN(TestWebViewFailures)
#include "tst_webview_failures.moc"
