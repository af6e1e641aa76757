// What the view does to and shows of the page in it: values and markup set exactly, clicks,
// the page's messages and the background before any page.
#include "WebViewFixture.h"

#include <QApplication>
#include <QLabel>

class TestWebViewDocument : public QObject, private WebViewFixture
{
    Q_OBJECT
public:
    using WebViewFixture::initMain;

private slots:
    void initTestCase() { startUp(); }
    void init() { openView(); }
    void cleanup() { closeView(); }
    void cleanupTestCase() { finish(); }

    void pageMessageGoesWithItsPage();
    void backgroundIsTheWindowColour_data();
    void backgroundIsTheWindowColour();
    void elementValueIsSetExactly_data();
    void elementValueIsSetExactly();
    void bodyHtmlIsSetExactly_data();
    void bodyHtmlIsSetExactly();
    void clickSubmitsTheForm();
    void missingElementsAreLeftAlone();
};

void TestWebViewDocument::elementValueIsSetExactly_data()
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

void TestWebViewDocument::elementValueIsSetExactly()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    m_view->setElementValue(name, value);
    QCOMPARE(evaluate("document.getElementsByName('Query')[0].value"), value);
    QCOMPARE(evaluate("document.title"), QString("Form"));
}

void TestWebViewDocument::bodyHtmlIsSetExactly_data()
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

void TestWebViewDocument::bodyHtmlIsSetExactly()
{
    QFETCH(QString, html);
    QCOMPARE(WebWait::navigate(*m_view, "about:blank"), QString("about:blank"));
    m_view->setBodyInnerHtml(html);
    QCOMPARE(evaluate("document.body.innerHTML"), html);
    QCOMPARE(evaluate("document.title"), QString());
}

void TestWebViewDocument::clickSubmitsTheForm()
{
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/form")), m_server.url("/form"));
    QSignalSpy documents(m_view.get(), &WebView::DocumentComplete);
    m_view->setElementValue("QUERY", "snake & moon");
    m_view->clickElement("go");
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(m_server.requestsFor("/submitted"),
        QStringList { "/submitted?Query=snake+%26+moon&Go=Go" });
}

void TestWebViewDocument::missingElementsAreLeftAlone()
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

void TestWebViewDocument::pageMessageGoesWithItsPage()
{
    m_server.setPage("/alerting",
        "<!DOCTYPE html><title>Alerting</title>"
        "<script>alert('Dream on');</script><p>Alerting</p>");
    QSignalSpy messages(m_view->webPage(), &WebPage::message);
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/alerting")), m_server.url("/alerting"));
    QVERIFY(WebWait::until([&] { return !messages.isEmpty(); }));
    QVERIFY(m_view->message()->isVisible());
    QVERIFY(m_view->message()->text().endsWith("Dream on"));
    QCOMPARE(m_view->message()->width(), m_view->width());
    // A click puts it away.
    QTest::mouseClick(m_view->message(), Qt::LeftButton);
    QVERIFY(!m_view->message()->isVisible());

    // The refreshed page ends after its alert; the next page is asked for only then, so that
    // its completion is not taken for the refresh's.
    QSignalSpy refreshed(m_view.get(), &WebView::DocumentComplete);
    m_view->Refresh();
    QVERIFY(WebWait::documents(refreshed));
    QVERIFY(WebWait::until([&] { return messages.size() == 2; }));
    QVERIFY(m_view->message()->isVisible());
    // The next page does not inherit it.
    QCOMPARE(WebWait::navigate(*m_view, m_server.url("/quiet")), m_server.url("/quiet"));
    QVERIFY(!m_view->message()->isVisible());
}

void TestWebViewDocument::backgroundIsTheWindowColour_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("changedLater"); // the scheme changes while the view is up
    QTest::newRow("light") << QColor(239, 239, 239) << false;
    QTest::newRow("dark") << QColor(45, 45, 48) << false;
    QTest::newRow("dark, switched to") << QColor(45, 45, 48) << true;
}

void TestWebViewDocument::backgroundIsTheWindowColour()
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

QTEST_MAIN(TestWebViewDocument)
#include "tst_webview_document.moc"
