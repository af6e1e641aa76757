// The rules the panes apply to addresses, all pure: which addresses they may show, what a page
// may fetch, why a load failed, and the addresses of the bundled pages.
#include "BundledPages.h"
#include "LoadFailure.h"
#include "NavigationPolicy.h"

#include <QtTest>

namespace {
const QString Web = QStringLiteral("https://dreams.example.org/moon");
const QString Bundled = QStringLiteral("qrc:/dreams/snake.html");

// Addresses the program itself asks a pane for.
void navigationFromTheProgram()
{
    QTest::newRow("program: http") << "http://dreams.example.org/"
                                   << "" << true;
    QTest::newRow("program: https") << Web << "" << true;
    QTest::newRow("program: upper-case scheme") << "HTTPS://dreams.example.org/"
                                                << "" << true;
    QTest::newRow("program: about:blank") << "about:blank"
                                          << "" << true;
    QTest::newRow("program: bundled page") << Bundled << "" << true;
    QTest::newRow("program: bundled, three slashes") << "qrc:///dreams/snake.html"
                                                     << "" << true;
    QTest::newRow("program: start page") << "qrc:/dreams/index.html"
                                         << "" << true;
    QTest::newRow("program: other resource") << "qrc:/icons/home.svg"
                                             << "" << false;
    QTest::newRow("program: dot-dot out of dreams") << "qrc:/dreams/../icons/home.svg"
                                                    << "" << false;
    QTest::newRow("program: qrc with a host") << "qrc://dreams/snake.html"
                                              << "" << false;
    QTest::newRow("program: file") << "file:///etc/passwd"
                                   << "" << false;
    QTest::newRow("program: data") << "data:text/html,<b>hi</b>"
                                   << "" << false;
    QTest::newRow("program: javascript") << "javascript:alert(1)"
                                         << "" << false;
    QTest::newRow("program: view-source") << "view-source:https://dreams.example.org/"
                                          << "" << false;
    QTest::newRow("program: chrome") << "chrome://settings"
                                     << "" << false;
    QTest::newRow("program: blob") << "blob:https://dreams.example.org/1234"
                                   << "" << false;
    QTest::newRow("program: ftp") << "ftp://dreams.example.org/"
                                  << "" << false;
    QTest::newRow("program: mailto") << "mailto:someone@example.org"
                                     << "" << false;
    QTest::newRow("program: other about page") << "about:version"
                                               << "" << false;
    QTest::newRow("program: srcdoc") << "about:srcdoc"
                                     << "" << false;
    QTest::newRow("program: http without host") << "http:///path"
                                                << "" << false;
    QTest::newRow("program: empty") << ""
                                    << "" << false;
}

// Addresses a page already shown moves to.
void navigationFromPages()
{
    QTest::newRow("web page: web") << "https://other.example.org/" << Web << true;
    QTest::newRow("web page: about:blank") << "about:blank" << Web << true;
    QTest::newRow("web page: its own srcdoc frame") << "about:srcdoc" << Web << true;
    QTest::newRow("web page: bundled page") << Bundled << Web << false;
    QTest::newRow("web page: start page") << "qrc:/dreams/index.html" << Web << false;
    QTest::newRow("http page: bundled page") << Bundled << "http://dreams.example.org/" << false;
    QTest::newRow("web page: file") << "file:///etc/passwd" << Web << false;
    QTest::newRow("web page: data") << "data:text/html,x" << Web << false;

    QTest::newRow("bundled page: bundled page") << "qrc:/dreams/moon.html" << Bundled << true;
    QTest::newRow("bundled page: web") << Web << Bundled << true;
    QTest::newRow("bundled page: file") << "file:///etc/passwd" << Bundled << false;
    QTest::newRow("empty page: bundled page") << Bundled << "about:blank" << true;
    QTest::newRow("empty page: web") << Web << "about:blank" << true;
    QTest::newRow("file page: file") << "file:///etc/passwd"
                                     << "file:///tmp/x.html" << false;
}
} // namespace

class TestPageRules : public QObject
{
    Q_OBJECT
private slots:
    void navigation_data();
    void navigation();
    void resources_data();
    void resources();
    void failureReasons_data();
    void failureReasons();
    void errorPageCarriesTheAddressWhole_data();
    void errorPageCarriesTheAddressWhole();
    void errorPageNamesReasonAndStatus_data();
    void errorPageNamesReasonAndStatus();
    void failedAddressOnlyFromTheErrorPage_data();
    void failedAddressOnlyFromTheErrorPage();
    void placeholderSites_data();
    void placeholderSites();
};

void TestPageRules::navigation_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("from"); // empty: the program itself
    QTest::addColumn<bool>("allowed");
    navigationFromTheProgram();
    navigationFromPages();
}

void TestPageRules::navigation()
{
    QFETCH(QString, target);
    QFETCH(QString, from);
    QTEST(NavigationPolicy::allows(QUrl(target), QUrl(from)), "allowed");
}

void TestPageRules::resources_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("web page: web image") << "https://cdn.example.org/a.png" << Web << true;
    QTest::newRow("web page: data image") << "data:image/png;base64,AAAA" << Web << true;
    QTest::newRow("web page: web socket") << "wss://dreams.example.org/live" << Web << true;
    QTest::newRow("web page: bundled style") << "qrc:/dreams/style.css" << Web << false;
    QTest::newRow("web page: bundled page in a frame") << Bundled << Web << false;
    QTest::newRow("web page: other resource") << "qrc:/icons/home.svg" << Web << false;
    QTest::newRow("web page: file") << "file:///etc/passwd" << Web << false;
    QTest::newRow("bundled page: its style") << "qrc:/dreams/style.css"
                                             << "qrc:" << true;
    QTest::newRow("bundled page: other resource") << "qrc:/icons/home.svg"
                                                  << "qrc:" << false;
    QTest::newRow("bundled page: file") << "file:///etc/passwd"
                                        << "qrc:" << false;
    QTest::newRow("file page: file") << "file:///etc/passwd"
                                     << "file:///tmp/x.html" << false;
    QTest::newRow("file page: same folder") << "file:///tmp/secret.txt"
                                            << "file:///tmp/x.html" << false;
}

void TestPageRules::resources()
{
    QFETCH(QString, target);
    QFETCH(QString, from);
    QTEST(NavigationPolicy::allowsResource(QUrl(target), QUrl(from)), "allowed");
}

void TestPageRules::failureReasons_data()
{
    QTest::addColumn<int>("domain");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("reason");
    using D = QWebEngineLoadingInfo;
    using R = LoadFailure::Reason;
    QTest::newRow("succeeded") << int(D::NoErrorDomain) << 0 << int(R::None);
    QTest::newRow("status 200") << int(D::HttpStatusCodeDomain) << 200 << int(R::None);
    QTest::newRow("status 304") << int(D::HttpStatusCodeDomain) << 304 << int(R::None);
    QTest::newRow("status 404") << int(D::HttpStatusCodeDomain) << 404 << int(R::Status);
    QTest::newRow("status 500") << int(D::HttpStatusCodeDomain) << 500 << int(R::Status);
    QTest::newRow("aborted") << int(D::InternalErrorDomain) << -3 << int(R::None);
    QTest::newRow("blocked by the program") << int(D::InternalErrorDomain) << -20 << int(R::None);
    QTest::newRow("name not resolved") << int(D::ConnectionErrorDomain) << -105 << int(R::Host);
    QTest::newRow("name resolution failed")
        << int(D::ConnectionErrorDomain) << -137 << int(R::Host);
    QTest::newRow("dns domain") << int(D::DnsErrorDomain) << -800 << int(R::Host);
    QTest::newRow("refused") << int(D::ConnectionErrorDomain) << -102 << int(R::Refused);
    QTest::newRow("reset") << int(D::ConnectionErrorDomain) << -101 << int(R::Refused);
    QTest::newRow("empty response") << int(D::HttpErrorDomain) << -324 << int(R::Refused);
    QTest::newRow("timed out") << int(D::InternalErrorDomain) << -7 << int(R::Timeout);
    QTest::newRow("connection timed out")
        << int(D::ConnectionErrorDomain) << -118 << int(R::Timeout);
    QTest::newRow("disconnected") << int(D::ConnectionErrorDomain) << -106 << int(R::Offline);
    QTest::newRow("unreachable") << int(D::ConnectionErrorDomain) << -109 << int(R::Offline);
    QTest::newRow("certificate domain")
        << int(D::CertificateErrorDomain) << -202 << int(R::Certificate);
    QTest::newRow("certificate code") << int(D::InternalErrorDomain) << -201 << int(R::Certificate);
    QTest::newRow("unsafe redirect") << int(D::HttpErrorDomain) << -311 << int(R::Unknown);
    QTest::newRow("unsafe port") << int(D::HttpErrorDomain) << -312 << int(R::Unknown);
}

void TestPageRules::failureReasons()
{
    QFETCH(int, domain);
    QFETCH(int, code);
    QTEST(int(LoadFailure::classify(QWebEngineLoadingInfo::ErrorDomain(domain), code)), "reason");
}

void TestPageRules::errorPageCarriesTheAddressWhole_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "http://nowhere.example/";
    QTest::newRow("query with & + = #") << "https://dreams.example.org/find?q=a+b&x=1%202#part";
    QTest::newRow("letters beyond ASCII") << "http://b\u00fccher.example/tr\u00e4ume";
    QTest::newRow("markup") << "http://dreams.example.org/<img src=x onerror=alert(1)>";
    QTest::newRow("percent signs") << "http://dreams.example.org/100%25";
}

void TestPageRules::errorPageCarriesTheAddressWhole()
{
    QFETCH(QString, address);
    const QUrl failed(address);
    const QUrl page = BundledPages::errorPage(failed, LoadFailure::Reason::Host);
    QVERIFY(NavigationPolicy::isBundledPage(page));
    QCOMPARE(page.path(), QString("/dreams/error.html"));
    QCOMPARE(BundledPages::failedAddress(page), failed);
    // Through its text form too, as it comes back from the engine.
    QCOMPARE(BundledPages::failedAddress(QUrl(page.toString(QUrl::FullyEncoded))), failed);
}

void TestPageRules::errorPageNamesReasonAndStatus_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("query");
    using R = LoadFailure::Reason;
    const QString url = QStringLiteral("url=http%3A%2F%2Fnowhere.example%2F");
    QTest::newRow("host") << int(R::Host) << 0 << url + "&reason=host";
    QTest::newRow("refused") << int(R::Refused) << 0 << url + "&reason=refused";
    QTest::newRow("timeout") << int(R::Timeout) << 0 << url + "&reason=timeout";
    QTest::newRow("offline") << int(R::Offline) << 0 << url + "&reason=offline";
    QTest::newRow("certificate") << int(R::Certificate) << 0 << url + "&reason=certificate";
    QTest::newRow("status") << int(R::Status) << 404 << url + "&reason=status&status=404";
    QTest::newRow("unknown: no reason") << int(R::Unknown) << 0 << url;
    QTest::newRow("status only with its reason")
        << int(R::Refused) << 503 << url + "&reason=refused";
}

void TestPageRules::errorPageNamesReasonAndStatus()
{
    QFETCH(int, reason);
    QFETCH(int, status);
    const QUrl page = BundledPages::errorPage(
        QUrl("http://nowhere.example/"), LoadFailure::Reason(reason), status);
    QTEST(page.query(QUrl::FullyEncoded), "query");
}

void TestPageRules::failedAddressOnlyFromTheErrorPage_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("failed");
    QTest::newRow("error page") << "qrc:/dreams/error.html?url=http%3A%2F%2Fa.example%2F"
                                << "http://a.example/";
    QTest::newRow("error page without an address") << "qrc:/dreams/error.html"
                                                   << "";
    QTest::newRow("another bundled page") << "qrc:/dreams/snake.html?url=http%3A%2F%2Fa.example"
                                          << "";
    QTest::newRow("a web page named alike")
        << "http://evil.example/dreams/error.html?url=http%3A%2F%2Fa.example"
        << "";
}

void TestPageRules::failedAddressOnlyFromTheErrorPage()
{
    QFETCH(QString, shown);
    QFETCH(QString, failed);
    QCOMPARE(BundledPages::failedAddress(QUrl(shown)), QUrl(failed));
}

void TestPageRules::placeholderSites_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("placeholder");
    QTest::newRow("built-in default") << "https://www.somnilex.example" << true;
    QTest::newRow("upper case") << "https://WWW.SOMNILEX.EXAMPLE" << true;
    QTest::newRow("fully qualified") << "https://www.somnilex.example." << true;
    QTest::newRow("bare example") << "http://example" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("no host") << "somnilex" << true;
    QTest::newRow("real site") << "https://www.somnilex.org" << false;
    QTest::newRow("example.com is real") << "https://example.com" << false;
    QTest::newRow("example inside a name") << "https://example.somnilex.org" << false;
    QTest::newRow("ends in example, not the domain") << "https://myexample" << false;
    QTest::newRow("local server") << "http://127.0.0.1:8080" << false;
}

void TestPageRules::placeholderSites()
{
    QFETCH(QString, address);
    QTEST(BundledPages::isPlaceholderSite(address), "placeholder");
}

QTEST_GUILESS_MAIN(TestPageRules)
#include "tst_pagerules.moc"
